#pragma once

#include <functional>

#include "simulation/run_state.h"

// Scatters the atoms through the cell from the process-wide random source, redrawing an atom
// until it is at least the minimum distance from every atom placed before it (plain coordinate
// differences, no periodic image). Each rejected draw is passed to `rejected` with the atom's
// index, as it happens.
void placeParticles(ParticleState& state, const Cell& cell, const RunParameters& params,
                    const std::function<void(int atom)>& rejected);

// Whether atom i lies closer than the minimum distance (given squared, Å²) to an atom 0..i-1.
bool overlapsEarlierAtom(const ParticleState& state, int i, double minimumSquared);
