#pragma once

#include <cmath>
#include <limits>

#include "simulation/run_state.h"

// Lorentz-Berthelot parameters of one pair of species, and the factors of the force and the
// energy that depend on them alone, formed once per force evaluation rather than once per pair.
// Each factor keeps the precision it has inside the pair formulas.
struct PairParameters {
    double sigma;      // Å
    Wide forceScale;   // 4 ε / σ, J/Å
    Wide energyScale;  // 4 ε, J
    // The force scale as two doubles whose sum is exactly it, for the shortcuts of the loop.
    double forceScaleHi, forceScaleLo;
};

PairParameters combineSpecies(const SpeciesTable& table, int a, int b);

// Separation along one axis brought to the nearest periodic image, as the formula
// d - roundHalfAway(d / L) L stores it, Å, for |d| <= L (both positions in [0, L]); NaN near half
// an edge, where only the formula itself decides. Branch-free, so that pairs form vector loops.
inline double minimumImageOrNaN(double d, double edge) {
    // For |d| <= L the shift is -1, 0 or +1 edges. Away from half an edge it follows from |d|
    // alone: below (1/2 - 2^-20) L (rounded up by at most u), the quotient d / L, rounded once or
    // twice, is below 1/2 - 2^-21, its sum with 0.5 below 1, and the shift 0; above
    // (1/2 + 2^-20) L the sum lies in (1, 1.5] and the shift is ±1. d - shift L is then exact in
    // any precision: d - 0, or d - ±L with L/2 <= |d| <= L (Sterbenz).
    const double magnitude = std::abs(d);
    double shift =
        magnitude < (0.5 - 0x1p-20) * edge ? 0.0 : std::numeric_limits<double>::quiet_NaN();
    shift = magnitude > (0.5 + 0x1p-20) * edge ? std::copysign(edge, d) : shift;  // Å
    return d - shift;
}

// Separation along one axis brought to the nearest periodic image, Å. A separation of exactly
// half the edge goes to the opposite sign.
inline double minimumImage(double d, double edge) {
    const double image =
        std::abs(d) <= edge ? minimumImageOrNaN(d, edge) : std::numeric_limits<double>::quiet_NaN();
    return std::isnan(image) ? stored(d - Wide(roundHalfAway(stored(Wide(d) / edge))) * edge)
                             : image;
}

// The pair formulas, each as the force loop stores it.

// r² = dx² + dy² + dz², Å².
inline double squaredDistance(double dx, double dy, double dz) {
    return stored(Wide(dx) * dx + Wide(dy) * dy + Wide(dz) * dz);
}

// s = σ / r.
inline double ratio(double sigma, double r) {
    return stored(Wide(sigma) / r);
}

// H = dU/dr of U(r) = 4 ε (s^12 - s^6), J/Å, from the powers of s = σ / r and F = 4 ε / σ.
inline double pairDerivative(double s13, double s7, Wide forceScale) {
    // The repulsive term is kept as a double before the attractive one joins it.
    const double repulsion = stored(Wide(-12.0) * s13);
    return stored((Wide(6.0) * s7 + repulsion) * forceScale);
}

// H d / r, the pair force along the axis of the separation d, J/Å, before it is added.
inline Wide forceComponent(double h, double d, double r) {
    return Wide(h) * d / r;
}

// U(r), J, from the powers of s and E = 4 ε, before it is added to the sum.
inline Wide pairEnergy(double s12, double s6, Wide energyScale) {
    // s^12 is a double before s^6 is taken from it.
    return (Wide(s12) - s6) * energyScale;
}

// What computeForces adds up besides the forces.
enum class PotentialEnergy {
    summed,     // returned, J
    notNeeded,  // neither formed nor summed (NaN is returned): the run reports it on sampled
                // steps only, and the forces do not depend on it
};

// Where its vector loops run: compiled for processors with AVX2 and FMA (used when this one has
// them) or for the build's target; both give the same bits.
enum class VectorUnits { best, portable };

// Lennard-Jones 12-6 forces on every atom (J/Å) from all pairs under the minimum image.
// Forces are cut off at `params.cutoff` without a shift; the potential energy is summed over
// every pair with no cutoff. Returns that sum, J.
double computeForces(ParticleState& state, const SpeciesTable& table, const Cell& cell,
                     const RunParameters& params, PotentialEnergy energy = PotentialEnergy::summed,
                     VectorUnits units = VectorUnits::best);

// Raw potential-energy sum (J) to J/mol per atom.
double normalisePotential(double energy, const RunParameters& params);
