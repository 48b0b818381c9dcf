#include "simulation/observables.h"

double meanSquaredDisplacement(const ParticleState& state, int species) {
    double sum = 0.0;  // Å²
    int count = 0;
    for (int i = 0; i < kAtomCount; ++i) {
        if (state.species[i] == species) {
            sum = stored(sum + (Wide(state.ux[i]) * state.ux[i] + Wide(state.uy[i]) * state.uy[i] +
                                Wide(state.uz[i]) * state.uz[i]));
            ++count;
        }
    }
    return stored(Wide(sum) / count);
}
