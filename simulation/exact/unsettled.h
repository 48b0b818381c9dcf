#pragma once

// Values that a shortcut leaves as NaN where it cannot settle them, to be formed by the formula
// itself. NaN is rare, so the values are tested in vector loops a block at a time, and only a
// block with NaN is gone through one by one.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

// Whether any of the values is NaN, in one vector loop. (Flags as wide as a double let the
// compiler keep them in the lanes of the comparison.)
inline bool anyNaN(std::span<const double> values) {
    std::int64_t any = 0;
    for (const double value : values) {
        any |= std::isnan(value) ? 1 : 0;
    }
    return any != 0;
}

// The index of the first NaN among the values, or values.size() if there is none.
inline std::size_t firstNaN(std::span<const double> values) {
    constexpr std::size_t kBlock = 32;
    for (std::size_t start = 0; start < values.size(); start += kBlock) {
        const std::size_t end = std::min(values.size(), start + kBlock);
        if (!anyNaN(values.subspan(start, end - start))) {
            continue;
        }
        for (std::size_t i = start; i < end; ++i) {
            if (std::isnan(values[i])) {
                return i;
            }
        }
    }
    return values.size();
}

// Replaces every NaN values[i] by formula(i).
template <typename Formula>
void replaceNaNs(std::span<double> values, Formula formula) {
    for (std::size_t i = firstNaN(values); i < values.size();
         i += 1 + firstNaN(values.subspan(i + 1))) {
        values[i] = formula(i);
    }
}
