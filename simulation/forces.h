#pragma once

#include "simulation/run_state.h"

// Lorentz-Berthelot parameters of one pair of species, and the factors of the force and the
// energy that depend on them alone, formed once per force evaluation rather than once per pair.
// Each factor keeps the precision it has inside the pair formulas.
struct PairParameters {
    double sigma;      // Å
    Wide forceScale;   // 4 ε / σ, J/Å
    Wide energyScale;  // 4 ε, J
};

PairParameters combineSpecies(const SpeciesTable& table, int a, int b);

// Separation along one axis brought to the nearest periodic image, Å. A separation of exactly
// half the edge goes to the opposite sign.
inline double minimumImage(double d, double edge) {
    // The shift is roundHalfAway(d / L) whole edges. Positions lie in [0, L], so |d| <= L and the
    // shift is -1, 0 or +1; away from half an edge it follows from |d| alone, since the rounded
    // quotient is then below 0.5 or above 0.5 by far more than its rounding error, and d - shift L
    // is exact in any precision: d - 0, or d - ±L with L/2 <= |d| <= L (Sterbenz). Only the band
    // around L/2 needs the quotient itself.
    const double magnitude = std::abs(d);
    double shift;
    if (magnitude < 0.49 * edge) {
        shift = 0.0;
    } else if (magnitude > 0.51 * edge && magnitude <= edge) {
        shift = d > 0 ? 1.0 : -1.0;
    } else {
        return stored(d - Wide(roundHalfAway(stored(Wide(d) / edge))) * edge);
    }
    return d - shift * edge;
}

// H = dU/dr of U(r) = 4 ε (s^12 - s^6), J/Å, from the powers of s = σ / r.
double pairDerivative(double s13, double s7, const PairParameters& pair);

// U(r), J, from the powers of s = σ / r, before it is added to the sum.
Wide pairEnergy(double s12, double s6, const PairParameters& pair);

// Lennard-Jones 12-6 forces on every atom (J/Å) from all pairs under the minimum image.
// Forces are cut off at `params.cutoff` without a shift; the potential energy is summed over
// every pair with no cutoff. Returns that sum, J.
double computeForces(ParticleState& state, const SpeciesTable& table, const Cell& cell,
                     const RunParameters& params);

// Raw potential-energy sum (J) to J/mol per atom.
double normalisePotential(double energy, const RunParameters& params);
