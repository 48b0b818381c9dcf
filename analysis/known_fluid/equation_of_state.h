#pragma once

// The thermodynamics of the infinite Lennard-Jones 12-6 fluid from a published equation of
// state. Reduced units throughout: T* = k_B T / ε, ρ* = N σ³ / V, energies per atom in ε.

enum class FluidModel {
    kolafaNezbeda,          // Fluid Phase Equilibria 100 (1994) 1-34
    johnsonZollwegGubbins,  // Molecular Physics 78 (1993) 591-618
};

// "Kolafa-Nezbeda 1994" or "Johnson-Zollweg-Gubbins 1993", for the text.
const char* modelName(FluidModel model);
// "KN" or "JZG", for the table.
const char* modelAbbreviation(FluidModel model);

struct ResidualProperties {
    double helmholtz = 0.0;        // A_res / (N k_B T), dimensionless
    double energy = 0.0;           // U_res / (N ε): the potential energy per atom, in ε
    double compressibility = 0.0;  // Z = p / (ρ k_B T), dimensionless
};

// At temperature T* and density ρ*, both positive.
ResidualProperties residualProperties(FluidModel model, double temperature, double density);
