#include "analysis/known_fluid/kinetic_theory.h"

#include <gtest/gtest.h>

#include "analysis/known_fluid/kolafa_nezbeda.h"
#include "analysis/known_fluid/reduced_units.h"

namespace {

constexpr double kRunTemperature = 5.785124;  // T*, 700 K
constexpr double kRunDensity = 0.12355;       // ρ*

// The check values of the shared reference table, to the digits printed there.
TEST(KineticTheory, GivesThePublishedCheckValues) {
    EXPECT_NEAR(collisionIntegral11(kRunTemperature), 0.818594, 5e-7);
    EXPECT_NEAR(collisionIntegral22(kRunTemperature), 0.902065, 5e-7);
    EXPECT_NEAR(chapmanEnskogDiffusion(kRunTemperature, kRunDensity), 5.03154, 5e-6);
    EXPECT_NEAR(chapmanEnskogViscosity(kRunTemperature), 0.47010, 5e-6);
}

// The bracket of D at the run's state point, in the program's units, against figures worked
// by hand from the shared table (D0 = 5.03154 D*-units; with d = σ: ζ = 0.06469, χ = 1.1826,
// D_E = 4.2545 D*-units, η_E = 4.77e-5 Pa s; Yeh-Hummer +1.21 Å²/ps for the
// 25.1488 Å cell at 700 K). The program's N_A = 6.02e23 makes its unit of D 5.3947 Å²/ps.
TEST(KineticTheory, BracketsDAtTheRunsStatePoint) {
    const ProgramConstants constants = programConstants();
    const double unitD = diffusionUnit(constants);
    const double unitEta = viscosityUnit(constants);
    const double d0 = chapmanEnskogDiffusion(kRunTemperature, kRunDensity);
    const double eta0 = chapmanEnskogViscosity(kRunTemperature);
    EXPECT_NEAR(d0 * unitD, 27.14, 0.01);

    const EnskogFactors sigma = enskogFactors(kRunDensity, 1.0);
    EXPECT_NEAR(sigma.packing, 0.06469, 1e-5);
    EXPECT_NEAR(sigma.contact, 1.1826, 1e-4);
    EXPECT_NEAR(enskogDiffusion(d0, sigma), 4.2545, 1e-4);
    const double etaE = enskogViscosity(eta0, sigma) * unitEta;  // Pa s
    EXPECT_NEAR(etaE, 4.77e-5, 0.01e-5);
    EXPECT_NEAR(yehHummerCorrection(700.0, etaE, 25.1488, constants.boltzmann), 1.21, 0.01);

    // The KN diameter is a little under σ at this temperature, so its Enskog factor is smaller
    // and D_E larger: the 23.6 Å²/ps beside 23.0 for d = σ.
    const EnskogFactors kn = enskogFactors(kRunDensity, kolafaNezbedaDiameter(kRunTemperature));
    EXPECT_NEAR(enskogDiffusion(d0, kn) * unitD, 23.6, 0.05);
}

}  // namespace
