#pragma once

// The Lennard-Jones pair formulas, each once, in the order the force loop takes them. Each
// formula widens its first operand to the intermediate precision, is evaluated as written, left
// to right, and is stored as a double. Both force kernels take their values from here.

#include <cmath>

#include "simulation/run_state.h"

// Lorentz-Berthelot parameters of one pair of species and the factors of the force and the
// energy that depend on them alone, each with the precision it has inside the pair formulas.
struct PairParameters {
    double sigma;      // Å, σ_jk = (σ_j + σ_k) × 0.5
    Wide forceScale;   // J/Å, 4 ε_jk × (1 / σ_jk)
    Wide energyScale;  // J, 4 ε_jk
};

inline PairParameters combineSpecies(const SpeciesTable& table, int a, int b) {
    PairParameters pair{};
    pair.sigma = stored((Wide(table.sigma[a]) + table.sigma[b]) * 0.5);
    const double epsilon = std::sqrt(stored(Wide(table.epsilon[a]) * table.epsilon[b]));  // J
    pair.forceScale = Wide(4.0) * epsilon * (Wide(1.0) / pair.sigma);
    pair.energyScale = Wide(4.0) * epsilon;
    return pair;
}

// Separation of two coordinates, from atom j (b) to atom k (a), Å.
inline double separation(double a, double b) {
    return stored(Wide(a) - b);
}

// The separation along one axis brought to the nearest periodic image; exactly half an edge
// goes to the opposite sign.
inline double minimumImage(double d, double edge) {
    return stored(d - Wide(roundHalfAway(stored(Wide(d) / edge))) * edge);
}

// r² = dx² + dy² + dz², Å², and r.
inline double squaredDistance(double dx, double dy, double dz) {
    return stored(Wide(dx) * dx + Wide(dy) * dy + Wide(dz) * dz);
}

inline double distance(double dx, double dy, double dz) {
    return std::sqrt(squaredDistance(dx, dy, dz));
}

// s = σ / r.
inline double ratio(double sigma, double r) {
    return stored(Wide(sigma) / r);
}

// H = dU/dr of U(r) = 4 ε (s^12 - s^6), J/Å, from the powers of s and the pair's force scale.
// H < 0 below the potential minimum: atom j is pushed away from atom k.
inline double pairDerivative(double s13, double s7, Wide forceScale) {
    // The repulsive term is kept as a double before the attractive one joins it.
    const double repulsion = stored(Wide(-12.0) * s13);
    return stored((Wide(6.0) * s7 + repulsion) * forceScale);
}

// H d / r, the pair force along the axis of the separation d, J/Å, as it joins the sums.
inline Wide forceComponent(double h, double d, double r) {
    return Wide(h) * d / r;
}

// f_j += H d / r and f_k -= H d / r: the two atoms receive opposite forces.
inline void addPairForce(double& onJ, double& onK, Wide component) {
    onJ = stored(onJ + component);
    onK = stored(onK - component);
}

// U(r), J, from the powers of s and the pair's energy scale, as it joins the sum.
inline Wide pairEnergy(double s12, double s6, Wide energyScale) {
    // s^12 is a double before s^6 is taken from it.
    return (Wide(s12) - s6) * energyScale;
}

// The potential energy so far plus one pair's, J.
inline double addPairEnergy(double sum, Wide energy) {
    return stored(sum + energy);
}
