// The correctly rounded powers against exact arithmetic: GMP's big integers for s^n (s = m 2^k
// with an integer m, so s^n = m^n 2^(nk) exactly) and MPFR's correctly rounded pow for the cube
// root.  The powers of sigma / r are checked over the simulation's ratios, on and near rounding
// midpoints, and at the ends of the double range, through the product chain and the exact path.
#include "simulation/rounded_powers.h"

#include <gmp.h>
#include <gtest/gtest.h>
#include <mpfr.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <span>
#include <stdexcept>
#include <vector>

#include "simulation/power_chain.h"
#include "simulation/powers.h"

namespace {

namespace chain = argon::power_chain;
constexpr int kExponents[4] = {6, 7, 12, 13};
#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
constexpr std::uint64_t kSweep = 100000000;
#else
constexpr std::uint64_t kSweep = 400000;  // unoptimised and (GCC) sanitised builds
#endif

std::uint64_t bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// The exact s^6, s^7, s^12 and s^13 of a positive s with normal results, rounded to nearest
// with ties to even.
struct ExactPowers {
    mpz_t power[4], kept;
    ExactPowers() { mpz_inits(power[0], power[1], power[2], power[3], kept, nullptr); }
    ~ExactPowers() { mpz_clears(power[0], power[1], power[2], power[3], kept, nullptr); }

    void operator()(double s, double rounded[4]) {
        int k = 0;
        const double f = std::frexp(s, &k);
        const auto m = static_cast<unsigned long>(std::ldexp(f, 53));  // s = m 2^(k - 53)
        mpz_ui_pow_ui(power[0], m, 6);
        mpz_mul_ui(power[1], power[0], m);
        mpz_mul(power[2], power[0], power[0]);
        mpz_mul_ui(power[3], power[2], m);
        for (int p = 0; p < 4; ++p) {
            const long dropped = static_cast<long>(mpz_sizeinbase(power[p], 2)) - 53;
            mpz_fdiv_q_2exp(kept, power[p], dropped);
            const bool up =
                mpz_tstbit(power[p], dropped - 1) &&
                (static_cast<long>(mpz_scan1(power[p], 0)) < dropped - 1 || mpz_odd_p(kept));
            rounded[p] = std::ldexp(mpz_get_d(kept) + up,
                                    static_cast<int>(dropped) + kExponents[p] * (k - 53));
        }
    }
};

// The number of powers of s that differ from the exact ones: from the public batch functions,
// and with everyPath also from the chain with Dekker's products (where it accepts a power) and
// from the exact path alone.  At most five failures are reported.
std::size_t mismatches(std::span<const double> s, bool everyPath) {
    static ExactPowers exact;
    const std::size_t n = s.size();
    std::vector<double> row(12 * n);
    const auto out = [&row, n](std::size_t k) { return std::span(row).subspan(k * n, n); };
    argon::powers6To13(s, out(0), out(1), out(2), out(3));
    argon::powers6And12(s, out(4), out(5));
    chain::chainPowers6To13(false, s, argon::rounded::kChainMarginUlps, out(6), out(7), out(8),
                            out(9));
    std::size_t count = 0;
    const auto check = [&count](bool same, double s, int n, const char* path) {
        if (!same && ++count <= 5) {
            ADD_FAILURE() << std::hexfloat << s << "^" << n << " from " << path;
        }
    };
    for (std::size_t i = 0; i < n; ++i) {
        double want[4];
        exact(s[i], want);
        for (int p = 0; p < 4; ++p) {
            check(bits(out(p)[i]) == bits(want[p]), s[i], kExponents[p], "the batch");
            if (everyPath) {
                const double dekker = out(6 + p)[i];
                check(std::isnan(dekker) || bits(dekker) == bits(want[p]), s[i], kExponents[p],
                      "the Dekker chain");
                check(bits(argon::rounded::exactPower(s[i], kExponents[p])) == bits(want[p]), s[i],
                      kExponents[p], "the exact path");
            }
        }
        check(bits(out(4)[i]) == bits(want[0]) && bits(out(5)[i]) == bits(want[2]), s[i], 6,
              "the (6, 12) batch");
    }
    return count;
}

// A quarter of 10^8 ratios sigma / r in [0.15, 3.5], evenly spaced in their bit patterns; every
// path on one block in 64.
class Sweep : public ::testing::TestWithParam<int> {};

TEST_P(Sweep, PowersAreTheExactPowersRoundedToNearest) {
    const std::uint64_t first = bits(0.15);
    const std::uint64_t step = (bits(3.5) - first) / kSweep;
    const std::uint64_t begin = kSweep / 4 * static_cast<std::uint64_t>(GetParam());
    std::vector<double> s(4096);
    std::size_t count = 0;
    for (std::uint64_t start = begin; start < begin + kSweep / 4; start += s.size()) {
        s.resize(std::min<std::uint64_t>(4096, begin + kSweep / 4 - start));
        for (std::size_t i = 0; i < s.size(); ++i) {
            s[i] = std::bit_cast<double>(first + (start + i) * step);
        }
        count += mismatches(s, start / 4096 % 64 == 0);
    }
    EXPECT_EQ(count, 0u);
}

INSTANTIATE_TEST_SUITE_P(Quarter, Sweep, ::testing::Range(0, 4));

// Distance of the exact m^n from the nearest rounding midpoint, in its ULP: 0 on a midpoint.
double midpointDistance(std::uint32_t m, int n) {
    mpz_t power;
    mpz_init(power);
    mpz_ui_pow_ui(power, m, n);
    const long dropped = static_cast<long>(mpz_sizeinbase(power, 2)) - 53;
    double fraction = 0.0;  // a power of 53 bits or fewer is a double
    if (dropped > 0) {
        mpz_fdiv_r_2exp(power, power, dropped);
        fraction = std::ldexp(mpz_get_d(power), static_cast<int>(-dropped));
    }
    mpz_clear(power);
    return std::abs(fraction - 0.5);
}

// s = m 2^e for odd m < 2^17: 39 powers lie exactly on a midpoint (17^13, 191^7 and 457^6 among
// them) and round to even, and many more lie close to one; m = 1 gives powers of two.  2^e moves
// s across the chain's domain [2^-3, 2^2].
TEST(RoundedPowers, MidpointsRoundToEvenAndNearMidpointsToTheNearest) {
    std::vector<double> s;
    std::size_t onMidpoint = 0;
    for (std::uint32_t m = 1; m < 1u << 17; m += 2) {
        s.push_back(std::ldexp(m, static_cast<int>(m / 2 % 5) - 2 - std::bit_width(m)));
        for (const int n : kExponents) {
            onMidpoint += midpointDistance(m, n) == 0.0;
        }
    }
    EXPECT_EQ(onMidpoint, 28u + 10u + 1u);  // n = 6, 7 and 13; no odd m^12 has 54 bits
    EXPECT_EQ(mismatches(s, true), 0u);
}

// The exact path beyond the chain's domain: zeros, infinities, NaN and signs as pow gives them,
// gradual underflow and overflow rounded to nearest.
TEST(RoundedPowers, ExtremesRoundAsTheExactPowerDemands) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double s;
        int n;
        double power;
    };
    const Case cases[] = {
        {0.0, 13, 0.0},
        {-0.0, 13, -0.0},
        {-0.0, 12, 0.0},
        {inf, 7, inf},
        {-inf, 7, -inf},
        {-inf, 6, inf},
        {-1.5, 7, -17.0859375},
        {-1.5, 6, 11.390625},
        {0x1p-80, 13, 0x1p-1040},                // subnormal, exact
        {0.75 * 0x1p-82, 13, 6 * 0x1p-1074},     // 1594323 2^-1092 = 6.08 2^-1074
        {0x1p-86, 12, 0x1p-1032},                // subnormal, exact
        {0x1p-1074, 6, 0.0},                     // far below the smallest subnormal
        {1.5 * 0x1p78, 13, 1594323 * 0x1p1001},  // 1.5^13 2^1014, exact
        {0x1p79, 13, inf},                       // 2^1027
        {0x1.fffffffffffffp78, 13, inf},
        {3.0, 0, 1.0},
    };
    for (const Case& c : cases) {
        const double got = argon::rounded::exactPower(c.s, c.n);
        EXPECT_EQ(bits(got), bits(c.power)) << std::hexfloat << c.s << "^" << c.n << " = " << got;
    }
    EXPECT_TRUE(std::isnan(argon::rounded::exactPower(std::nan(""), 6)));
}

// x^0.3333333333333333 against MPFR's correctly rounded pow, over the whole double range.
TEST(RoundedPowers, OneThirdPowerIsMpfrsCorrectlyRoundedPow) {
    mpfr_t x, y, power;
    mpfr_inits2(53, x, y, power, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_d(y, 0.3333333333333333, MPFR_RNDN);
    std::mt19937_64 random(3);
    std::vector<double> values = {1.0,       8.0,           0x1p-1074,
                                  0x1p-1022, 1.5905630e-26, std::numeric_limits<double>::max()};
    for (int i = 0; i < 3000; ++i) {
        values.push_back(std::abs(std::bit_cast<double>(random() >> 1)));
    }
    for (const double v : values) {
        if (!std::isfinite(v) || v == 0.0) {
            continue;
        }
        mpfr_set_d(x, v, MPFR_RNDN);
        mpfr_pow(power, x, y, MPFR_RNDN);
        EXPECT_EQ(bits(argon::powerOneThird(v)), bits(mpfr_get_d(power, MPFR_RNDN)))
            << std::hexfloat << v;
    }
    mpfr_clears(x, y, power, static_cast<mpfr_ptr>(nullptr));
    EXPECT_EQ(argon::powerOneThird(0.0), 0.0);
    EXPECT_EQ(argon::powerOneThird(std::numeric_limits<double>::infinity()),
              std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(argon::powerOneThird(-8.0)));
}

}  // namespace
