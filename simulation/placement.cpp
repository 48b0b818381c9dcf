#include "simulation/placement.h"

#include "simulation/random_source.h"

namespace {

void drawPosition(ParticleState& state, int i, const Cell& cell) {
    const int a = randomSource.next();
    const int b = randomSource.next();
    const int c = randomSource.next();
    // A draw of 32767 puts the atom on the far face.
    state.x[i] = stored(Wide(a) * kInverseRandomMax * cell.Lx);
    state.y[i] = stored(Wide(b) * kInverseRandomMax * cell.Ly);
    state.z[i] = stored(Wide(c) * kInverseRandomMax * cell.Lz);
}

}  // namespace

bool overlapsEarlierAtom(const ParticleState& state, int i, double minimumSquared) {
    for (int j = 0; j < i; ++j) {
        const double squared =
            stored((Wide(state.x[j]) - state.x[i]) * (Wide(state.x[j]) - state.x[i]) +
                   (Wide(state.y[j]) - state.y[i]) * (Wide(state.y[j]) - state.y[i]) +
                   (Wide(state.z[j]) - state.z[i]) * (Wide(state.z[j]) - state.z[i]));
        if (minimumSquared > squared) {
            return true;
        }
    }
    return false;
}

void placeParticles(ParticleState& state, const Cell& cell, const RunParameters& params,
                    const std::function<void(int atom)>& rejected) {
    const double minimumSquared = stored(Wide(params.minimumDistance) * params.minimumDistance);
    int i = 0;
    while (i < kAtomCount) {
        drawPosition(state, i, cell);
        state.mass[i] = kArgonMass;
        state.species[i] = 0;
        state.ux[i] = 0.0;
        state.uy[i] = 0.0;
        state.uz[i] = 0.0;
        if (overlapsEarlierAtom(state, i, minimumSquared)) {
            rejected(i);
            continue;
        }
        ++i;
    }
}
