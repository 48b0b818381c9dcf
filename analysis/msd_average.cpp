#include "analysis/msd_average.h"

std::size_t longestLag(std::size_t frames) {
    return frames / 2;
}

void atomMsdAtLag(const UnwrappedTrajectory& t, std::size_t lag, std::vector<double>& own) {
    const std::size_t atoms = t.atomCount;
    const std::size_t frameSize = atoms * 3;
    const std::size_t origins = frameCount(t) - lag;
    own.assign(atoms, 0.0);
    for (std::size_t o = 0; o < origins; ++o) {
        const double* from = &t.positions[o * frameSize];
        const double* to = from + lag * frameSize;
        for (std::size_t a = 0; a < atoms; ++a) {
            const double dx = to[3 * a] - from[3 * a];
            const double dy = to[3 * a + 1] - from[3 * a + 1];
            const double dz = to[3 * a + 2] - from[3 * a + 2];
            own[a] += dx * dx + dy * dy + dz * dz;
        }
    }
    for (double& sum : own) {
        sum /= static_cast<double>(origins);
    }
}

MsdAverage averageMsd(const UnwrappedTrajectory& t) {
    const std::size_t frames = frameCount(t);
    const std::size_t lags = frames == 0 ? 0 : longestLag(frames) + 1;
    MsdAverage m;
    m.lagInterval = t.frameInterval;
    m.atomCount = t.atomCount;
    m.msd.assign(lags, 0.0);
    m.origins.assign(lags, 0);
    std::vector<double> own;
    for (std::size_t lag = 0; lag < lags; ++lag) {
        atomMsdAtLag(t, lag, own);
        m.origins[lag] = frames - lag;
        double total = 0.0;
        for (double value : own) {
            total += value;
        }
        m.msd[lag] = total / static_cast<double>(t.atomCount);
    }
    return m;
}
