#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "analysis/compute/single_origin_fit_for_comparison.h"

namespace {

// MSD (Å²) of a particle whose velocity forgets itself over 1 ps, with D = 20 Å²/ps: ballistic,
// 3 D t², well before 1 ps, 6 D (t − 1 ps) well after. Where its log-log slope is above 1.2
// (t < 6 ps) it is not yet a line.
double langevin(double t) {
    return 120.0 * (t - 1.0 + std::exp(-t));
}

TEST(SingleOriginFit, FitsTheLinearStretchAfterTheBallisticStart) {
    const std::tuple<const char*, double (*)(double), double, double> cases[] = {
        // Name, MSD (Å²) at t (ps), bias on the slope allowed beyond four standard errors
        // (relative), and a time (ps) that the window ends at most 3 ps before; 0: no fit.
        {"clean", langevin, 1e-3, 39.96},
        {"2% noise",
         [](double t) {
             static std::mt19937 generator(12345);
             return langevin(t) * (1.0 + 0.02 * (generator() / 2147483647.5 - 1.0));
         },
         0.0, 39.96},
        // As displacements folded back into a finite box would do.
        {"levelling off", [](double t) { return langevin(std::min(t, 20.0)); }, 1e-3, 20.0},
        {"ballistic only", [](double t) { return 43.6 * t * t; }, 0.0, 0.0},
    };
    for (const auto& [what, msdAt, bias, end] : cases) {
        SCOPED_TRACE(what);
        std::vector<double> time, msd;  // sampled as a run samples
        for (int i = 0; i < 1000; ++i) {
            time.push_back(0.04 * i);
            msd.push_back(msdAt(time.back()));
        }
        const auto fit = fitSingleOrigin(time, msd);
        ASSERT_EQ(fit.has_value(), end > 0.0);
        if (!fit) continue;
        EXPECT_NEAR(fit->line.slope, 120.0, 4.0 * fit->line.slopeError + bias * 120.0);
        EXPECT_LT(fit->line.slopeError, 1.0);
        EXPECT_TRUE(time[fit->first] > 4.0 && time[fit->first] < 8.0) << time[fit->first];
        EXPECT_TRUE(time[fit->last] <= end && time[fit->last] > end - 3.0) << time[fit->last];
    }
}

// The local slopes, whose sums slide with the span, against each span's slope formed afresh
// about its own means, on a noisy series where log t lies far from 0, with one sample whose MSD
// cannot be logged: no span that holds it has a slope.
TEST(SingleOriginFit, SlidingLocalSlopesMatchThoseOfEachSpanAlone) {
    std::mt19937 generator(7);
    std::vector<double> time, msd;
    for (int i = 0; i < 3000; ++i) {
        time.push_back(1e6 * std::pow(1.001, i));  // ps
        msd.push_back(120.0 * time.back() * (1.0 + 0.05 * (generator() / 4294967296.0)));
    }
    msd[1500] = 0.0;
    const std::vector<double> slopes = localLogSlopes(time, msd);
    for (std::size_t i = 0; i < time.size(); i += 7) {
        if (msd[i] <= 0.0) continue;
        // The span reaches back past an unusable sample, but not forward to one.
        std::size_t first = 0, last = i;
        while (time[first] < time[i] / kLocalSlopeSpan) ++first;
        while (last + 1 < time.size() && msd[last + 1] > 0.0 &&
               time[last + 1] <= time[i] * kLocalSlopeSpan)
            ++last;
        double mx = 0.0, my = 0.0, sxx = 0.0, sxy = 0.0;
        for (std::size_t k = first; k <= last; ++k) mx += std::log(time[k]), my += std::log(msd[k]);
        mx /= static_cast<double>(last - first + 1);
        my /= static_cast<double>(last - first + 1);
        for (std::size_t k = first; k <= last; ++k) {
            sxx += (std::log(time[k]) - mx) * (std::log(time[k]) - mx);
            sxy += (std::log(time[k]) - mx) * (std::log(msd[k]) - my);
        }
        if (std::isnan(sxy / sxx)) {
            EXPECT_TRUE(std::isnan(slopes[i])) << i;
        } else {
            EXPECT_NEAR(slopes[i], sxy / sxx, 1e-12) << i;
        }
    }
}

}  // namespace
