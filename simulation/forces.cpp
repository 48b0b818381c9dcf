#include "simulation/forces.h"

#include "simulation/pair_formulas.h"
#include "simulation/powers/powers.h"

double computeForces(ParticleState& state, const SpeciesTable& table, const Cell& cell,
                     const RunParameters& params) {
    state.fx.fill(0.0);
    state.fy.fill(0.0);
    state.fz.fill(0.0);
    double energy = 0.0;  // J
    // Every unordered pair once: j from 0 up, k from 0 to j - 1.
    for (int j = 0; j < kAtomCount; ++j) {
        for (int k = 0; k < j; ++k) {
            // From atom j to atom k, at the nearest image.
            const double dx = minimumImage(separation(state.x[k], state.x[j]), cell.Lx);
            const double dy = minimumImage(separation(state.y[k], state.y[j]), cell.Ly);
            const double dz = minimumImage(separation(state.z[k], state.z[j]), cell.Lz);
            const double r = distance(dx, dy, dz);
            const PairParameters pair = combineSpecies(table, state.species[j], state.species[k]);
            const double s = ratio(pair.sigma, r);
            if (r < params.cutoff) {  // no force at the cutoff and beyond, and no shift
                const double h =
                    pairDerivative(argon::power(s, 13), argon::power(s, 7), pair.forceScale);
                addPairForce(state.fx[j], state.fx[k], forceComponent(h, dx, r));
                addPairForce(state.fy[j], state.fy[k], forceComponent(h, dy, r));
                addPairForce(state.fz[j], state.fz[k], forceComponent(h, dz, r));
            }
            // The energy of every pair, with no cutoff.
            energy = addPairEnergy(
                energy, pairEnergy(argon::power(s, 12), argon::power(s, 6), pair.energyScale));
        }
    }
    return energy;
}

double normalisePotential(double energy, const RunParameters& params) {
    return stored(Wide(energy) * params.avogadro * kInverseAtomCount);
}
