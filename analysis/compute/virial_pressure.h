#pragma once

#include <array>
#include <span>

#include "simulation/arithmetic.h"

// The pressure of one frame from the virial of the run's own pair forces.

// The run's pair force as the simulation builds it from its parameters: the same σ and ε
// (combined as the force loop combines them), and forces only for r < the cutoff, unshifted.
struct RunPairForce {
    double sigma = 0.0;      // Å, of two argon atoms
    Wide forceScale = 0.0;   // J/Å, 4ε/σ, as the force loop holds it
    double cutoff = 0.0;     // Å
    double boltzmann = 0.0;  // J/K
};

RunPairForce runPairForce();

// W = Σ over pairs of r_jk · F_jk, J: the separation from atom j to atom k at its minimum image
// times the force of j on k. Positive where the atoms repel. `xyz` holds x y z per atom (Å),
// `edge` the cell's edges (Å).
double pairVirial(std::span<const double> xyz, const std::array<double, 3>& edge,
                  const RunPairForce& force);

// p = N k_B T / V + W / (3V), Pa (the virial theorem; M. P. Allen and D. J. Tildesley,
// Computer Simulation of Liquids, 1987), for N atoms in the cell of `edge` (Å) at temperature T
// (K) as the run measures it, with pair virial W (J).
double pressureFromVirial(double atoms, const std::array<double, 3>& edge, double temperature,
                          double virial, double boltzmann);
