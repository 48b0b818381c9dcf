#include "analysis/compute/diffusion.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/compute/least_squares.h"

namespace {

// The least-squares line of the averaged MSD against the lag time over lags [first, last].
Line msdLine(const MsdAverage& m, std::size_t first, std::size_t last) {
    const auto t = [&](std::size_t k) { return lagTime(m, k); };
    const auto y = [&](std::size_t k) { return m.msd[k]; };
    return lineThrough(momentsOf(t, y, first, last));
}

// The standard error of D as the spread of the atoms' own D, each from its own MSD averaged over
// every origin and fitted over the same lags, formed again lag by lag rather than kept.
double atomsSpread(const MsdAverage& m, const UnwrappedTrajectory& t, const DiffusionFit& fit) {
    std::vector<Moments> own(m.atomCount);
    std::vector<double> atLag;
    for (std::size_t k = fit.first; k <= fit.last; ++k) {
        atomMsdAtLag(t, m, k, atLag);
        for (std::size_t a = 0; a < m.atomCount; ++a) {
            own[a] = merged(own[a], pointMoments(lagTime(m, k), atLag[a]));
        }
    }
    const double n = static_cast<double>(m.atomCount);
    double mean = 0.0;
    for (const Moments& atom : own) {
        mean += diffusionFromSlope(slopeOf(atom));
    }
    mean /= n;
    double squares = 0.0;
    for (const Moments& atom : own) {
        const double d = diffusionFromSlope(slopeOf(atom));
        squares += (d - mean) * (d - mean);
    }
    return std::sqrt(squares / (n - 1.0)) / std::sqrt(n);
}

}  // namespace

std::optional<double> memoryTime(const MsdAverage& m) {
    if (m.msd.size() < 3 || !(m.msd[1] > 0.0)) {
        return std::nullopt;
    }
    const double dt = lagTime(m, 1);
    const double vx2 = m.msd[1] / (3.0 * dt * dt);
    const std::size_t last = m.msd.size() - 1;
    const double d = diffusionFromSlope(msdLine(m, last / 2, last).slope);
    // Atoms that do not spread out over the second half of the lags have no memory time.
    const double tau = d / vx2;
    if (!(d > 0.0 && std::isfinite(tau) && tau > 0.0)) {
        return std::nullopt;
    }
    return tau;
}

namespace {

// The first lag of the window, at or after kMemoryTimes memory times, in whole lags; at least
// the first.
double windowStart(const MsdAverage& m, double tau) {
    return std::max(1.0, std::ceil(kMemoryTimes * tau / lagTime(m, 1)));
}

}  // namespace

std::optional<DiffusionNeeds> whatDiffusionNeeds(const MsdAverage& m) {
    const auto tau = memoryTime(m);
    if (!tau) {
        return std::nullopt;
    }
    // The longest lag is half the frames from the first origin: twice the window's last lag.
    const double lastLag = windowStart(m, *tau) + static_cast<double>(kMinimumWindowLags) - 1.0;
    return DiffusionNeeds{*tau, m.firstOriginTime + (2.0 * lastLag - 1.0) * m.lagInterval};
}

std::optional<DiffusionFit> fitDiffusion(const MsdAverage& m, const UnwrappedTrajectory& t) {
    const auto tau = memoryTime(m);
    if (!tau || m.atomCount < 2) {
        return std::nullopt;
    }
    const double start = windowStart(m, *tau);
    if (!(start + static_cast<double>(kMinimumWindowLags) <= static_cast<double>(m.msd.size()))) {
        return std::nullopt;
    }
    DiffusionFit fit;
    fit.memoryTime = *tau;
    fit.first = static_cast<std::size_t>(start);
    fit.last = m.msd.size() - 1;
    const Line line = msdLine(m, fit.first, fit.last);
    fit.slope = line.slope;
    fit.intercept = line.intercept;
    fit.d = diffusionFromSlope(line.slope);
    if (!(fit.d > 0.0)) {
        return std::nullopt;
    }
    fit.dError = atomsSpread(m, t, fit);
    return fit;
}
