#include "analysis/known_fluid/reduced_units.h"

#include <cmath>

#include "simulation/run_state.h"

namespace {

// kg of one atom of `constants.mass` g/mol.
double atomKilograms(const ProgramConstants& constants) {
    return constants.mass * 1e-3 / constants.avogadro;
}

}  // namespace

ProgramConstants programConstants() {
    const RunParameters params;
    const SpeciesTable species = makeSpeciesTable(params);
    ProgramConstants constants;
    constants.sigma = species.sigma[0];
    constants.epsilon = species.epsilon[0];
    constants.mass = kArgonMass;
    constants.cutoff = params.cutoff;
    constants.boltzmann = params.boltzmann;
    constants.avogadro = params.avogadro;
    return constants;
}

double energyUnit(const ProgramConstants& constants) {
    return constants.epsilon * constants.avogadro;
}

double temperatureUnit(const ProgramConstants& constants) {
    return constants.epsilon / constants.boltzmann;
}

double pressureUnit(const ProgramConstants& constants) {
    const double sigmaMetres = constants.sigma * 1e-10;
    return constants.epsilon / (sigmaMetres * sigmaMetres * sigmaMetres);
}

// σ in Å and √(m/ε) in s: τ in ps is 10^-10 × 10^12 of their product in Å s.
double timeUnit(const ProgramConstants& constants) {
    return constants.sigma * 1e-10 * std::sqrt(atomKilograms(constants) / constants.epsilon) * 1e12;
}

double diffusionUnit(const ProgramConstants& constants) {
    return constants.sigma * constants.sigma / timeUnit(constants);
}

double viscosityUnit(const ProgramConstants& constants) {
    const double sigmaMetres = constants.sigma * 1e-10;
    return std::sqrt(atomKilograms(constants) * constants.epsilon) / (sigmaMetres * sigmaMetres);
}

StatePoint programStatePoint() {
    const RunParameters params;
    StatePoint state;
    state.atomCount = kAtomCount;
    state.edge = cellEdge(params);
    state.temperature = params.targetTemperature;
    return state;
}

double reducedDensity(const StatePoint& state, const ProgramConstants& constants) {
    const double ratio = constants.sigma / state.edge;
    return state.atomCount * ratio * ratio * ratio;
}

double numberDensity(const StatePoint& state) {
    const double metres = state.edge * 1e-10;
    return state.atomCount / (metres * metres * metres);
}

double reducedTemperature(double temperature, const ProgramConstants& constants) {
    return temperature / temperatureUnit(constants);
}
