// The C library's powers: the batch functions equal std::pow bit for bit, over the simulation's
// ratios and beyond, near rounding midpoints and next to powers of two, where the product chain
// must hand over to pow.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "simulation/powers.h"

namespace {

constexpr int kExponents[4] = {6, 7, 12, 13};
#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
constexpr std::uint64_t kSweep = 20000000;
#else
constexpr std::uint64_t kSweep = 400000;  // unoptimised and (GCC) sanitised builds
#endif

std::uint64_t bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// The number of powers of s from the batch functions that differ from pow's (five reported).
std::size_t mismatches(std::span<const double> s) {
    const std::size_t n = s.size();
    std::vector<double> row(6 * n);
    const auto out = [&row, n](std::size_t k) { return std::span(row).subspan(k * n, n); };
    argon::powers6To13(s, out(0), out(1), out(2), out(3));
    argon::powers6And12(s, out(4), out(5));
    constexpr int kPow[6] = {0, 1, 2, 3, 0, 2};  // which exponent each row holds
    std::size_t count = 0;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t r = 0; r < 6; ++r) {
            const int exponent = kExponents[kPow[r]];
            if (bits(out(r)[i]) != bits(std::pow(s[i], exponent)) && ++count <= 5) {
                ADD_FAILURE() << std::hexfloat << "s = " << s[i] << ", n = " << exponent;
            }
        }
    }
    return count;
}

// count ratios evenly spaced in their bit patterns from first to last.
std::size_t sweepMismatches(std::uint64_t first, std::uint64_t last, std::uint64_t count) {
    const std::uint64_t step = (last - first) / count | 1;
    std::size_t result = 0;
    std::vector<double> s;
    for (std::uint64_t start = 0; start < count; start += s.size()) {
        s.resize(std::min<std::uint64_t>(4096, count - start));
        for (std::size_t i = 0; i < s.size(); ++i) {
            s[i] = std::bit_cast<double>(first + (start + i) * step);
        }
        result += mismatches(s);
    }
    return result;
}

TEST(LibmPowers, EqualPowOverTheSimulationsRatiosAndBeyond) {
    // sigma / r for r from 1 A to half the diagonal of the 25.1488 A cell.
    EXPECT_EQ(sweepMismatches(bits(0.156), bits(3.4), kSweep), 0u);
    EXPECT_EQ(sweepMismatches(bits(0x1p-110), bits(0x1p110), kSweep / 20), 0u);
    const std::vector<double> s = {0.0,   -0.0,     -1.5,      0x1p-1074, 0x1p-1022,
                                   1e300, INFINITY, -INFINITY, NAN,       1e-300};
    EXPECT_EQ(mismatches(s), 0u);
    // The 128 doubles around 2^(e/n), which put s^n within a few hundred ULP of 2^e on either
    // side; among them the ends of the chain's domain, 2^-3 and 2^2.
    for (const int n : kExponents) {
        for (int e = -10 * n; e <= 10 * n; ++e) {
            const std::uint64_t x = bits(std::exp2(static_cast<double>(e) / n));
            EXPECT_EQ(sweepMismatches(x - 64, x + 64, 128), 0u) << "e / n = " << e << " / " << n;
        }
    }
    // s = m 2^e for odd m: m^n on or near a midpoint, where glibc's pow rounds a quarter of the
    // nearest ones away from the exact value; 2^e moves s across the chain's domain.
    std::vector<double> nearMidpoints;
    for (std::uint32_t m = 1; m < 1u << 17; m += 2) {
        nearMidpoints.push_back(std::ldexp(m, static_cast<int>(m / 2 % 5) - 2 - std::bit_width(m)));
    }
    EXPECT_EQ(mismatches(nearMidpoints), 0u);
}

}  // namespace
