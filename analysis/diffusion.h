#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// The MSD grows as t² while atoms fly freely between collisions and as 6 D t once their motion
// is a random walk. The fit keeps to the samples where log MSD against log t has a slope within
// this distance of 1.
inline constexpr double kDiffusiveSlopeTolerance = 0.2;
// A local slope is a least-squares slope over the samples within this factor of t either side.
inline constexpr double kLocalSlopeSpan = 1.4142135623730951;  // √2: a factor 2 in all
inline constexpr std::size_t kMinimumFitPoints = 10;

struct DiffusionFit {
    std::size_t first = 0;  // window as indices into the series, both included
    std::size_t last = 0;
    double slope = 0.0;       // Å²/ps
    double slopeError = 0.0;  // Å²/ps, least-squares standard error
    double intercept = 0.0;   // Å²
};

// Local slope of log MSD against log t at each sample; NaN where t or MSD is not positive or
// fewer than three samples lie within the span.
std::vector<double> localLogSlopes(std::span<const double> time, std::span<const double> msd);

// The least-squares line MSD = intercept + slope × t over the longest run of samples whose
// local slope is diffusive; none if that run is shorter than kMinimumFitPoints.
// `time` in ps, `msd` in Å², `time` increasing.
std::optional<DiffusionFit> fitDiffusion(std::span<const double> time, std::span<const double> msd);

// D = slope / 6 in three dimensions, Å²/ps.
inline double diffusionCoefficient(double msdSlope) {
    return msdSlope / 6.0;
}
// 1 Å²/ps = 1e-20 m² / 1e-12 s.
inline constexpr double kSquareMetresPerSecondPerSquareAngstromPerPs = 1e-8;
