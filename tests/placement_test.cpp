// The overlap rule of placement; the configuration it gives is pinned by the complete runs.
#include "simulation/placement.h"

#include <gtest/gtest.h>

namespace {

TEST(Placement, OverlapUsesPlainDifferencesAndAStrictMinimum) {
    ParticleState state{};
    const auto put = [&state](int i, double x, double y) {
        state.x[i] = x;
        state.y[i] = y;
        state.z[i] = 3.0;
    };
    put(0, 0.5, 3.0);
    put(1, 25.1488 - 0.5, 3.0);  // 1 Å away only through the periodic boundary
    EXPECT_FALSE(overlapsEarlierAtom(state, 1, 4.0));
    put(1, 2.5, 3.0);  // exactly 2 Å
    EXPECT_FALSE(overlapsEarlierAtom(state, 1, 4.0));
    put(1, 2.499, 3.0);
    EXPECT_TRUE(overlapsEarlierAtom(state, 1, 4.0));
    put(1, 10.0, 10.0);
    put(2, 10.0, 11.0);  // overlaps atom 1, not atom 0
    EXPECT_TRUE(overlapsEarlierAtom(state, 2, 4.0));
}

}  // namespace
