#include "simulation/observables.h"

double meanSquaredDisplacement(const ParticleState& s, int species) {
    double sum = 0.0;  // Å²
    int count = 0;
    for (int i = 0; i < kAtomCount; ++i) {
        if (s.species[i] == species) {
            sum = stored(sum + (Wide(s.ux[i]) * s.ux[i] + Wide(s.uy[i]) * s.uy[i] +
                                Wide(s.uz[i]) * s.uz[i]));
            ++count;
        }
    }
    return stored(Wide(sum) / count);
}
