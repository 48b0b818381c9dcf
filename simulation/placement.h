#pragma once

#include "report/line_sink.h"
#include "simulation/run_state.h"

// Scatters the atoms through the cell from the process-wide random source, redrawing an atom
// until it is at least the minimum distance from every atom placed before it (plain coordinate
// differences, no periodic image). Prints one line per rejected draw and one when done.
void placeParticles(ParticleState& state, const Cell& cell, const RunParameters& params,
                    LineSink& console);

// Whether atom i lies closer than the minimum distance (given squared, Å²) to an atom 0..i-1.
bool overlapsEarlierAtom(const ParticleState& state, int i, double minimumSquared);
