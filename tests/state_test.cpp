// Run state: the rounding helper behind the periodic images.
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

}  // namespace
