#include "analysis/compute/block_average.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

namespace {

// x_{n+1} = φ x_n + e_n with unit Gaussian e_n, started in its stationary state (variance
// σ² = 1 / (1 - φ²)).
std::vector<double> autoregressive(double phi, std::size_t count, unsigned seed) {
    std::mt19937_64 generator(seed);
    std::normal_distribution<double> noise;
    std::vector<double> x;
    double value = noise(generator) / std::sqrt(1.0 - phi * phi);
    for (std::size_t i = 0; i < count; ++i) {
        x.push_back(value);
        value = phi * value + noise(generator);
    }
    return x;
}

// The standard error of the mean of n samples of that series, for n far beyond its correlation
// time: σ² (1 + φ) / ((1 - φ) n), the sum of its autocorrelations φ^|k|. Uncorrelated (φ = 0),
// σ / √n. Over several seeds each estimate lies within four of its own uncertainties of it, and
// on average within 1.5 (the spread of the average is about 0.5).
TEST(BlockAverage, FindsTheKnownErrorOfAutoregressiveSeries) {
    const std::tuple<double, std::size_t> series[] = {{0.0, 4096}, {0.5, 8192}, {0.9, 32768}};
    for (const auto& [phi, count] : series) {
        SCOPED_TRACE(testing::Message() << "phi = " << phi);
        const double exact =
            std::sqrt((1.0 + phi) / ((1.0 - phi) * (1.0 - phi * phi) * static_cast<double>(count)));
        double deviations = 0.0;  // in uncertainties, summed over the seeds
        constexpr int kSeeds = 8;
        for (int seed = 1; seed <= kSeeds; ++seed) {
            const auto average = blockAverage(autoregressive(phi, count, seed));
            ASSERT_TRUE(average.has_value());
            EXPECT_TRUE(average->plateauReached);
            const double deviation = (average->standardError - exact) / average->uncertainty;
            EXPECT_LT(std::abs(deviation), 4.0) << "seed " << seed;
            deviations += deviation;
        }
        EXPECT_LT(std::abs(deviations / kSeeds), 1.5);
    }
}

// A series too short for its correlation time has no plateau, and says so, giving its largest
// error as a lower bound; too few samples give no average at all; a constant has no error.
TEST(BlockAverage, SaysWhenThereIsNoPlateau) {
    const auto tooShort = blockAverage(autoregressive(0.99, 256, 3));
    ASSERT_TRUE(tooShort.has_value());
    EXPECT_FALSE(tooShort->plateauReached);
    for (const BlockLevel& level : tooShort->levels) {
        EXPECT_LE(level.standardError, tooShort->standardError);
    }
    EXPECT_FALSE(blockAverage(std::vector<double>(kFewestBlocks - 1, 1.0)).has_value());

    const auto constant = blockAverage(std::vector<double>(100, 2.5));
    ASSERT_TRUE(constant.has_value());
    EXPECT_TRUE(constant->plateauReached);
    EXPECT_EQ(constant->mean, 2.5);
    EXPECT_EQ(constant->standardError, 0.0);
}

}  // namespace
