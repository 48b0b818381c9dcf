#pragma once

#include "analysis/known_fluid/equation_of_state.h"
#include "analysis/known_fluid/reduced_units.h"

// A run's mean potential energy and pressure beside what an equation of state gives for the
// infinite fluid, with every correction between the two named (docs/known-fluid.md). The run's
// side is corrected for what it leaves out of its sums; the reference side is moved to the
// run's temperature and atom count. Differences are in the run's standard errors.

struct EnergyComparison {
    FluidModel model{};          // the equation of state of the reference
    double run = 0.0;            // J/mol per atom: the run's mean potential energy
    double standardError = 0.0;  // J/mol per atom, of that mean
    // Added to the run: the infinite fluid's pairs beyond the minimum-image cube.
    double cubeTail = 0.0;  // J/mol per atom
    // The equation of state at T* of the measured temperature.
    double equationOfState = 0.0;  // J/mol per atom
    // Added to the reference: the equation of state at the kinetic temperature (3N - 3 degrees
    // of freedom) rather than at the measured one.
    double degreesOfFreedom = 0.0;  // J/mol per atom
    // Added to the reference, an estimate: N atoms rather than infinitely many, U_N ≈ U_∞ (N-1)/N.
    double finiteAtomCount = 0.0;  // J/mol per atom
    double corrected = 0.0;        // J/mol per atom: run + cubeTail
    double reference = 0.0;  // J/mol per atom: equationOfState + degreesOfFreedom + finiteAtomCount
    double difference = 0.0;  // (corrected - reference) / standardError
};

// `state` holds the mean measured temperature (K); `meanEnergy` and `standardError` are the
// run's, J/mol per atom; standardError > 0.
EnergyComparison compareEnergy(FluidModel model, const StatePoint& state,
                               const ProgramConstants& constants, double meanEnergy,
                               double standardError);

struct PressureComparison {
    FluidModel model{};          // the equation of state of the reference
    double run = 0.0;            // Pa: the run's mean virial pressure, forces cut at r_c
    double standardError = 0.0;  // Pa, of that mean
    // Added to the run: the forces beyond r_c, g = 1.
    double cutoffTail = 0.0;  // Pa
    // The run's kinetic pressure, ρ k_B T at the measured temperature: exactly the kinetic part
    // of its virial pressure, whatever its degrees of freedom.
    double kinetic = 0.0;  // Pa
    // The equation of state's pressure of the forces, (Z - 1) ρ k_B T_kin, at the kinetic
    // temperature (3N - 3 degrees of freedom), at which the atoms' positions are distributed.
    double excess = 0.0;  // Pa
    // Added to the reference, an estimate: N(N-1)/2 pairs rather than N²/2, -excess / N.
    double finiteAtomCount = 0.0;  // Pa
    double corrected = 0.0;        // Pa: run + cutoffTail
    double reference = 0.0;        // Pa: kinetic + excess + finiteAtomCount
    double runZ = 0.0;             // corrected / kinetic, Z = p / (ρ k_B T)
    double referenceZ = 0.0;       // reference / kinetic
    double difference = 0.0;       // (corrected - reference) / standardError
};

// `state` holds the mean measured temperature (K); `meanPressure` and `standardError` are the
// run's, Pa; standardError > 0.
PressureComparison comparePressure(FluidModel model, const StatePoint& state,
                                   const ProgramConstants& constants, double meanPressure,
                                   double standardError);
