#pragma once

#include <cstddef>
#include <vector>

#include "analysis/compute/unwrap.h"

// The mean squared displacement averaged over every time origin: for a lag of k frames, the mean
// of |r(o + k) - r(o)|² over all origins o and all atoms. The origins start at a given frame (the
// first after t_eq, compute/equilibration.h), so that the hot start is left out; lags run up to
// half the frames from there, where half of them are still origins; longer lags rest on too few.
struct MsdAverage {
    double lagInterval = 0.0;  // ps between successive lags
    std::size_t atomCount = 0;
    std::size_t firstOrigin = 0;       // frame
    double firstOriginTime = 0.0;      // ps
    std::size_t frames = 0;            // averaged over: those from the first origin on
    std::vector<double> msd;           // per lag, from 0, Å²
    std::vector<std::size_t> origins;  // per lag: the origins averaged
};

// Bounds that keep the work below about 10^6 frame pairs however long the run: the lags stop at
// kMostLags frames even before half the frames from the first origin, and a longer run takes every
// s-th frame as an origin, with s the smallest stride that leaves at most kMostOrigins of them. A
// run of 1000 frames is averaged over all its lags to half of those frames and all its origins.
inline constexpr std::size_t kMostLags = 1000;
inline constexpr std::size_t kMostOrigins = 1000;

// The count of frames from the first origin on, halved, but at most kMostLags: the longest lag,
// in frames.
std::size_t longestLag(std::size_t frames);

// Frames between successive origins, of `frames` from the first origin on.
std::size_t originStride(std::size_t frames);

// The origins from frame `firstOrigin` on; no lags when it is past the last frame. Work grows as
// frames × lags × atoms.
MsdAverage averageMsd(const UnwrappedTrajectory& trajectory, std::size_t firstOrigin);

// Each atom's own MSD at a lag of `lag` frames, averaged over the origins of `msd`, Å², into
// `own` (one per atom). Formed again where it is needed rather than kept for every lag, so that
// the unwrapped positions stay the only storage that grows with the run.
void atomMsdAtLag(const UnwrappedTrajectory& trajectory, const MsdAverage& msd, std::size_t lag,
                  std::vector<double>& own);

inline double lagTime(const MsdAverage& m, std::size_t lag) {
    return static_cast<double>(lag) * m.lagInterval;
}
