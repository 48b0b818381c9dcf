#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "analysis/compute/least_squares.h"

// The older fit of D, kept for comparison with diffusion.h's: a line through the MSD of msd.dat,
// which has one time origin (the placement), over its longest stretch of diffusive growth.

// The MSD grows as t² while atoms fly freely between collisions and as 6 D t once their motion
// is a random walk. The fit keeps to the samples where log MSD against log t has a slope within
// this distance of 1.
inline constexpr double kDiffusiveSlopeTolerance = 0.2;
// A local slope is a least-squares slope over the samples within this factor of t either side.
inline constexpr double kLocalSlopeSpan = 1.4142135623730951;  // √2: a factor 2 in all
inline constexpr std::size_t kMinimumFitPoints = 10;

struct SingleOriginFit {
    std::size_t first = 0;  // window as indices into the series, both included
    std::size_t last = 0;
    // MSD = intercept + slope × t: slope Å²/ps with its least-squares standard error, which takes
    // successive samples as independent; intercept Å².
    Line line;
};

// Local slope of log MSD against log t at each sample; NaN where t or MSD is not positive or
// fewer than three samples lie within the span.
std::vector<double> localLogSlopes(std::span<const double> time, std::span<const double> msd);

// The least-squares line MSD = intercept + slope × t over the longest run of samples whose
// local slope is diffusive; none if that run is shorter than kMinimumFitPoints.
// `time` in ps, `msd` in Å², `time` increasing.
std::optional<SingleOriginFit> fitSingleOrigin(std::span<const double> time,
                                               std::span<const double> msd);
