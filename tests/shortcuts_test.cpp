// The exact shortcuts of the pair loop give, bit for bit, what the plain formulas give, in the
// arithmetic this binary was built with.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>

#include "simulation/forces.h"

namespace {

double plainMinimumImage(double d, double edge) {
    return stored(d - Wide(roundHalfAway(stored(Wide(d) / edge))) * edge);
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(ExactShortcuts, DifferenceMatchesTheFormulaForCoordinatesOfEveryScale) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> coordinate(0.0, 25.1488);
    std::uniform_int_distribution<int> scale(-80, 4);
    for (int i = 0; i < 2000000; ++i) {
        double a = coordinate(random);
        double b = coordinate(random);
        if (i % 4 == 1) {
            a = std::ldexp(a, scale(random));  // near the lower face, down to tiny values
        }
        if (i % 8 == 2) {
            b = 0.0;
        }
        ASSERT_TRUE(sameBits(storedDifference(a, b), stored(Wide(a) - b))) << a << " - " << b;
        ASSERT_TRUE(sameBits(storedDifference(b, a), stored(Wide(b) - a))) << b << " - " << a;
    }
}

TEST(ExactShortcuts, MinimumImageMatchesTheFormulaAcrossTheWholeRange) {
    const double edge = 25.148782;
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> separation(-edge, edge);
    for (int i = 0; i < 2000000; ++i) {
        const double d = separation(random);
        ASSERT_TRUE(sameBits(minimumImage(d, edge), plainMinimumImage(d, edge))) << d;
    }
    // The band edges, half an edge and whole edges, and their neighbours.
    for (double f : {0.0, 0.49, 0.5, 0.51, 1.0}) {
        double d = f * edge;
        for (int step = 0; step < 64; ++step) {
            for (double v : {d, -d}) {
                ASSERT_TRUE(sameBits(minimumImage(v, edge), plainMinimumImage(v, edge))) << v;
            }
            d = std::nextafter(d, step < 32 ? 0.0 : 2 * edge);
        }
    }
}

}  // namespace
