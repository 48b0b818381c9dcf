#pragma once

#include <cstddef>
#include <vector>

#include "analysis/unwrap.h"

// The mean squared displacement averaged over every time origin: for a lag of k frames, the mean
// of |r(o + k) - r(o)|² over all origins o and all atoms. Lags run up to half the run, where half
// the frames are still origins; longer lags rest on too few of them.
struct MsdAverage {
    double lagInterval = 0.0;  // ps between successive lags
    std::size_t atomCount = 0;
    std::vector<double> msd;           // per lag, from 0, Å²
    std::vector<std::size_t> origins;  // per lag: the origins averaged
    std::vector<double> atomMsd;       // per atom (atom-major, then lag): its own average, Å²
};

// The frame count, halved: the longest lag, in frames.
std::size_t longestLag(std::size_t frames);

// Work grows as frames × lags × atoms.
MsdAverage averageMsd(const UnwrappedTrajectory& trajectory);

inline double lagTime(const MsdAverage& m, std::size_t lag) {
    return static_cast<double>(lag) * m.lagInterval;
}
