#pragma once

// What the simulation does that its files do not record, from its own parameters
// (simulation/run_state.h, read from the header alone), never a second copy: the pictures and
// the page name them.
struct SimulatedRun {
    double targetTemperature = 0.0;  // K, to which the velocities are rescaled
    int rescaleInterval = 0;         // steps between the rescalings (each a sample)
    int stepCount = 0;
    double timeStep = 0.0;   // fs
    double sigma = 0.0;      // Å, the Lennard-Jones diameter
    double wellDepth = 0.0;  // K, ε / k_B
    double atomMass = 0.0;   // g/mol
};

SimulatedRun simulatedRun();
