#pragma once

#include <array>
#include <cmath>

#include "simulation/arithmetic.h"

// Units throughout: length Å, time fs, velocity m/s, mass g/mol, force J/Å, pair energy J,
// reported energies J/mol per atom, temperature K, pressure Pa.

inline constexpr int kAtomCount = 50;
// 1/N of the per-atom energies, held at the intermediate precision (0.02 for 50 atoms).
inline constexpr Wide kInverseAtomCount = Wide(1) / kAtomCount;
inline constexpr int kSpeciesCount = 1;
inline constexpr int kSampleInterval = 10;    // steps between samples, temperature control, frames
inline constexpr double kArgonMass = 39.948;  // g/mol
// Argon's Lennard-Jones parameters (makeSpeciesTable): σ, Å, and the well depth ε / k_B, K.
inline constexpr double kArgonSigma = 3.4;
inline constexpr double kArgonWellDepth = 121.0;

struct RunParameters {
    int stepCount = 10000;
    double dt = 4.0;                   // fs
    double targetTemperature = 700.0;  // K, T0
    double pressure = 30390000.0;      // Pa, sets the cell volume only
    double boltzmann = 1.38065e-23;    // J/K, kB
    double avogadro = 6.02e23;         // 1/mol, NA
    double gasConstant = 8.314;        // J/(mol K), R; independent of NA × kB on purpose
    double cutoff = 9.0;               // Å, force cutoff (the energy has none)
    double minimumDistance = 2.0;      // Å, closest approach allowed at placement
};

// Lennard-Jones parameters, one row per species.
struct SpeciesTable {
    std::array<double, kSpeciesCount> sigma;    // Å
    std::array<double, kSpeciesCount> epsilon;  // J
};

// Per-atom state as a structure of arrays, index 0 to N - 1.
struct ParticleState {
    std::array<int, kAtomCount> species;
    std::array<double, kAtomCount> mass;        // g/mol
    std::array<double, kAtomCount> x, y, z;     // Å, wrapped into the cell
    std::array<double, kAtomCount> vx, vy, vz;  // m/s
    std::array<double, kAtomCount> fx, fy, fz;  // J/Å, force of the current step
    std::array<double, kAtomCount> ux, uy, uz;  // Å, displacement since placement, never wrapped
};

// Edges of the periodic cell, Å.
struct Cell {
    double Lx, Ly, Lz;
};

SpeciesTable makeSpeciesTable(const RunParameters& params);

// Volume that N ideal-gas atoms take at T0 and P, m³.
double cellVolume(const RunParameters& params);

// Edge of the cubic cell of that volume, Å.
double cellEdge(const RunParameters& params);

// The nearest integer with halves away from zero (0.5 -> 1, -0.5 -> -1), as floor(|x| + 0.5)
// with the sign of x; the sum is rounded first, so 0.49999999999999994 also gives 1. Used for the
// minimum image and for wrapping, where the tie decides which face a boundary coordinate takes.
inline double roundHalfAway(double x) {
    if (x >= 0) {
        return std::floor(stored(Wide(x) + 0.5));
    }
    return -std::floor(stored(-Wide(x) + 0.5));
}
