#pragma once

#include "report/line_sink.h"
#include "simulation/run_state.h"

// Header of "position.dat": the frame layout, the cell edges, the time between frames in ps.
void writeTrajectoryHeader(LineSink& trajectory, const Cell& cell, const RunParameters& params);

// What a sampled step reports besides the positions and displacements.
struct SampleFigures {
    int step;
    double kinetic;      // J/mol per atom, measured before the velocity scaling of the step
    double potential;    // J/mol per atom, already normalised
    double temperature;  // K, measured before the velocity scaling of the step
};

// One sample: the console line, a line of "energy.dat", a frame of "position.dat" and a line
// of "msd.dat", in that order.
void writeSample(const SampleFigures& sample, const ParticleState& state,
                 const RunParameters& params, LineSink& console, LineSink& trajectory,
                 LineSink& energies, LineSink& displacement);
