#include "analysis/known_fluid/equation_of_state.h"

#include "analysis/known_fluid/dual.h"
#include "analysis/known_fluid/johnson_zollweg_gubbins.h"
#include "analysis/known_fluid/kolafa_nezbeda.h"

namespace {

// A_res / (N ε), with the derivative along whichever input is seeded.
Dual helmholtz(FluidModel model, Dual temperature, Dual density) {
    if (model == FluidModel::kolafaNezbeda) {
        return kolafaNezbedaHelmholtz(temperature, density);
    }
    return johnsonZollwegGubbinsHelmholtz(temperature, density);
}

}  // namespace

const char* modelName(FluidModel model) {
    return model == FluidModel::kolafaNezbeda ? "Kolafa-Nezbeda 1994"
                                              : "Johnson-Zollweg-Gubbins 1993";
}

const char* modelAbbreviation(FluidModel model) {
    return model == FluidModel::kolafaNezbeda ? "KN" : "JZG";
}

// With a = A_res/(N ε T) (= A_res/(N k_B T) in reduced units), the thermodynamic identities
// U_res/(N ε) = -T² ∂a/∂T at fixed ρ (Gibbs-Helmholtz) and Z = 1 + ρ ∂a/∂ρ at fixed T
// (p = -∂A/∂V), each derivative exact through the dual numbers.
ResidualProperties residualProperties(FluidModel model, double temperature, double density) {
    const Dual byTemperature =
        helmholtz(model, variable(temperature), constant(density)) / variable(temperature);
    const Dual byDensity =
        helmholtz(model, constant(temperature), variable(density)) / constant(temperature);
    ResidualProperties properties;
    properties.helmholtz = byTemperature.value;
    properties.energy = -temperature * temperature * byTemperature.slope;
    properties.compressibility = 1.0 + density * byDensity.slope;
    return properties;
}
