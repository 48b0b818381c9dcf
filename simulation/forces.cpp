#include "simulation/forces.h"

#include <cmath>
#include <cstddef>
#include <span>

#include "simulation/powers.h"

PairParameters combineSpecies(const SpeciesTable& table, int a, int b) {
    PairParameters pair{};
    pair.sigma = stored((Wide(table.sigma[a]) + table.sigma[b]) * 0.5);
    const double epsilon = std::sqrt(stored(Wide(table.epsilon[a]) * table.epsilon[b]));
    pair.forceScale = Wide(4.0) * epsilon * (Wide(1.0) / pair.sigma);
    pair.energyScale = Wide(4.0) * epsilon;
    return pair;
}

double pairDerivative(double s13, double s7, const PairParameters& pair) {
    // The repulsive term is kept as a double before the attractive one joins it.
    const double repulsion = stored(Wide(-12.0) * s13);
    return stored((Wide(6.0) * s7 + repulsion) * pair.forceScale);
}

Wide pairEnergy(double s12, double s6, const PairParameters& pair) {
    return (Wide(s12) - s6) * pair.energyScale;
}

namespace {

// The pairs (j, k) of one atom j with the atoms k < j before it, laid out as arrays so that the
// geometry and the powers of every pair are formed in passes of their own, the powers of the
// whole row at once.
struct PairRow {
    double dx[kAtomCount], dy[kAtomCount], dz[kAtomCount];  // Å, from atom j to atom k
    double r[kAtomCount];                                   // Å
    double s[kAtomCount];                                   // σ / r
    double s6[kAtomCount], s7[kAtomCount], s12[kAtomCount], s13[kAtomCount];
    const PairParameters* pair[kAtomCount];
    double sigma[kAtomCount];  // Å, σ of the pair
    // The pairs inside the cutoff, by index k, and their powers.
    int inside[kAtomCount];
    double insideS[kAtomCount], insideS6[kAtomCount], insideS7[kAtomCount], insideS12[kAtomCount],
        insideS13[kAtomCount];
};

}  // namespace

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
    PairRow row;

    for (int j = 0; j < kAtomCount; ++j) {
        for (int k = 0; k < j; ++k) {
            row.dx[k] = minimumImage(storedDifference(state.x[k], state.x[j]), cell.Lx);
            row.dy[k] = minimumImage(storedDifference(state.y[k], state.y[j]), cell.Ly);
            row.dz[k] = minimumImage(storedDifference(state.z[k], state.z[j]), cell.Lz);
        }
        for (int k = 0; k < j; ++k) {
            row.pair[k] = &pairs[state.species[j]][state.species[k]];
            row.sigma[k] = row.pair[k]->sigma;
        }
        for (int k = 0; k < j; ++k) {
            row.r[k] = std::sqrt(stored(Wide(row.dx[k]) * row.dx[k] + Wide(row.dy[k]) * row.dy[k] +
                                        Wide(row.dz[k]) * row.dz[k]));
            row.s[k] = stored(Wide(row.sigma[k]) / row.r[k]);
        }
        // Powers of σ/r: s^6 and s^12 for every pair, s^7 and s^13 for the pairs inside the
        // cutoff, gathered so that only those are formed.
        const std::size_t count = static_cast<std::size_t>(j);
        argon::powers6And12(std::span<const double>(row.s, count), std::span(row.s6, count),
                            std::span(row.s12, count));
        std::size_t inside = 0;
        for (int k = 0; k < j; ++k) {
            if (row.r[k] < params.cutoff) {
                row.inside[inside] = k;
                row.insideS[inside] = row.s[k];
                ++inside;
            }
        }
        argon::powers6To13(std::span<const double>(row.insideS, inside),
                           std::span(row.insideS6, inside), std::span(row.insideS7, inside),
                           std::span(row.insideS12, inside), std::span(row.insideS13, inside));
        for (std::size_t m = 0; m < inside; ++m) {
            row.s7[row.inside[m]] = row.insideS7[m];
            row.s13[row.inside[m]] = row.insideS13[m];
        }
        for (int k = 0; k < j; ++k) {
            const PairParameters& pair = *row.pair[k];
            const double dx = row.dx[k];
            const double dy = row.dy[k];
            const double dz = row.dz[k];
            const double r = row.r[k];
            if (r < params.cutoff) {
                // H < 0 below the potential minimum: atom j is pushed away from atom k.
                const double h = pairDerivative(row.s13[k], row.s7[k], pair);
                state.fx[j] = stored(state.fx[j] + Wide(h) * dx / r);
                state.fy[j] = stored(state.fy[j] + Wide(h) * dy / r);
                state.fz[j] = stored(state.fz[j] + Wide(h) * dz / r);
                state.fx[k] = stored(state.fx[k] - Wide(h) * dx / r);
                state.fy[k] = stored(state.fy[k] - Wide(h) * dy / r);
                state.fz[k] = stored(state.fz[k] - Wide(h) * dz / r);
            }
            energy = stored(energy + pairEnergy(row.s12[k], row.s6[k], pair));
        }
    }
    return energy;
}

double normalisePotential(double energy, const RunParameters& params) {
    return stored(Wide(energy) * params.avogadro * kInverseAtomCount);
}
