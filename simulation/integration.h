#pragma once

#include "simulation/run_state.h"

struct KineticMeasure {
    double energy;       // J/mol per atom
    double temperature;  // K
};

// Semi-implicit Euler step: the forces change the velocities, the new velocities move the
// positions and the never-wrapped displacements; positions are then wrapped into the cell.
void advanceParticles(ParticleState& state, const Cell& cell, const RunParameters& params);

// Kinetic energy and temperature of the current velocities.
KineticMeasure measureKinetic(const ParticleState& state, const RunParameters& params);

// Scales every velocity so that the temperature becomes T0. A temperature of zero (the atoms at
// rest), one that is not a finite positive number, or one so small that the scaling would
// overflow, leaves the velocities as they are.
void rescaleVelocities(ParticleState& state, double temperature, const RunParameters& params);

// Takes one N-th of the centre-of-mass velocity off every atom: each call removes a fiftieth of
// the total momentum, which the pair forces keep at round-off level anyway.
void removeDrift(ParticleState& state);
