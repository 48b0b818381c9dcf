// The fast powers against glibc's std::pow: a dense sweep of the simulation's ratios, the edges of
// the fast domain, and ratios whose exact powers lie on or near a rounding midpoint, where pow may
// round either way and the fast path must hand over to it.

#include "simulation/lj_powers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

// 10^8 ratios in an optimised build; unoptimised and sanitised (GCC) builds sweep 10^6, and a
// build may set its own number.
#ifndef ARGON_MD_LJ_POWERS_SWEEP
#if !defined(__OPTIMIZE__) || defined(__SANITIZE_ADDRESS__)
#define ARGON_MD_LJ_POWERS_SWEEP 1000000
#else
#define ARGON_MD_LJ_POWERS_SWEEP 100000000
#endif
#endif

namespace {

namespace detail = argon::lj_powers_detail;
constexpr double kExponents[4] = {6.0, 7.0, 12.0, 13.0};

// Calls the library at run time: a pow of constants may be folded by the compiler into the
// correctly rounded value, which is not always glibc's.
double libraryPow(double s, double n) {
    volatile double base = s;
    return std::pow(base, n);
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}

// Compares the entry points with std::pow, keeping its buffers from one call to the next.
class PowChecker {
  public:
    // The number of powers for these s that differ from pow's, reporting the first few.  The
    // public batch functions (with FMA where the processor has it) are checked always; the scalar
    // functions (with FMA only in a build for such a processor) and the batch with Dekker's
    // products when everyPath is set.
    std::size_t mismatches(const std::vector<double>& s, bool everyPath = true) {
        const std::size_t n = s.size();
        for (int k = 0; k < 4; ++k) {
            batch_[k].resize(n);
            dekker_[k].resize(n);
        }
        only6_.resize(n);
        only12_.resize(n);
        argon::powers6To13(s, batch_[0], batch_[1], batch_[2], batch_[3]);
        argon::powers6And12(s, only6_, only12_);
        if (everyPath) {
            detail::powers6To13(false, s, dekker_[0], dekker_[1], dekker_[2], dekker_[3]);
        }
        std::size_t mismatches = 0;
        for (std::size_t i = 0; i < n; ++i) {
            double expected[4], scalar[4], scalar6, scalar12;
            for (int k = 0; k < 4; ++k) {
                expected[k] = libraryPow(s[i], kExponents[k]);
            }
            bool same = sameBits(only6_[i], expected[0]) && sameBits(only12_[i], expected[2]);
            for (int k = 0; k < 4; ++k) {
                same = same && sameBits(batch_[k][i], expected[k]);
            }
            if (everyPath) {
                argon::powers6To13(s[i], scalar[0], scalar[1], scalar[2], scalar[3]);
                argon::powers6And12(s[i], scalar6, scalar12);
                same = same && sameBits(scalar6, expected[0]) && sameBits(scalar12, expected[2]);
                for (int k = 0; k < 4; ++k) {
                    same = same && sameBits(scalar[k], expected[k]) &&
                           sameBits(dekker_[k][i], expected[k]);
                }
            }
            if (!same && ++mismatches <= 5) {
                ADD_FAILURE() << std::hexfloat << "s = " << s[i] << ": pow gives " << expected[0]
                              << ", " << expected[1] << ", " << expected[2] << ", " << expected[3];
            }
        }
        return mismatches;
    }

  private:
    std::vector<double> batch_[4], dekker_[4], only6_, only12_;
};

// count ratios evenly spaced in their bit patterns over [lo, hi], so every binade gets its share;
// every path on one block in four, the public batch functions on all.
std::size_t sweepMismatches(double lo, double hi, std::uint64_t count) {
    const std::uint64_t first = std::bit_cast<std::uint64_t>(lo);
    const std::uint64_t step = (std::bit_cast<std::uint64_t>(hi) - first) / count | 1;
    constexpr std::uint64_t kBlock = 4096;
    PowChecker checker;
    std::size_t mismatches = 0;
    std::vector<double> s;
    for (std::uint64_t start = 0; start < count; start += kBlock) {
        s.clear();
        for (std::uint64_t i = start; i < start + kBlock && i < count; ++i) {
            s.push_back(std::bit_cast<double>(first + i * step));
        }
        mismatches += checker.mismatches(s, start / kBlock % 4 == 0);
    }
    return mismatches;
}

TEST(LjPowers, EqualPowOverTheSimulationsRatios) {
    // sigma / r for r from 1 A to half the diagonal of the 25.1488 A cell.
    EXPECT_EQ(sweepMismatches(0.156, 3.4, ARGON_MD_LJ_POWERS_SWEEP), 0u);
}

TEST(LjPowers, EqualPowAcrossAndBeyondTheFastDomain) {
    EXPECT_EQ(sweepMismatches(0x1p-110, 0x1p110, ARGON_MD_LJ_POWERS_SWEEP / 20), 0u);

    constexpr double kInf = std::numeric_limits<double>::infinity();
    std::vector<double> s = {
        0.0,    -0.0,  -1.5, 0x1p-1074, 0x1p-1022,
        1e-300, 1e300, kInf, -kInf,     std::numeric_limits<double>::quiet_NaN()};
    for (const double edge : {detail::kSmallestS, detail::kLargestS}) {
        s.push_back(edge);
        s.push_back(std::nextafter(edge, 0.0));
        s.push_back(std::nextafter(edge, kInf));
    }
    // Powers of two, and s within 64 ULP of 2^(e/n), which puts s^n within a few hundred ULP of
    // 2^e on either side, where the ULP changes.
    for (const double n : kExponents) {
        for (double e = -10 * n; e <= 10 * n; ++e) {
            double x = std::exp2(e / n);
            for (int step = 0; step < 64; ++step) {
                x = std::nextafter(x, 0.0);
            }
            for (int step = 0; step < 128; ++step, x = std::nextafter(x, kInf)) {
                s.push_back(x);
            }
        }
    }
    EXPECT_EQ(PowChecker().mismatches(s), 0u);
}

// The n-th power of the significand of a positive normal s (an integer below 2^53), exactly, as
// 32-bit limbs, least significant first.
std::vector<std::uint32_t> significandPower(double s, int n) {
    const std::uint64_t m = (std::bit_cast<std::uint64_t>(s) & ((1ull << 52) - 1)) | 1ull << 52;
    const std::uint32_t mLimbs[2] = {static_cast<std::uint32_t>(m),
                                     static_cast<std::uint32_t>(m >> 32)};
    std::vector<std::uint32_t> x = {1};
    for (int i = 0; i < n; ++i) {
        std::vector<std::uint32_t> product(x.size() + 2, 0);
        for (std::size_t a = 0; a < x.size(); ++a) {
            std::uint64_t carry = 0;
            for (std::size_t b = 0; b < 2; ++b) {
                const std::uint64_t t = std::uint64_t{x[a]} * mLimbs[b] + product[a + b] + carry;
                product[a + b] = static_cast<std::uint32_t>(t);
                carry = t >> 32;
            }
            product[a + 2] = static_cast<std::uint32_t>(carry);
        }
        while (product.back() == 0) {
            product.pop_back();
        }
        x = product;
    }
    return x;
}

// Distance of the exact s^n from the nearest rounding midpoint of doubles, in its ULP: 0 on a
// midpoint, 1/2 when s^n is a double.
double midpointDistance(double s, int n) {
    const std::vector<std::uint32_t> x = significandPower(s, n);
    const auto bit = [&x](int i) { return (x[i / 32] >> (i % 32)) & 1u; };
    const int bits = 32 * static_cast<int>(x.size()) - std::countl_zero(x.back());
    double fraction = 0.0;  // of s^n beyond the 53 bits of a double, as a share of its ULP
    double weight = 0.5;
    for (int i = bits - 54; i >= 0 && i >= bits - 54 - 60; --i) {
        fraction += weight * bit(i);
        weight *= 0.5;
    }
    return std::abs(fraction - 0.5);
}

// s = m 2^e for odd m: m^n on or near a midpoint (for instance 17^13, 457^6 and 191^7 are exactly
// on one; glibc's pow rounds a quarter of the nearest ones away from the exact value) must go to
// std::pow, and beyond the margin the fast path must keep it.  The scale 2^e moves s across the
// fast domain without changing the distance.
TEST(LjPowers, NearMidpointsFallBackToPow) {
    if (!argon::kLjPowersFastPath) {
        GTEST_SKIP() << "no fast path with this C library: every power comes from std::pow";
    }
    std::vector<std::uint32_t> significands;
    for (std::uint32_t m = 1; m < 1024; m += 2) {
        significands.push_back(m);
    }
    for (std::uint32_t m = (1u << 16) + 1; m < (1u << 16) + 80000; m += 2) {
        significands.push_back(m);
    }
    std::vector<double> s;
    std::size_t onMidpoint = 0, decided = 0;
    for (const std::uint32_t m : significands) {
        const int scale = static_cast<int>(m / 2 % 5) - 3 - std::bit_width(m) + 1;
        const double x = std::ldexp(static_cast<double>(m), scale);
        double fma[4], dekker[4];
        detail::fastPowers6To13<true>(x, fma[0], fma[1], fma[2], fma[3]);
        detail::fastPowers6To13<false>(x, dekker[0], dekker[1], dekker[2], dekker[3]);
        for (int k = 0; k < 4; ++k) {
            const double distance = midpointDistance(x, static_cast<int>(kExponents[k]));
            onMidpoint += distance == 0.0;
            EXPECT_TRUE(sameBits(fma[k], dekker[k])) << "m = " << m;
            if (std::abs(distance - detail::kMarginUlps) > 1e-9) {
                ++decided;
                // m = 1 makes s and its powers powers of two, which always go to pow.
                EXPECT_EQ(std::isnan(fma[k]), distance < detail::kMarginUlps || m == 1)
                    << "m = " << m << ", n = " << kExponents[k];
            }
            if (distance < 1.0 / 1024) {
                s.push_back(x);
            }
        }
    }
    EXPECT_EQ(onMidpoint, 28u + 10u + 1u);  // n = 6, 7 and 13; no odd m^12 has 54 bits
    EXPECT_GT(decided, 150000u);
    EXPECT_GT(s.size(), 300u);
    EXPECT_EQ(PowChecker().mismatches(s), 0u);
}

// Below 2^k the ULP is half the one above, so pow's error could carry a value that rounds to
// 2^k past the margin: every such power comes from pow. Just above 2^k the margin holds as usual.
TEST(LjPowers, PowersOfTwoComeFromPowAndTheirNeighboursKeepTheMargin) {
    const double m = detail::kMarginUlps;
    for (const double k : {0x1p-100, 1.0, 0x1p100}) {
        for (const double lo : {0.0, 0.25 * k * 0x1p-53, -0.25 * k * 0x1p-53}) {
            EXPECT_TRUE(std::isnan(detail::roundedOrNaN({k, lo}, true))) << std::hexfloat << k;
        }
        const double r = std::nextafter(k, 2 * k);
        const double ulp = k * 0x1p-52;
        const struct {
            double lo;  // of the double-double r + lo
            bool nearMidpoint;
        } cases[] = {
            {(0.5 - m / 2) * ulp, true},
            {(0.5 - 2 * m) * ulp, false},
            {-(0.5 - m / 2) * ulp, true},
            {-(0.5 - 2 * m) * ulp, false},
            {0.0, false},
        };
        for (const auto& c : cases) {
            EXPECT_EQ(std::isnan(detail::roundedOrNaN({r, c.lo}, true)), c.nearMidpoint)
                << std::hexfloat << r << " + " << c.lo;
        }
    }
}

}  // namespace
