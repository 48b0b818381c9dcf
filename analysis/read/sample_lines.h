#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "analysis/read/text_input.h"

// What energy.dat and msd.dat share: one line a sample, at increasing times.

// The next line, none at the end of the file. A run writes one line per frame, so a line beyond
// `mostLines` (the frames the header of position.dat announces) is refused.
std::optional<std::string_view> nextSampleLine(LineReader& in, std::size_t mostLines);

// Samples are taken at increasing times; anything else is a damaged or concatenated file.
template <typename Sample>
void checkTimeIncreases(const std::vector<Sample>& earlier, const Sample& next,
                        const LineReader& in) {
    if (!earlier.empty() && !(next.time > earlier.back().time)) {
        failAt(in.name(), in.lineNumber(), "the time does not increase from the line before");
    }
}
