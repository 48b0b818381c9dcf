// Run state: the rounding helper behind the periodic images, and the cell.
#include <gtest/gtest.h>

#include <cmath>

#include "simulation/run_state.h"

namespace {

TEST(RoundHalfAway, RoundsHalvesAwayFromZeroAsFloorOfTheRoundedSum) {
    // x and its rounding; for 0.49999999999999994, x + 0.5 rounds up to 1 first.
    // clang-format off
    const double cases[][2] = {{0.5, 1.0}, {-0.5, -1.0}, {2.5, 3.0}, {-2.5, -3.0}, {1.5, 2.0},
                               {-1.5, -2.0}, {0.49999, 0.0}, {-0.49999, 0.0}, {0.0, 0.0},
                               {0.7, 1.0}, {-0.7, -1.0}, {123456.5, 123457.0}, {-1e-300, 0.0},
                               {0.49999999999999994, 1.0}, {-0.49999999999999994, -1.0}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(roundHalfAway(c[0]), c[1]) << "x = " << c[0];
    }
}

TEST(Cell, EdgeHoldsTheIdealGasVolumeAtTargetTemperatureAndPressure) {
    const RunParameters params{};
    const double edge = cellEdge(params);
    const double volume = std::pow(edge * 1e-10, 3.0);
    EXPECT_NEAR(edge, 25.148782, 5e-7) << "the fixed run's cell edge, Å";
    EXPECT_NEAR(volume / 1.5905630e-26, 1.0, 1e-7) << "the fixed run's cell volume";
    // V = N R T0 / (NA P): R, not NA kB, sets the volume.
    EXPECT_NEAR(volume / (kAtomCount * 8.314 * params.targetTemperature / (6.02e23 * 30390000.0)),
                1.0, 1e-7);
}

}  // namespace
