#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "analysis/known_fluid/comparison.h"
#include "analysis/known_fluid/reduced_units.h"
#include "analysis/known_fluid/run_check.h"

namespace {

// The default run's state point from the program's own constants, against the figures
// and the lead's hand-worked ones: ρ* = N σ³ / V = 0.12355, T* = 700 K / 121 K, ρ k_B T of the
// cell at 700 K 30.381 MPa, and one ε per atom 1005.69 J/mol with the program's N_A (121 K × R
// would be 1006.05 with CODATA R).
TEST(StatePoint, TheDefaultRunInReducedUnits) {
    const ProgramConstants constants = programConstants();
    const StatePoint state = programStatePoint();
    EXPECT_NEAR(reducedDensity(state, constants), 0.12355, 5e-6);
    EXPECT_NEAR(reducedTemperature(state.temperature, constants), 5.785124, 1e-6);
    EXPECT_NEAR(numberDensity(state) * constants.boltzmann * state.temperature, 30.381e6, 1e3);
    EXPECT_NEAR(energyUnit(constants), 1005.69, 0.01);
}

// The default run as the issue measured it (U = -565.5 J/mol per atom after 4 ps, with a block
// error of 9 to 12; p = 33.8 ± 0.3 MPa from the virial), beside each equation of state with
// every correction (the cube's tail and the cutoff's are checked on their own): both agree
// within 2 standard errors, as they did there.
TEST(StatePoint, TheRunAgreesWithBothEquationsOfState) {
    const ProgramConstants constants = programConstants();
    const StatePoint state = programStatePoint();
    for (const FluidModel model : {FluidModel::kolafaNezbeda, FluidModel::johnsonZollwegGubbins}) {
        SCOPED_TRACE(modelName(model));
        const EnergyComparison energy = compareEnergy(model, state, constants, -565.5, 9.0);
        EXPECT_NEAR(energy.degreesOfFreedom, 4.75, 0.1);
        EXPECT_LT(std::abs(energy.difference), 2.0);
        const PressureComparison pressure = comparePressure(model, state, constants, 33.8e6, 0.3e6);
        EXPECT_LT(std::abs(pressure.difference), 2.0);
    }
}

// A unit-mismatch trap on the report's own comparison path (checkRun, as report.cpp calls it), with
// the default run's averages: ε 1% larger in a test copy of the constants moves the energy's
// reference by more than 1% (the unit of energy, and T* lower), so its difference by more than
// 1% of the reference in standard errors; the pressure's and D's references move too. A constant
// held in a second copy, or a unit dropped, would leave one of them where it was.
TEST(StatePoint, AnEpsilonOnePercentOffMovesTheComparison) {
    RunMeasurements run;
    run.atomCount = 50;
    run.edges = {25.1488, 25.1488, 25.1488};
    run.temperature = 699.98;
    run.potential = Estimate{-565.35, 9.55};
    run.pressure = Estimate{33.812e6, 0.253e6};
    run.diffusion = Estimate{26.5, 2.7};
    const ProgramConstants constants = programConstants();
    ProgramConstants wrong = constants;
    wrong.epsilon *= 1.01;
    const RunCheck right = checkRun(run, constants);
    const RunCheck moved = checkRun(run, wrong);
    ASSERT_EQ(right.energy.size(), 2u);
    ASSERT_EQ(moved.energy.size(), 2u);
    EXPECT_GT(moved.energy[0].difference - right.energy[0].difference,
              0.01 * std::abs(right.energy[0].reference) / 9.55);
    EXPECT_GT(std::abs(moved.pressure[0].difference - right.pressure[0].difference), 0.05);
    ASSERT_TRUE(right.diffusion && moved.diffusion);
    EXPECT_GT(std::abs(moved.diffusion->enskogSigma / right.diffusion->enskogSigma - 1.0), 0.001);
}

}  // namespace
