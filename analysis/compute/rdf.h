#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "analysis/compute/cell.h"
#include "analysis/compute/equilibration.h"

// g(r), the radial distribution function, of all pairs at their minimum image, in bins up to half
// the shortest edge, beyond which the nearest image no longer sees the whole shell, from t_eq
// on. The frames stream past (prepareRdf, addFrame, concludeRdf).
inline constexpr double kRdfBinWidth = 0.05;  // Å

// Pairs counted at most, over all frames: a longer or larger run takes every s-th frame, with s
// the smallest stride that keeps within it (a run of 50 atoms keeps every frame of 80,000).
inline constexpr double kMostPairSamples = 1e8;

// The frames counted are also counted in this many blocks of successive frames, whose scatter
// measures the bins' noise (concludeRdf).
inline constexpr std::size_t kRdfBlocks = 16;

struct RdfAnalysis {
    std::size_t atomCount = 0;
    Edges edge{};                // Å
    std::size_t firstFrame = 0;  // the first frame at or after t_eq
    std::size_t frameStride = 1;
    std::size_t blockFrames = 1;      // frames counted per block
    double fromTime = 0.0;            // ps, of the first frame
    double reach = 0.0;               // Å, the outer edge of the last bin
    std::size_t frames = 0;           // counted so far
    std::vector<double> counts;       // pairs per bin
    std::vector<double> blockCounts;  // pairs per bin of each block, block after block
};

// For frames of `atomCount` atoms in a cell of `edge`, taken by `clock`, of which at most
// `mostFrames` will come: the stride keeps the pairs of that many within kMostPairSamples.
RdfAnalysis prepareRdf(std::size_t atomCount, const Edges& edge, const FrameClock& clock,
                       std::size_t mostFrames);

// Counts the pairs of frame `frame` (x y z per atom, Å) when it is one of the frames counted.
void addFrame(RdfAnalysis& analysis, std::size_t frame, std::span<const double> xyz);

struct Rdf {
    double binWidth = kRdfBinWidth;  // Å
    std::size_t frames = 0;          // counted
    double fromTime = 0.0;           // ps, of the first frame counted
    std::vector<double> g;           // per bin; an ideal gas of the same density gives 1
    std::vector<double> neighbours;  // per bin: mean neighbours of an atom out to its outer edge
    std::vector<double> ideal;       // per bin: the pairs an ideal gas would have put in it
    // The bins' counts scatter by √(dispersion × count): a Poisson count's scatter, widened
    // because successive frames are alike. Measured as the variance of the blocks' counts over
    // their mean, averaged over the bins that hold at least kFewestForDispersion pairs per
    // block; never below 1 (Poisson), and taken as 1 where it could not be measured: fewer than
    // two blocks filled, or no bin held enough pairs.
    double dispersion = 1.0;
    bool dispersionMeasured = false;
};

inline constexpr double kFewestForDispersion = 5.0;

// None when no frame from t_eq on came, or there are fewer than two atoms.
std::optional<Rdf> concludeRdf(const RdfAnalysis& analysis);

inline double binCentre(const Rdf& rdf, std::size_t bin) {
    return (static_cast<double>(bin) + 0.5) * rdf.binWidth;
}

// The scatter of g in bin `bin` where its count is what `g` gives: √(dispersion × count) / ideal.
double binNoise(const Rdf& rdf, std::size_t bin, double g);

// g smoothed over five bins with weights 1 2 3 2 1 (a single-bin peak stays in its bin).
std::vector<double> smoothedG(const Rdf& rdf);

// The first coordination shell, found on the smoothed g: the peak is the highest bin of the
// first stretch where g is at least 1, the minimum the lowest bin from the peak out to twice its
// distance. In a dilute gas g falls from its peak into noise about 1: the lowest point there is
// noise, and the minimum is taken for the end of a shell only where it lies below 1 by more than
// kShellSignificance times the smoothed g's noise where g = 1. The lowest of some thirty points
// of noise (the bins from the peak to twice its distance, smoothed) falls below three times the
// noise about one run in twenty-five, below four about one in a thousand.
inline constexpr double kShellSignificance = 4.0;

struct FirstShell {
    std::size_t peak = 0;  // bins
    std::size_t minimum = 0;
    double peakHeight = 0.0;    // smoothed g
    double minimumValue = 0.0;  // smoothed g
    double minimumNoise = 0.0;  // of the smoothed g at the minimum where g = 1
    bool significant = false;   // 1 - minimumValue > kShellSignificance × minimumNoise
    double coordination = 0.0;  // mean neighbours out to the minimum bin's outer edge
};

// None when g never reaches 1.
std::optional<FirstShell> firstShell(const Rdf& rdf);
