#include <cmath>

#include "simulation/run_state.h"

SpeciesTable makeSpeciesTable(const RunParameters& params) {
    SpeciesTable table{};
    table.sigma[0] = 3.4;                                       // Å, argon
    table.epsilon[0] = stored(Wide(121.0) * params.boltzmann);  // J, a well depth of 121 K
    return table;
}

double cellEdge(const RunParameters& params) {
    // Ideal-gas volume of N atoms, m³, then its cube root in Å.
    const double volume = stored(Wide(params.atomCount) / params.avogadro * params.gasConstant *
                                 params.targetTemperature / params.pressure);
    return stored(Wide(std::pow(volume, 1.0 / 3.0)) * 1e10);
}
