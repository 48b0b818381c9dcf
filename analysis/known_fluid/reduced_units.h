#pragma once

// The run's state point in the reduced units of its own Lennard-Jones argon. Every constant is
// the simulation's (simulation/run_state.h, makeSpeciesTable), never a second copy, so that a
// change there moves the reference values with the run.

struct ProgramConstants {
    double sigma = 0.0;      // Å
    double epsilon = 0.0;    // J, 121 K × k_B as the simulation computes it
    double mass = 0.0;       // g/mol, of one atom
    double cutoff = 0.0;     // Å, of the forces (the potential energy has none)
    double boltzmann = 0.0;  // J/K
    double avogadro = 0.0;   // 1/mol
};

ProgramConstants programConstants();

// One ε per atom as the run reports energies: ε N_A, J/mol.
double energyUnit(const ProgramConstants& constants);
// ε / k_B, K.
double temperatureUnit(const ProgramConstants& constants);
// ε / σ³, Pa.
double pressureUnit(const ProgramConstants& constants);
// τ = σ √(m/ε), ps.
double timeUnit(const ProgramConstants& constants);
// σ √(ε/m) = σ² / τ, Å²/ps.
double diffusionUnit(const ProgramConstants& constants);
// √(m ε) / σ², Pa s.
double viscosityUnit(const ProgramConstants& constants);

// A run's cell and temperature.
struct StatePoint {
    int atomCount = 0;
    double edge = 0.0;         // Å, of the cubic cell
    double temperature = 0.0;  // K, as the run measures it: from the kinetic energy over 3N
                               // degrees of freedom
};

// The program's own: its atom count, its cell edge and its target temperature.
StatePoint programStatePoint();

// ρ* = N σ³ / L³.
double reducedDensity(const StatePoint& state, const ProgramConstants& constants);
// Number density N / L³, 1/m³.
double numberDensity(const StatePoint& state);
// T* = k_B T / ε of a temperature T in K.
double reducedTemperature(double temperature, const ProgramConstants& constants);
