#include "analysis/rdf.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kSmoothingHalfWidth = 2;  // bins either side, weights falling by one per bin
// The first shell of a simple fluid ends by about 1.5 times the peak's distance; in a hot gas
// g falls from its peak into noise about 1 with no clear minimum, and the lowest point out to
// twice the peak's distance stands for it.
constexpr std::size_t kMinimumSearchReach = 2;

std::vector<double> smoothed(const std::vector<double>& g) {
    const auto n = static_cast<long>(g.size());
    std::vector<double> s(g.size());
    for (long i = 0; i < n; ++i) {
        double sum = 0.0;
        double weights = 0.0;
        for (long j = std::max(0L, i - kSmoothingHalfWidth);
             j <= std::min(n - 1, i + kSmoothingHalfWidth); ++j) {
            const auto w = static_cast<double>(kSmoothingHalfWidth + 1 - std::abs(j - i));
            sum += w * g[static_cast<std::size_t>(j)];
            weights += w;
        }
        s[static_cast<std::size_t>(i)] = sum / weights;
    }
    return s;
}

}  // namespace

std::size_t settledFrame(const UnwrappedTrajectory& t) {
    const std::size_t frames = frameCount(t);
    std::size_t frame = 0;
    while (frame < frames && frameTimePs(t, frame) < kRdfStartTime) {
        ++frame;
    }
    return frame;
}

Rdf radialDistribution(const UnwrappedTrajectory& t, std::size_t firstFrame) {
    Rdf rdf;
    rdf.firstFrame = firstFrame;
    const std::size_t settled = frameCount(t) - std::min(firstFrame, frameCount(t));
    const double pairsPerFrame =
        static_cast<double>(t.atomCount) * (static_cast<double>(t.atomCount) - 1.0) / 2.0;
    rdf.frameStride = std::max<std::size_t>(
        1, static_cast<std::size_t>(
               std::ceil(static_cast<double>(settled) * pairsPerFrame / kMostPairSamples)));
    rdf.frames = (settled + rdf.frameStride - 1) / rdf.frameStride;
    const double halfEdge = std::min({t.edge[0], t.edge[1], t.edge[2]}) / 2.0;
    const auto bins = static_cast<std::size_t>(std::floor(halfEdge / rdf.binWidth));
    const double reach = static_cast<double>(bins) * rdf.binWidth;
    std::vector<double> counts(bins, 0.0);
    const std::size_t atoms = t.atomCount;
    for (std::size_t f = firstFrame; f < frameCount(t); f += rdf.frameStride) {
        for (std::size_t i = 0; i < atoms; ++i) {
            for (std::size_t j = i + 1; j < atoms; ++j) {
                double r2 = 0.0;
                for (std::size_t axis = 0; axis < 3; ++axis) {
                    double d = coordinate(t, f, i, axis) - coordinate(t, f, j, axis);
                    d -= t.edge[axis] * std::round(d / t.edge[axis]);
                    r2 += d * d;
                }
                const double r = std::sqrt(r2);
                if (r < reach) {
                    counts[std::min(bins - 1, static_cast<std::size_t>(r / rdf.binWidth))] += 1.0;
                }
            }
        }
    }
    // An ideal gas puts each of the N (N - 1) / 2 pairs in a shell with the chance of the
    // shell's share of the cell's volume.
    const double volume = t.edge[0] * t.edge[1] * t.edge[2];
    const auto n = static_cast<double>(atoms);
    const double pairSamples = static_cast<double>(rdf.frames) * n * (n - 1.0) / 2.0;
    rdf.g.resize(bins);
    rdf.neighbours.resize(bins);
    double cumulative = 0.0;
    for (std::size_t b = 0; b < bins; ++b) {
        const double inner = static_cast<double>(b) * rdf.binWidth;
        const double outer = inner + rdf.binWidth;
        const double shell =
            4.0 / 3.0 * std::numbers::pi * (outer * outer * outer - inner * inner * inner);
        rdf.g[b] = counts[b] / (pairSamples * shell / volume);
        // Each pair is a neighbour of both its atoms.
        cumulative += counts[b];
        rdf.neighbours[b] = 2.0 * cumulative / (static_cast<double>(rdf.frames) * n);
    }
    return rdf;
}

std::optional<FirstShell> firstShell(const Rdf& rdf) {
    const std::vector<double> s = smoothed(rdf.g);
    std::size_t rise = 0;
    while (rise < s.size() && !(s[rise] >= 1.0)) {
        ++rise;
    }
    if (rise == s.size()) {
        return std::nullopt;
    }
    FirstShell shell;
    shell.peak = rise;
    for (std::size_t b = rise; b < s.size() && s[b] >= 1.0; ++b) {
        if (s[b] > s[shell.peak]) {
            shell.peak = b;
        }
    }
    shell.minimum = shell.peak;
    const std::size_t reach = std::min(s.size(), kMinimumSearchReach * (shell.peak + 1));
    for (std::size_t b = shell.peak; b < reach; ++b) {
        if (s[b] < s[shell.minimum]) {
            shell.minimum = b;
        }
    }
    shell.peakHeight = s[shell.peak];
    shell.minimumValue = s[shell.minimum];
    shell.coordination = rdf.neighbours[shell.minimum];
    return shell;
}
