#include "simulation/forces.h"

#include <cmath>

PairParameters combineSpecies(const SpeciesTable& table, int a, int b) {
    PairParameters pair{};
    pair.sigma = stored((Wide(table.sigma[a]) + table.sigma[b]) * 0.5);
    const double epsilon = std::sqrt(stored(Wide(table.epsilon[a]) * table.epsilon[b]));
    pair.forceScale = Wide(4.0) * epsilon * (Wide(1.0) / pair.sigma);
    pair.energyScale = Wide(4.0) * epsilon;
    return pair;
}

double minimumImage(double d, double edge) {
    return stored(d - Wide(roundHalfAway(stored(Wide(d) / edge))) * edge);
}

double pairDerivative(double s, const PairParameters& pair) {
    // The repulsive term is kept as a double before the attractive one joins it.
    const double repulsion = stored(Wide(-12.0) * std::pow(s, 13.0));
    return stored((Wide(6.0) * std::pow(s, 7.0) + repulsion) * pair.forceScale);
}

Wide pairEnergy(double s, const PairParameters& pair) {
    const double s12 = std::pow(s, 12.0);
    return (Wide(s12) - std::pow(s, 6.0)) * pair.energyScale;
}

double computeForces(ParticleState& state, const SpeciesTable& table, const Cell& cell,
                     const RunParameters& params) {
    PairParameters pairs[kSpeciesCount][kSpeciesCount];
    for (int a = 0; a < kSpeciesCount; ++a) {
        for (int b = 0; b < kSpeciesCount; ++b) {
            pairs[a][b] = combineSpecies(table, a, b);
        }
    }

    state.fx.fill(0.0);
    state.fy.fill(0.0);
    state.fz.fill(0.0);
    double energy = 0.0;  // J

    for (int j = 0; j < kAtomCount; ++j) {
        for (int k = 0; k < j; ++k) {
            // Separation from atom j to atom k, Å.
            const double dx = minimumImage(stored(Wide(state.x[k]) - state.x[j]), cell.Lx);
            const double dy = minimumImage(stored(Wide(state.y[k]) - state.y[j]), cell.Ly);
            const double dz = minimumImage(stored(Wide(state.z[k]) - state.z[j]), cell.Lz);
            const double r = std::sqrt(stored(Wide(dx) * dx + Wide(dy) * dy + Wide(dz) * dz));
            const PairParameters& pair = pairs[state.species[j]][state.species[k]];
            const double s = stored(Wide(pair.sigma) / r);

            if (r < params.cutoff) {
                // H < 0 below the potential minimum: atom j is pushed away from atom k.
                const double h = pairDerivative(s, pair);
                state.fx[j] = stored(state.fx[j] + Wide(h) * dx / r);
                state.fy[j] = stored(state.fy[j] + Wide(h) * dy / r);
                state.fz[j] = stored(state.fz[j] + Wide(h) * dz / r);
                state.fx[k] = stored(state.fx[k] - Wide(h) * dx / r);
                state.fy[k] = stored(state.fy[k] - Wide(h) * dy / r);
                state.fz[k] = stored(state.fz[k] - Wide(h) * dz / r);
            }
            energy = stored(energy + pairEnergy(s, pair));
        }
    }
    return energy;
}

double normalisePotential(double energy, const RunParameters& params) {
    return stored(Wide(energy) * params.avogadro * kInverseAtomCount);
}
