#include "simulation/powers/powers.h"
#include "simulation/run_state.h"

SpeciesTable makeSpeciesTable(const RunParameters& params) {
    SpeciesTable table{};
    table.sigma[0] = kArgonSigma;                                         // Å
    table.epsilon[0] = stored(Wide(kArgonWellDepth) * params.boltzmann);  // J
    return table;
}

double cellVolume(const RunParameters& params) {
    // Ideal-gas volume of N atoms at T0 and P, m³.
    return stored(Wide(kAtomCount) / params.avogadro * params.gasConstant *
                  params.targetTemperature / params.pressure);
}

double cellEdge(const RunParameters& params) {
    // The cube root, as the power 0.3333333333333333, in Å.
    return stored(Wide(argon::powerOneThird(cellVolume(params))) * 1e10);
}
