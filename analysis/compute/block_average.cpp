#include "analysis/compute/block_average.h"

#include <algorithm>
#include <cmath>

namespace {

double meanOf(std::span<const double> values) {
    double sum = 0.0;
    for (double v : values) sum += v;
    return sum / static_cast<double>(values.size());
}

BlockLevel levelOf(std::span<const double> blockMeans, std::size_t blockLength) {
    const double mean = meanOf(blockMeans);
    double squares = 0.0;  // Σ (x - mean)², taken about the mean for accuracy
    for (double v : blockMeans) squares += (v - mean) * (v - mean);
    const double n = static_cast<double>(blockMeans.size());
    BlockLevel level;
    level.blockLength = blockLength;
    level.blocks = blockMeans.size();
    level.standardError = std::sqrt(squares / (n - 1.0) / n);
    level.uncertainty = level.standardError / std::sqrt(2.0 * (n - 1.0));
    return level;
}

// B³ ≥ 2 N (σ_B / σ_1)⁴, the rule above. A constant series has no error at any length.
bool pastCorrelation(const BlockLevel& level, const BlockLevel& single, std::size_t samples) {
    if (single.standardError == 0.0) return true;
    const double b = static_cast<double>(level.blockLength);
    const double growth = level.standardError / single.standardError;
    return b * b * b >= 2.0 * static_cast<double>(samples) * growth * growth * growth * growth;
}

}  // namespace

std::optional<BlockAverage> blockAverage(std::span<const double> samples) {
    if (samples.size() < kFewestBlocks) return std::nullopt;
    BlockAverage result;
    result.mean = meanOf(samples);
    std::vector<double> blocks(samples.begin(), samples.end());
    for (std::size_t length = 1; blocks.size() >= kFewestBlocks; length *= 2) {
        result.levels.push_back(levelOf(blocks, length));
        for (std::size_t i = 0; i + 1 < blocks.size(); i += 2) {
            blocks[i / 2] = 0.5 * (blocks[i] + blocks[i + 1]);
        }
        blocks.resize(blocks.size() / 2);
    }
    const auto& levels = result.levels;
    const auto found = std::find_if(levels.begin(), levels.end(), [&](const BlockLevel& level) {
        return pastCorrelation(level, levels.front(), samples.size());
    });
    result.plateauReached = found != levels.end();
    const auto read = result.plateauReached
                          ? found
                          : std::max_element(levels.begin(), levels.end(),
                                             [](const BlockLevel& a, const BlockLevel& b) {
                                                 return a.standardError < b.standardError;
                                             });
    result.level = static_cast<std::size_t>(read - levels.begin());
    result.standardError = read->standardError;
    result.uncertainty = read->uncertainty;
    return result;
}
