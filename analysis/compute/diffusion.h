#pragma once

#include <cstddef>
#include <optional>

#include "analysis/compute/msd_average.h"

// The self-diffusion coefficient D of the run, from the MSD averaged over every time origin.

// D = slope / 6: in three dimensions the MSD of a random walk grows as 6 D t (A. Einstein, Ann.
// Phys. 17, 549 (1905)), Å²/ps from a slope in Å²/ps.
inline double diffusionFromSlope(double msdSlope) {
    return msdSlope / 6.0;
}
// 1 Å²/ps = 1e-20 m² / 1e-12 s.
inline constexpr double kSquareMetresPerSecondPerSquareAngstromPerPs = 1e-8;

// Atoms fly freely at first (MSD ∝ t²), then, once their velocities are forgotten, walk at
// random: MSD → 6 D (t - τ). When the velocity correlation decays as e^(-t/τ), the Green-Kubo
// integral D = ∫ <v_x(0) v_x(t)> dt (R. Kubo, J. Phys. Soc. Jpn. 12, 570 (1957)) gives the memory
// time τ = D / <v_x²>. The fit starts at this many memory times, where e^-6 (a quarter of a
// percent) of the memory is left, and ends at the longest lag: half the frames from t_eq on.
inline constexpr double kMemoryTimes = 6.0;
// Fewer lags than this make no fit.
inline constexpr std::size_t kMinimumWindowLags = 10;

struct DiffusionFit {
    std::size_t first = 0;  // window of lags, both included, in frames
    std::size_t last = 0;
    double slope = 0.0;       // Å²/ps, least squares over the window of the averaged MSD
    double intercept = 0.0;   // Å²
    double d = 0.0;           // Å²/ps, slope / 6
    double memoryTime = 0.0;  // ps, τ that placed the window's start
    // Å²/ps: the standard deviation of the atoms' own D (each from its own averaged MSD over
    // the same window) over the square root of their number. The atoms are taken as
    // independent estimates; successive lags of one MSD are not, so the fit's own residuals
    // would understate the uncertainty.
    double dError = 0.0;
};

// The memory time τ = D / <v_x²>, ps: <v_x²> from the first lag, where the atoms still fly
// freely (MSD = 3 <v_x²> t²), and D from a line through the second half of the lags. None when
// there are fewer than three lags or the atoms do not spread out.
std::optional<double> memoryTime(const MsdAverage& msd);

// What a run needs for D, where its memory time can be measured: the lags from kMemoryTimes
// memory times on, and kMinimumWindowLags of them, reach no further than half the frames from
// the first origin.
struct DiffusionNeeds {
    double memoryTime = 0.0;  // ps
    double runLength = 0.0;   // ps: the time of the last frame such a run has
};
std::optional<DiffusionNeeds> whatDiffusionNeeds(const MsdAverage& msd);

// The fit over the lags from kMemoryTimes × memoryTime to the longest of `msd`, the averaged MSD
// of `trajectory`; none when that window holds fewer than kMinimumWindowLags lags, the line
// through it does not rise, or there are fewer than two atoms to estimate the error from.
std::optional<DiffusionFit> fitDiffusion(const MsdAverage& msd,
                                         const UnwrappedTrajectory& trajectory);
