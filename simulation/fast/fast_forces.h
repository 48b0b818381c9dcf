#pragma once

#include "simulation/run_state.h"

// The force kernel of the program: the same forces and potential energy as computeForces of
// forces.h, bit for bit, formed a quantity at a time over all pairs in vector loops.
namespace fast {

// What computeForces adds up besides the forces.
enum class PotentialEnergy {
    summed,     // returned, J
    notNeeded,  // neither formed nor summed (NaN is returned): the run reports it on sampled
                // steps only, and the forces do not depend on it
};

// Where its vector loops run: compiled for processors with AVX-512, or with AVX2 and FMA, or for
// the build's target; all give the same bits. `best` takes the widest this processor has.
enum class VectorUnits { best, avx2, portable };

double computeForces(ParticleState& state, const SpeciesTable& table, const Cell& cell,
                     const RunParameters& params, PotentialEnergy energy = PotentialEnergy::summed,
                     VectorUnits units = VectorUnits::best);

}  // namespace fast
