#include "analysis/known_fluid/comparison.h"

#include "analysis/known_fluid/corrections.h"

EnergyComparison compareEnergy(FluidModel model, const StatePoint& state,
                               const ProgramConstants& constants, double meanEnergy,
                               double standardError) {
    const double unit = energyUnit(constants);
    const double density = reducedDensity(state, constants);
    const double measured = reducedTemperature(state.temperature, constants);
    const double kinetic = kineticTemperature(measured, state.atomCount);
    const double atMeasured = residualProperties(model, measured, density).energy * unit;
    const double atKinetic = residualProperties(model, kinetic, density).energy * unit;

    EnergyComparison c;
    c.model = model;
    c.run = meanEnergy;
    c.standardError = standardError;
    c.cubeTail = cubeTailEnergy(density, state.edge / constants.sigma) * unit;
    c.equationOfState = atMeasured;
    c.degreesOfFreedom = atKinetic - atMeasured;
    c.finiteAtomCount = finiteAtomCountPairSum(atKinetic, state.atomCount) - atKinetic;
    c.corrected = c.run + c.cubeTail;
    c.reference = c.equationOfState + c.degreesOfFreedom + c.finiteAtomCount;
    c.difference = (c.corrected - c.reference) / standardError;
    return c;
}

PressureComparison comparePressure(FluidModel model, const StatePoint& state,
                                   const ProgramConstants& constants, double meanPressure,
                                   double standardError) {
    const double density = reducedDensity(state, constants);
    const double kineticT = kineticTemperature(state.temperature, state.atomCount);  // K
    const double z =
        residualProperties(model, reducedTemperature(kineticT, constants), density).compressibility;
    const double ideal = numberDensity(state) * constants.boltzmann;  // Pa/K, ρ k_B

    PressureComparison c;
    c.model = model;
    c.run = meanPressure;
    c.standardError = standardError;
    c.cutoffTail =
        cutoffTailPressure(density, constants.cutoff / constants.sigma) * pressureUnit(constants);
    c.kinetic = ideal * state.temperature;
    c.excess = (z - 1.0) * ideal * kineticT;
    c.finiteAtomCount = finiteAtomCountPairSum(c.excess, state.atomCount) - c.excess;
    c.corrected = c.run + c.cutoffTail;
    c.reference = c.kinetic + c.excess + c.finiteAtomCount;
    c.runZ = c.corrected / c.kinetic;
    c.referenceZ = c.reference / c.kinetic;
    c.difference = (c.corrected - c.reference) / standardError;
    return c;
}
