#include "analysis/compute/rdf.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace {

constexpr int kSmoothingHalfWidth = 2;  // bins either side, weights falling by one per bin
// The first shell of a simple fluid ends by about 1.5 times the peak's distance; the minimum is
// sought out to twice it.
constexpr std::size_t kMinimumSearchReach = 2;

double smoothingWeight(long offset) {
    return static_cast<double>(kSmoothingHalfWidth + 1 - std::abs(offset));
}

// Σ w_j x_j / Σ w_j over the bins j within kSmoothingHalfWidth of `i`, with x_j = value(j); and
// with `squared` the weights squared over the square of their sum, for a variance.
template <typename Value>
double smoothedAt(std::size_t size, std::size_t i, Value value, bool squared = false) {
    const auto n = static_cast<long>(size);
    const auto at = static_cast<long>(i);
    double sum = 0.0;
    double weights = 0.0;
    for (long j = std::max(0L, at - kSmoothingHalfWidth);
         j <= std::min(n - 1, at + kSmoothingHalfWidth); ++j) {
        const double w = smoothingWeight(j - at);
        sum += (squared ? w * w : w) * value(static_cast<std::size_t>(j));
        weights += w;
    }
    return sum / (squared ? weights * weights : weights);
}

// The variance of the blocks' counts over their mean, averaged over the bins from the first
// non-empty one on that hold enough pairs per block; only the filled blocks count. None when
// fewer than two blocks filled (a position.dat cut short) or no bin holds enough pairs.
std::optional<double> measuredDispersion(const RdfAnalysis& a, std::size_t filled) {
    const std::size_t bins = a.counts.size();
    if (filled < 2) return std::nullopt;
    double sum = 0.0;
    std::size_t used = 0;
    for (std::size_t b = 0; b < bins; ++b) {
        double mean = 0.0;
        for (std::size_t k = 0; k < filled; ++k) mean += a.blockCounts[k * bins + b];
        mean /= static_cast<double>(filled);
        if (mean < kFewestForDispersion) continue;
        double squares = 0.0;
        for (std::size_t k = 0; k < filled; ++k) {
            const double d = a.blockCounts[k * bins + b] - mean;
            squares += d * d;
        }
        sum += squares / static_cast<double>(filled - 1) / mean;
        ++used;
    }
    if (used == 0) return std::nullopt;
    return std::max(1.0, sum / static_cast<double>(used));
}

}  // namespace

RdfAnalysis prepareRdf(std::size_t atomCount, const Edges& edge, const FrameClock& clock,
                       std::size_t mostFrames) {
    RdfAnalysis rdf;
    rdf.atomCount = atomCount;
    rdf.edge = edge;
    rdf.firstFrame = firstSettledFrame(clock, mostFrames);
    rdf.fromTime = frameTime(clock, rdf.firstFrame);
    const std::size_t settled = mostFrames - rdf.firstFrame;
    const double pairsPerFrame =
        static_cast<double>(atomCount) * (static_cast<double>(atomCount) - 1.0) / 2.0;
    rdf.frameStride = std::max<std::size_t>(
        1, static_cast<std::size_t>(
               std::ceil(static_cast<double>(settled) * pairsPerFrame / kMostPairSamples)));
    const std::size_t counted = (settled + rdf.frameStride - 1) / rdf.frameStride;
    rdf.blockFrames = std::max<std::size_t>(1, counted / kRdfBlocks);
    const double halfEdge = std::min({edge[0], edge[1], edge[2]}) / 2.0;
    const auto bins = static_cast<std::size_t>(std::floor(halfEdge / kRdfBinWidth));
    rdf.reach = static_cast<double>(bins) * kRdfBinWidth;
    rdf.counts.assign(bins, 0.0);
    rdf.blockCounts.assign(bins * kRdfBlocks, 0.0);
    return rdf;
}

void addFrame(RdfAnalysis& rdf, std::size_t frame, std::span<const double> xyz) {
    if (frame < rdf.firstFrame || (frame - rdf.firstFrame) % rdf.frameStride != 0) {
        return;
    }
    const std::size_t bins = rdf.counts.size();
    // Frames beyond the last whole block are counted in no block.
    const std::size_t block = rdf.frames / rdf.blockFrames;
    double* blockCounts = block < kRdfBlocks ? &rdf.blockCounts[block * bins] : nullptr;
    ++rdf.frames;
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
                const std::size_t bin =
                    std::min(bins - 1, static_cast<std::size_t>(r / kRdfBinWidth));
                rdf.counts[bin] += 1.0;
                if (blockCounts != nullptr) blockCounts[bin] += 1.0;
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
    rdf.ideal.resize(bins);
    double cumulative = 0.0;
    for (std::size_t b = 0; b < bins; ++b) {
        const double inner = static_cast<double>(b) * rdf.binWidth;
        const double outer = inner + rdf.binWidth;
        const double shell =
            4.0 / 3.0 * std::numbers::pi * (outer * outer * outer - inner * inner * inner);
        rdf.ideal[b] = pairSamples * shell / volume;
        rdf.g[b] = analysis.counts[b] / rdf.ideal[b];
        // Each pair is a neighbour of both its atoms.
        cumulative += analysis.counts[b];
        rdf.neighbours[b] = 2.0 * cumulative / (static_cast<double>(rdf.frames) * n);
    }
    const std::optional<double> dispersion =
        measuredDispersion(analysis, std::min(kRdfBlocks, analysis.frames / analysis.blockFrames));
    rdf.dispersionMeasured = dispersion.has_value();
    rdf.dispersion = dispersion.value_or(1.0);
    return rdf;
}

double binNoise(const Rdf& rdf, std::size_t bin, double g) {
    return std::sqrt(rdf.dispersion * g / rdf.ideal[bin]);
}

std::vector<double> smoothedG(const Rdf& rdf) {
    std::vector<double> s(rdf.g.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        s[i] = smoothedAt(s.size(), i, [&](std::size_t j) { return rdf.g[j]; });
    }
    return s;
}

std::optional<FirstShell> firstShell(const Rdf& rdf) {
    const std::vector<double> s = smoothedG(rdf);
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
    // The smoothed g's variance where g = 1: Σ w² σ_j² / (Σ w)², σ_j² = dispersion / ideal_j.
    shell.minimumNoise = std::sqrt(smoothedAt(
        s.size(), shell.minimum, [&](std::size_t j) { return rdf.dispersion / rdf.ideal[j]; },
        true));
    shell.significant = 1.0 - shell.minimumValue > kShellSignificance * shell.minimumNoise;
    shell.coordination = rdf.neighbours[shell.minimum];
    return shell;
}
