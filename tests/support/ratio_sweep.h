#pragma once

// Ratios s = sigma / r for the tests of the powers.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

inline constexpr int kPowerExponents[4] = {6, 7, 12, 13};

#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
inline constexpr std::uint64_t kFullSweep = 100000000;
#else
inline constexpr std::uint64_t kFullSweep = 400000;  // unoptimised and (GCC) sanitised builds
#endif

// Ratios number `from` to `to` of `count` evenly spaced in their bit patterns between first and
// last, handed to check in blocks of 4096 with the block's number; the sum of what check returns.
template <class Check>
std::uint64_t sweepRatios(double first, double last, std::uint64_t count, std::uint64_t from,
                          std::uint64_t to, Check check) {
    const std::uint64_t base = std::bit_cast<std::uint64_t>(first);
    const std::uint64_t step = (std::bit_cast<std::uint64_t>(last) - base) / count | 1;
    std::uint64_t result = 0;
    std::vector<double> s;
    for (std::uint64_t start = from; start < to; start += s.size()) {
        s.resize(std::min<std::uint64_t>(4096, to - start));
        for (std::size_t i = 0; i < s.size(); ++i) {
            s[i] = std::bit_cast<double>(base + (start + i) * step);
        }
        result += check(std::span<const double>(s), start / 4096);
    }
    return result;
}

// s = m 2^e for every odd m < 2^17, where m^n lies on or near a rounding midpoint far more often
// than a random power does; m = 1 gives powers of two, and 2^e moves s across [2^-3, 2^2].
inline std::vector<double> oddSignificandRatios() {
    std::vector<double> s;
    for (std::uint32_t m = 1; m < 1u << 17; m += 2) {
        s.push_back(std::ldexp(m, static_cast<int>(m / 2 % 5) - 2 - std::bit_width(m)));
    }
    return s;
}

// The 128 doubles around 2^(e/n) for each exponent n and |e| <= 10 n, which put s^n within a few
// hundred ULP of the power of two 2^e on either side, where a rounding's gap halves; among them
// the ends of the chain's domain, 2^-3 and 2^2.
inline std::vector<double> nearPowerOfTwoRatios() {
    std::vector<double> s;
    for (const int n : kPowerExponents) {
        for (int e = -10 * n; e <= 10 * n; ++e) {
            const std::uint64_t x = std::bit_cast<std::uint64_t>(std::exp2(double(e) / n));
            for (std::uint64_t b = x - 64; b < x + 64; ++b) {
                s.push_back(std::bit_cast<double>(b));
            }
        }
    }
    return s;
}
