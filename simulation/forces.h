#pragma once

#include "simulation/run_state.h"

// Lennard-Jones 12-6 forces on every atom (J/Å) from all pairs under the minimum image, one pair
// at a time from the formulas of pair_formulas.h. Forces are cut off at `params.cutoff` without
// a shift; the potential energy is summed over every pair with no cutoff. Returns that sum, J.
double computeForces(ParticleState& state, const SpeciesTable& table, const Cell& cell,
                     const RunParameters& params);

// Raw potential-energy sum (J) to J/mol per atom.
double normalisePotential(double energy, const RunParameters& params);
