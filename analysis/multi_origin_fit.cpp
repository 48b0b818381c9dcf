#include "analysis/multi_origin_fit.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

namespace {

// Least-squares slope and intercept of y against the lag times of [first, last], about the
// means for accuracy.
struct Line {
    double slope = 0.0;
    double intercept = 0.0;
};

Line fitLine(const MsdAverage& m, std::span<const double> y, std::size_t first, std::size_t last) {
    const double n = static_cast<double>(last - first + 1);
    double meanT = 0.0;
    double meanY = 0.0;
    for (std::size_t k = first; k <= last; ++k) {
        meanT += lagTime(m, k);
        meanY += y[k];
    }
    meanT /= n;
    meanY /= n;
    double stt = 0.0;
    double sty = 0.0;
    for (std::size_t k = first; k <= last; ++k) {
        stt += (lagTime(m, k) - meanT) * (lagTime(m, k) - meanT);
        sty += (lagTime(m, k) - meanT) * (y[k] - meanY);
    }
    const double slope = sty / stt;
    return {slope, meanY - slope * meanT};
}

double diffusionOf(double slope) {
    return slope / 6.0;  // three dimensions
}

}  // namespace

std::optional<double> memoryTime(const MsdAverage& m) {
    if (m.msd.size() < 3 || !(m.msd[1] > 0.0)) {
        return std::nullopt;
    }
    const double dt = lagTime(m, 1);
    const double vx2 = m.msd[1] / (3.0 * dt * dt);
    const std::size_t last = m.msd.size() - 1;
    const double d = diffusionOf(fitLine(m, m.msd, last / 2, last).slope);
    // Atoms that do not spread out over the second half of the lags have no memory time.
    const double tau = d / vx2;
    if (!(d > 0.0 && std::isfinite(tau) && tau > 0.0)) {
        return std::nullopt;
    }
    return tau;
}

std::optional<MultiOriginFit> fitMultiOrigin(const MsdAverage& m, const UnwrappedTrajectory& t) {
    const auto tau = memoryTime(m);
    if (!tau || m.atomCount < 2) {
        return std::nullopt;
    }
    // The first lag at or after the start, in whole lags; at least the first.
    const double start = std::max(1.0, std::ceil(kMemoryTimes * *tau / lagTime(m, 1)));
    if (!(start + static_cast<double>(kMinimumWindowLags) <= static_cast<double>(m.msd.size()))) {
        return std::nullopt;
    }
    MultiOriginFit fit;
    fit.memoryTime = *tau;
    fit.first = static_cast<std::size_t>(start);
    fit.last = m.msd.size() - 1;
    const Line line = fitLine(m, m.msd, fit.first, fit.last);
    fit.slope = line.slope;
    fit.intercept = line.intercept;
    fit.d = diffusionOf(line.slope);
    if (!(fit.d > 0.0)) {
        return std::nullopt;
    }

    // Each atom's own slope over the window, lag by lag: with the lag times centred,
    // Σ (t - mean t) y / Σ (t - mean t)² is the least-squares slope.
    double meanT = 0.0;
    for (std::size_t k = fit.first; k <= fit.last; ++k) {
        meanT += lagTime(m, k);
    }
    meanT /= static_cast<double>(fit.last - fit.first + 1);
    double stt = 0.0;
    std::vector<double> sty(m.atomCount, 0.0);
    std::vector<double> atLag;
    for (std::size_t k = fit.first; k <= fit.last; ++k) {
        const double centred = lagTime(m, k) - meanT;
        stt += centred * centred;
        atomMsdAtLag(t, k, atLag);
        for (std::size_t a = 0; a < m.atomCount; ++a) {
            sty[a] += centred * atLag[a];
        }
    }
    std::vector<double> own(m.atomCount);
    double mean = 0.0;
    for (std::size_t a = 0; a < m.atomCount; ++a) {
        own[a] = diffusionOf(sty[a] / stt);
        mean += own[a];
    }
    const double n = static_cast<double>(m.atomCount);
    mean /= n;
    double squares = 0.0;
    for (double d : own) {
        squares += (d - mean) * (d - mean);
    }
    fit.dError = std::sqrt(squares / (n - 1.0)) / std::sqrt(n);
    return fit;
}
