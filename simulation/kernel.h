#pragma once

// The force kernel the program runs, chosen by the build (CMake cache variable ARGON_MD_KERNEL):
// `fast` (simulation/fast/) or `reference`, the plain pair loop of forces.cpp. Both give the same
// bits.

#include "simulation/forces.h"
#include "simulation/run_state.h"

#if defined(ARGON_MD_FAST_KERNEL)
#include "simulation/fast/fast_forces.h"
#endif

// The forces of a step, and the raw potential-energy sum (J) where it is reported; the fast
// kernel forms the energy only then (NaN is returned otherwise), the plain one always.
inline double forcesOfStep(ParticleState& state, const SpeciesTable& species, const Cell& cell,
                           const RunParameters& params, bool energyReported) {
#if defined(ARGON_MD_FAST_KERNEL)
    return fast::computeForces(
        state, species, cell, params,
        energyReported ? fast::PotentialEnergy::summed : fast::PotentialEnergy::notNeeded);
#else
    static_cast<void>(energyReported);
    return computeForces(state, species, cell, params);
#endif
}
