#pragma once

#include "report/line_sink.h"
#include "simulation/run_state.h"

// Header of "position.dat": the frame layout, the cell edges, the time between frames in ps.
void writeTrajectoryHeader(LineSink& trajectory, const Cell& cell, const RunParameters& params);

// One sample: the console line, a line of "energy.dat", a frame of "position.dat" and a line
// of "msd.dat", in that order. Kinetic energy and temperature are those measured before the
// velocity scaling of this step; the potential energy is already per atom in J/mol.
void writeSample(int step, LineSink& console, LineSink& trajectory, LineSink& energies,
                 LineSink& displacement, const ParticleState& state, double kinetic,
                 double potential, double temperature, const RunParameters& params);
