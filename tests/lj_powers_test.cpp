// The fast powers against glibc's std::pow: a dense sweep of the simulation's ratios, inputs
// outside the fast domain, and ratios whose exact powers lie on or near a rounding midpoint or a
// power of two, where the fast path must hand over to pow.

#include "simulation/lj_powers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

namespace detail = argon::lj_powers_detail;
constexpr int kExponents[4] = {6, 7, 12, 13};
#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
constexpr std::uint64_t kSweep = 100000000;
#else
constexpr std::uint64_t kSweep = 1000000;  // unoptimised and (GCC) sanitised builds
#endif

std::uint64_t bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// The number of powers of s that differ from pow's, from the public batch functions (with the
// processor's FMA if it has one) and, with everyPath, from the batch with Dekker's products and the
// scalar functions.  Failures are reported while reported + that number is at most 5.
std::size_t mismatches(std::span<const double> s, bool everyPath = true, std::size_t reported = 0) {
    static std::vector<double> buffer;
    buffer.resize(22 * s.size());
    const auto row = [n = s.size()](std::size_t k) { return std::span(buffer).subspan(k * n, n); };
    // Rows 0-3 hold pow's s^6, s^7, s^12, s^13; then each entry point fills six: these four and
    // s^6, s^12 from the function for those two alone.  Row 4 + j should equal row kPow[j % 6].
    constexpr std::size_t kPow[6] = {0, 1, 2, 3, 0, 2};
    argon::powers6To13(s, row(4), row(5), row(6), row(7));
    argon::powers6And12(s, row(8), row(9));
    if (everyPath) {
        detail::powers6To13(false, s, row(10), row(11), row(12), row(13));
        detail::powers6And12(false, s, row(14), row(15));
        for (std::size_t i = 0; i < s.size(); ++i) {
            argon::powers6To13(s[i], row(16)[i], row(17)[i], row(18)[i], row(19)[i]);
            argon::powers6And12(s[i], row(20)[i], row(21)[i]);
        }
    }
    std::size_t result = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        for (int k = 0; k < 4; ++k) {
            row(k)[i] = std::pow(s[i], kExponents[k]);  // s is not known to the compiler
        }
        for (std::size_t j = 0; j < (everyPath ? 18 : 6); ++j) {
            if (bits(row(4 + j)[i]) != bits(row(kPow[j % 6])[i]) && reported + ++result <= 5) {
                ADD_FAILURE() << std::hexfloat << "s = " << s[i] << ", row " << 4 + j;
            }
        }
    }
    return result;
}

// count ratios evenly spaced in their bit patterns from first on, every path on one block in four.
std::size_t sweepMismatches(std::uint64_t first, std::uint64_t last, std::uint64_t count) {
    const std::uint64_t step = (last - first) / count | 1;
    std::size_t result = 0;
    std::vector<double> s;
    for (std::uint64_t start = 0; start < count; start += s.size()) {
        s.resize(std::min<std::uint64_t>(4096, count - start));
        for (std::size_t i = 0; i < s.size(); ++i) {
            s[i] = std::bit_cast<double>(first + (start + i) * step);
        }
        result += mismatches(s, start / 4096 % 4 == 0, result);
    }
    return result;
}

TEST(LjPowers, EqualPowOverTheSimulationsRatiosAndBeyond) {
    // sigma / r for r from 1 A to half the diagonal of the 25.1488 A cell.
    EXPECT_EQ(sweepMismatches(bits(0.156), bits(3.4), kSweep), 0u);
    EXPECT_EQ(sweepMismatches(bits(0x1p-110), bits(0x1p110), kSweep / 20), 0u);
    const std::vector<double> s = {0.0,   -0.0,     -1.5,      0x1p-1074, 0x1p-1022,
                                   1e300, INFINITY, -INFINITY, NAN,       1e-300};
    EXPECT_EQ(mismatches(s), 0u);
    // The 128 doubles around 2^(e/n), which put s^n within a few hundred ULP of 2^e on either
    // side; among them the ends of the fast domain, 2^-3 and 2^2.
    for (const int n : kExponents) {
        for (int e = -10 * n; e <= 10 * n; ++e) {
            const std::uint64_t x = bits(std::exp2(static_cast<double>(e) / n));
            EXPECT_EQ(sweepMismatches(x - 64, x + 64, 128), 0u) << "e / n = " << e << " / " << n;
        }
    }
}

// Distance of the exact m^n from the nearest rounding midpoint of doubles, in its ULP: 0 on a
// midpoint, 1/2 when m^n is a double.
double midpointDistance(std::uint64_t m, int n) {
    std::vector<std::uint64_t> digits = {1};  // binary digits of m^n, least significant first
    for (int i = 0; i < n; ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < digits.size() || carry != 0; ++j) {
            digits.resize(std::max(digits.size(), j + 1));
            carry += digits[j] * m;
            digits[j] = carry & 1;
            carry >>= 1;
        }
    }
    double fraction = 0.0;  // the digits beyond the 53 of a double, as a share of the ULP
    for (std::size_t i = 0; i + 53 < digits.size(); ++i) {
        fraction = (fraction + static_cast<double>(digits[i])) / 2;
    }
    return std::abs(fraction - 0.5);
}

// s = m 2^e for odd m: m^n on or near a midpoint (17^13, 457^6 and 191^7 are exactly on one;
// glibc's pow rounds a quarter of the nearest ones away from the exact value) must go to std::pow,
// and beyond the margin the fast path must keep it; m = 1 gives powers of two, which go to pow.
// 2^e moves s across the fast domain.  Every entry point must then give pow's powers for all s.
TEST(LjPowers, NearMidpointsFallBackToPow) {
    std::vector<double> s;
    std::size_t onMidpoint = 0;
    for (std::uint32_t m = 1; m < 1u << 17; m += 2) {
        s.push_back(std::ldexp(m, static_cast<int>(m / 2 % 5) - 2 - std::bit_width(m)));
        double fma[4], dekker[4];
        detail::fastPowers6To13<true>(s.back(), fma[0], fma[1], fma[2], fma[3]);
        detail::fastPowers6To13<false>(s.back(), dekker[0], dekker[1], dekker[2], dekker[3]);
        for (int k = 0; k < 4; ++k) {
            const double distance = midpointDistance(m, kExponents[k]);
            const bool fast = argon::kLjPowersFastPath && m != 1 && distance >= detail::kMarginUlps;
            EXPECT_TRUE(bits(fma[k]) == bits(dekker[k]) && std::isnan(fma[k]) != fast)
                << "m = " << m << ", n = " << kExponents[k];
            onMidpoint += distance == 0.0;
        }
    }
    EXPECT_EQ(onMidpoint, 28u + 10u + 1u);  // n = 6, 7 and 13; no odd m^12 has 54 bits
    EXPECT_EQ(mismatches(s), 0u);
}

// Below 2^k the ULP is half the one above, so pow's error could carry a value that rounds to 2^k
// past the margin: every such power comes from pow.  Just above 2^k the margin holds as usual.
TEST(LjPowers, PowersOfTwoComeFromPowAndTheirNeighboursKeepTheMargin) {
    for (const double k : {0x1p-100, 1.0, 0x1p100}) {
        const double ulp = k * 0x1p-52, r = k + ulp, m = detail::kMarginUlps;
        for (const double sign : {1.0, -1.0}) {
            EXPECT_TRUE(std::isnan(detail::roundedOrNaN({k, sign * ulp / 8}, true))) << k;
            EXPECT_TRUE(std::isnan(detail::roundedOrNaN({r, sign * (0.5 - m / 2) * ulp}, true)));
            EXPECT_EQ(detail::roundedOrNaN({r, sign * (0.5 - 2 * m) * ulp}, true), r) << r;
        }
    }
}

}  // namespace
