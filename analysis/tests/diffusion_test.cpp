#include "analysis/diffusion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double kD = 20.0;   // Å²/ps
constexpr double kTau = 1.0;  // ps, velocity memory

struct Series {
    std::vector<double> time;  // ps
    std::vector<double> msd;   // Å²
};

// MSD of a particle whose velocity forgets itself over kTau: 3 D t² / τ (ballistic) at t ≪ τ,
// 6 D (t − τ) at t ≫ τ. Sampled as the run samples, 0.04 ps apart.
template <typename Msd>
Series sampled(Msd msdAt) {
    Series s;
    for (int i = 0; i < 1000; ++i) {
        s.time.push_back(0.04 * i);
        s.msd.push_back(msdAt(s.time.back()));
    }
    return s;
}

double langevin(double t) {
    return 6.0 * kD * (t - kTau * (1.0 - std::exp(-t / kTau)));
}

TEST(Diffusion, RecoversTheSlopeAndLeavesOutTheBallisticStart) {
    const Series s = sampled(langevin);
    const auto fit = fitDiffusion(s.time, s.msd);
    ASSERT_TRUE(fit);
    EXPECT_NEAR(diffusionCoefficient(fit->slope), kD, 1e-3 * kD);
    EXPECT_NEAR(fit->intercept, -6.0 * kD * kTau, 0.01 * 6.0 * kD * kTau);
    // Where the log-log slope is still above 1.2 (t < 6τ) the curve is not yet a line.
    EXPECT_GT(s.time[fit->first], 5.0 * kTau);
    EXPECT_LT(s.time[fit->first], 8.0 * kTau);
    EXPECT_EQ(fit->last, s.time.size() - 1);
}

TEST(Diffusion, StandardErrorCoversTheTrueSlopeUnderNoise) {
    std::mt19937 generator(12345);
    const Series s = sampled([&](double t) {
        const double u = static_cast<double>(generator()) / 4294967295.0 * 2.0 - 1.0;
        return langevin(t) * (1.0 + 0.02 * u);
    });
    const auto fit = fitDiffusion(s.time, s.msd);
    ASSERT_TRUE(fit);
    EXPECT_GT(fit->slopeError, 0.0);
    EXPECT_LT(fit->slopeError, 0.01 * 6.0 * kD);
    EXPECT_NEAR(fit->slope, 6.0 * kD, 4.0 * fit->slopeError);
    EXPECT_GT(s.time[fit->first], 4.0 * kTau);
}

TEST(Diffusion, WindowStopsWhereTheMsdLevelsOff) {
    // As displacements folded back into a finite box would do.
    const Series s = sampled([](double t) { return langevin(std::min(t, 20.0)); });
    const auto fit = fitDiffusion(s.time, s.msd);
    ASSERT_TRUE(fit);
    EXPECT_LE(s.time[fit->last], 20.0);
    EXPECT_NEAR(diffusionCoefficient(fit->slope), kD, 0.01 * kD);
}

TEST(Diffusion, NoFitWithoutALinearStretch) {
    const Series ballistic = sampled([](double t) { return 43.6 * t * t; });
    EXPECT_FALSE(fitDiffusion(ballistic.time, ballistic.msd));
    const Series shortRun{{0.0, 0.04, 0.08, 0.12}, {0.0, 0.2, 0.5, 0.8}};
    EXPECT_FALSE(fitDiffusion(shortRun.time, shortRun.msd));
}

}  // namespace
