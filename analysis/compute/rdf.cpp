#include "analysis/compute/rdf.h"

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

RdfAnalysis prepareRdf(std::size_t atomCount, const Edges& edge, const FrameClock& clock,
                       std::size_t mostFrames) {
    RdfAnalysis rdf;
    rdf.atomCount = atomCount;
    rdf.edge = edge;
    rdf.firstFrame = firstSettledFrame(clock, mostFrames);
    rdf.fromTime = frameTime(clock, rdf.firstFrame);
    const std::size_t settled = mostFrames - std::min(rdf.firstFrame, mostFrames);
    const double pairsPerFrame =
        static_cast<double>(atomCount) * (static_cast<double>(atomCount) - 1.0) / 2.0;
    rdf.frameStride = std::max<std::size_t>(
        1, static_cast<std::size_t>(
               std::ceil(static_cast<double>(settled) * pairsPerFrame / kMostPairSamples)));
    const double halfEdge = std::min({edge[0], edge[1], edge[2]}) / 2.0;
    const auto bins = static_cast<std::size_t>(std::floor(halfEdge / kRdfBinWidth));
    rdf.reach = static_cast<double>(bins) * kRdfBinWidth;
    rdf.counts.assign(bins, 0.0);
    return rdf;
}

void addFrame(RdfAnalysis& rdf, std::size_t frame, std::span<const double> xyz) {
    if (frame < rdf.firstFrame || (frame - rdf.firstFrame) % rdf.frameStride != 0) {
        return;
    }
    ++rdf.frames;
    const std::size_t bins = rdf.counts.size();
    for (std::size_t i = 0; i < rdf.atomCount; ++i) {
        for (std::size_t j = i + 1; j < rdf.atomCount; ++j) {
            double r2 = 0.0;
            for (std::size_t axis = 0; axis < 3; ++axis) {
                const double d =
                    minimumImage(xyz[3 * i + axis] - xyz[3 * j + axis], rdf.edge[axis]);
                r2 += d * d;
            }
            const double r = std::sqrt(r2);
            if (r < rdf.reach) {
                rdf.counts[std::min(bins - 1, static_cast<std::size_t>(r / kRdfBinWidth))] += 1.0;
            }
        }
    }
}

std::optional<Rdf> concludeRdf(const RdfAnalysis& analysis) {
    if (analysis.frames == 0 || analysis.atomCount < 2) {
        return std::nullopt;
    }
    Rdf rdf;
    rdf.frames = analysis.frames;
    rdf.fromTime = analysis.fromTime;
    // An ideal gas puts each of the N (N - 1) / 2 pairs in a shell with the chance of the
    // shell's share of the cell's volume.
    const auto& edge = analysis.edge;
    const double volume = edge[0] * edge[1] * edge[2];
    const auto n = static_cast<double>(analysis.atomCount);
    const double pairSamples = static_cast<double>(rdf.frames) * n * (n - 1.0) / 2.0;
    const std::size_t bins = analysis.counts.size();
    rdf.g.resize(bins);
    rdf.neighbours.resize(bins);
    double cumulative = 0.0;
    for (std::size_t b = 0; b < bins; ++b) {
        const double inner = static_cast<double>(b) * rdf.binWidth;
        const double outer = inner + rdf.binWidth;
        const double shell =
            4.0 / 3.0 * std::numbers::pi * (outer * outer * outer - inner * inner * inner);
        rdf.g[b] = analysis.counts[b] / (pairSamples * shell / volume);
        // Each pair is a neighbour of both its atoms.
        cumulative += analysis.counts[b];
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
