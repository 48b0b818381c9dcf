#include "analysis/compute/msd_average.h"

#include <algorithm>

std::size_t longestLag(std::size_t frames) {
    return std::min(frames / 2, kMostLags);
}

std::size_t originStride(std::size_t frames) {
    return std::max<std::size_t>(1, (frames + kMostOrigins - 1) / kMostOrigins);
}

namespace {

// Origins at stride s among the first `span` frames from the first origin: 0, s, 2s, ...
std::size_t originCount(std::size_t span, std::size_t stride) {
    return (span + stride - 1) / stride;
}

// The frames from the first origin on.
std::size_t framesFromOrigin(const UnwrappedTrajectory& t, std::size_t firstOrigin) {
    return frameCount(t) - std::min(firstOrigin, frameCount(t));
}

}  // namespace

void atomMsdAtLag(const UnwrappedTrajectory& t, const MsdAverage& m, std::size_t lag,
                  std::vector<double>& own) {
    const std::size_t atoms = t.atomCount;
    const std::size_t frameSize = atoms * 3;
    const std::size_t frames = framesFromOrigin(t, m.firstOrigin);
    const std::size_t span = frames - lag;
    const std::size_t stride = originStride(frames);
    own.assign(atoms, 0.0);
    for (std::size_t o = 0; o < span; o += stride) {
        const double* from = &t.positions[(m.firstOrigin + o) * frameSize];
        const double* to = from + lag * frameSize;
        for (std::size_t a = 0; a < atoms; ++a) {
            const double dx = to[3 * a] - from[3 * a];
            const double dy = to[3 * a + 1] - from[3 * a + 1];
            const double dz = to[3 * a + 2] - from[3 * a + 2];
            own[a] += dx * dx + dy * dy + dz * dz;
        }
    }
    for (double& sum : own) {
        sum /= static_cast<double>(originCount(span, stride));
    }
}

MsdAverage averageMsd(const UnwrappedTrajectory& t, std::size_t firstOrigin) {
    const std::size_t frames = framesFromOrigin(t, firstOrigin);
    const std::size_t lags = frames == 0 ? 0 : longestLag(frames) + 1;
    MsdAverage m;
    m.lagInterval = t.clock.interval;
    m.atomCount = t.atomCount;
    m.firstOrigin = firstOrigin;
    m.firstOriginTime = frameTime(t.clock, firstOrigin);
    m.frames = frames;
    m.msd.assign(lags, 0.0);
    m.origins.assign(lags, 0);
    std::vector<double> own;
    for (std::size_t lag = 0; lag < lags; ++lag) {
        atomMsdAtLag(t, m, lag, own);
        m.origins[lag] = originCount(frames - lag, originStride(frames));
        double total = 0.0;
        for (double value : own) {
            total += value;
        }
        m.msd[lag] = total / static_cast<double>(t.atomCount);
    }
    return m;
}
