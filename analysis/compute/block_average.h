#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// The mean of a correlated series and its standard error by block averaging (Flyvbjerg and
// Petersen, J. Chem. Phys. 91 (1989) 461-466): the series is halved again and again, each time
// averaging neighbouring pairs into blocks twice as long. Successive samples of a run are
// correlated, so the naive error of the mean is too small; the error computed from block means
// grows with the block length until the blocks are longer than the correlation, then stays put.

// Levels are kept while they have at least this many blocks: the error of the error,
// 1/√(2(n-1)), is then 27% or less, and the text states it. Fewer would leave a plateau read
// from a handful of numbers; more would cut off the longest blocks of a run of 900 samples,
// whose error can still be growing at 28 blocks.
inline constexpr std::size_t kFewestBlocks = 8;

// The error as it reads at one block length.
struct BlockLevel {
    std::size_t blockLength = 0;  // samples per block, 2^level
    std::size_t blocks = 0;       // the samples left over by an odd count are dropped
    double standardError = 0.0;   // of the mean, in the unit of the samples: √(s² / n) of the
                                  // block means (s² the unbiased variance, n the blocks)
    double uncertainty = 0.0;     // of standardError: standardError / √(2 (n - 1))
};

struct BlockAverage {
    double mean = 0.0;  // of all samples, in their unit
    // The error read at the chosen level, or, when no level qualifies, the largest of them
    // (then a lower bound).
    double standardError = 0.0;
    double uncertainty = 0.0;
    std::size_t level = 0;  // index into `levels` of the one read
    // The rule found a level; otherwise the series is too short for its correlation time.
    bool plateauReached = false;
    std::vector<BlockLevel> levels;  // from single samples (level 0) up
};

// The rule for reading the plateau: the first block length B whose error satisfies
// B³ ≥ 2 N (σ_B / σ_1)⁴, with N the samples and σ_1 the error of single samples. Before the
// plateau the error falls short of its limit by about a fraction R / (4B), with
// R = (σ_B / σ_1)² about twice the correlation time in samples; at that length the shortfall
// still to grow is under a quarter of the error's own uncertainty √(B / 2N) (Lee, Conduit,
// Nemec, López Ríos and Drummond, Phys. Rev. E 83 (2011) 066706; derived in docs/known-fluid.md).
// The samples are finite numbers. None for fewer than kFewestBlocks samples.
std::optional<BlockAverage> blockAverage(std::span<const double> samples);
