#include "analysis/known_fluid/equation_of_state.h"

#include <gtest/gtest.h>

namespace {

// Every check value of the shared reference table (../shared/physics/lennard-jones-fluid.md),
// computed there from the published coefficients and printed to nine decimals: both equations
// of state agree with them to 1e-8, absolute, in A_res/(N k_B T), U_res/(N ε) and Z. The
// energies and Z are the derivatives of A_res, so these rows also check the dual numbers.
TEST(EquationOfState, GivesThePublishedCheckValues) {
    struct Row {
        double temperature, density;
        FluidModel model;
        double helmholtz, energy, compressibility;
    };
    constexpr FluidModel kn = FluidModel::kolafaNezbeda;
    constexpr FluidModel jzg = FluidModel::johnsonZollwegGubbins;
    const Row rows[] = {
        {5.785124, 0.12355, kn, 0.090922487, -0.597051142, 1.102721620},
        {5.785124, 0.12355, jzg, 0.093198295, -0.591727539, 1.106499319},
        {5.903188, 0.12355, kn, 0.092978357, -0.592265638, 1.104747912},
        {5.903188, 0.12355, jzg, 0.095235949, -0.587056149, 1.108516136},
        {1.35, 0.6, kn, -1.249543763, -4.031973933, 0.571182113},
        {1.35, 0.6, jzg, -1.237403479, -4.028540348, 0.566080103},
        {2.0, 0.8, kn, 0.034008166, -4.750694356, 3.306376711},
        {2.0, 0.8, jzg, 0.049551874, -4.760304188, 3.319838248},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << modelName(row.model) << " at T* = " << row.temperature
                                        << ", rho* = " << row.density);
        const ResidualProperties p = residualProperties(row.model, row.temperature, row.density);
        EXPECT_NEAR(p.helmholtz, row.helmholtz, 1e-8);
        EXPECT_NEAR(p.energy, row.energy, 1e-8);
        EXPECT_NEAR(p.compressibility, row.compressibility, 1e-8);
    }
}

}  // namespace
