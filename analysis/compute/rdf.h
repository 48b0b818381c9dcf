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

struct RdfAnalysis {
    std::size_t atomCount = 0;
    Edges edge{};                // Å
    std::size_t firstFrame = 0;  // the first frame at or after t_eq
    std::size_t frameStride = 1;
    double fromTime = 0.0;       // ps, of the first frame
    double reach = 0.0;          // Å, the outer edge of the last bin
    std::size_t frames = 0;      // counted so far
    std::vector<double> counts;  // pairs per bin
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
};

// None when no frame from t_eq on came, or there are fewer than two atoms.
std::optional<Rdf> concludeRdf(const RdfAnalysis& analysis);

inline double binCentre(const Rdf& rdf, std::size_t bin) {
    return (static_cast<double>(bin) + 0.5) * rdf.binWidth;
}

// The first coordination shell, found on g smoothed over five bins with weights 1 2 3 2 1 (a
// single-bin peak stays in its bin): the peak is the highest bin of the first stretch where g
// is at least 1, the minimum the lowest bin from the peak out to twice its distance.
struct FirstShell {
    std::size_t peak = 0;  // bins
    std::size_t minimum = 0;
    double peakHeight = 0.0;    // smoothed g
    double minimumValue = 0.0;  // smoothed g
    double coordination = 0.0;  // mean neighbours out to the minimum bin's outer edge
};

// None when g never reaches 1.
std::optional<FirstShell> firstShell(const Rdf& rdf);
