// The correctly rounded powers against exact arithmetic: GMP's big integers for s^n (s = m 2^k
// with an integer m, so s^n = m^n 2^(nk) exactly) and MPFR's correctly rounded pow for the cube
// root.  The powers of sigma / r are checked over the simulation's ratios, on and near rounding
// midpoints, and at the ends of the double range, through the product chain and the exact path.
#include "simulation/powers/rounded_powers.h"

#include <gmp.h>
#include <gtest/gtest.h>
#include <mpfr.h>

#include <limits>
#include <random>

#include "simulation/exact/processor.h"
#include "simulation/powers/power_chain.h"
#include "simulation/powers/powers.h"
#include "support/ratio_sweep.h"

namespace {

std::uint64_t bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// s^6, s^7, s^12 and s^13 of a positive s with normal results, rounded to nearest with ties to
// even; and how many of them lie exactly on a midpoint.
struct ExactPowers {
    mpz_t power[4], kept;
    std::uint64_t onMidpoint = 0;
    ExactPowers() { mpz_inits(power[0], power[1], power[2], power[3], kept, nullptr); }
    ~ExactPowers() { mpz_clears(power[0], power[1], power[2], power[3], kept, nullptr); }

    void operator()(double s, double rounded[4]) {
        int k = 0;
        const auto m = static_cast<unsigned long>(std::ldexp(std::frexp(s, &k), 53));
        mpz_ui_pow_ui(power[0], m, 6);  // s = m 2^(k - 53)
        mpz_mul_ui(power[1], power[0], m);
        mpz_mul(power[2], power[0], power[0]);
        mpz_mul_ui(power[3], power[2], m);
        for (int p = 0; p < 4; ++p) {
            const long dropped = static_cast<long>(mpz_sizeinbase(power[p], 2)) - 53;
            mpz_fdiv_q_2exp(kept, power[p], dropped);
            const bool half = mpz_tstbit(power[p], dropped - 1);
            const bool beyond = static_cast<long>(mpz_scan1(power[p], 0)) < dropped - 1;
            onMidpoint += half && !beyond;
            rounded[p] = std::ldexp(mpz_get_d(kept) + (half && (beyond || mpz_odd_p(kept))),
                                    static_cast<int>(dropped) + kPowerExponents[p] * (k - 53));
        }
    }
};

// The number of powers of s that differ from the exact ones: from the public batch functions
// (the widest loop here), and with everyPath also from the one-value function, from the chain
// with Veltkamp's products and with FMA in the AVX2 loop (where they accept a power) and from
// the exact path alone.  At most five failures are reported.
std::uint64_t mismatches(std::span<const double> s, bool everyPath, ExactPowers& exact) {
    std::vector<double> out(12 * s.size(), std::numeric_limits<double>::quiet_NaN());
    const auto row = [&out, &s](std::size_t k) {
        return std::span(out).subspan(k * s.size(), s.size());
    };
    constexpr double kMargin = argon::rounded::kChainMarginUlps;
    argon::powers6And12(s, row(0), row(2));  // row(p) holds s^kPowerExponents[p]
    argon::powers7And13(s, row(1), row(3));
    using argon::power_chain::ChainLoop;
    using argon::power_chain::chainPowers;
    using argon::power_chain::PowerPair;
    if (everyPath) {
        chainPowers(PowerPair::sixAndTwelve, ChainLoop::veltkamp, s, kMargin, row(4), row(6));
        chainPowers(PowerPair::sevenAndThirteen, ChainLoop::veltkamp, s, kMargin, row(5), row(7));
        if (fmaAvailable()) {
            chainPowers(PowerPair::sixAndTwelve, ChainLoop::fma, s, kMargin, row(8), row(10));
            chainPowers(PowerPair::sevenAndThirteen, ChainLoop::fma, s, kMargin, row(9), row(11));
        }
    }
    std::uint64_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double want[4];
        exact(s[i], want);
        for (int p = 0; p < 4; ++p) {
            const int n = kPowerExponents[p];
            const double dekker = row(4 + p)[i];
            const double fused = row(8 + p)[i];
            const bool same =
                bits(row(p)[i]) == bits(want[p]) &&
                (!everyPath || ((std::isnan(dekker) || bits(dekker) == bits(want[p])) &&
                                (std::isnan(fused) || bits(fused) == bits(want[p])) &&
                                bits(argon::power(s[i], n)) == bits(want[p]) &&
                                bits(argon::rounded::exactPower(s[i], n)) == bits(want[p])));
            if (!same && ++count <= 5) {
                ADD_FAILURE() << std::hexfloat << s[i] << "^" << n;
            }
        }
    }
    return count;
}

// A quarter of 10^8 ratios sigma / r in [0.15, 3.5]; every path on one block in 64.
class Sweep : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(Sweep, PowersAreTheExactPowersRoundedToNearest) {
    ExactPowers exact;
    const std::uint64_t from = kFullSweep / 4 * GetParam();
    EXPECT_EQ(sweepRatios(0.15, 3.5, kFullSweep, from, from + kFullSweep / 4,
                          [&exact](std::span<const double> s, std::uint64_t block) {
                              return mismatches(s, block % 64 == 0, exact);
                          }),
              0u);
}

INSTANTIATE_TEST_SUITE_P(Quarter, Sweep, ::testing::Range<std::uint64_t>(0, 4));

// 39 of the powers of the odd significands lie exactly on a midpoint (17^13, 191^7 and 457^6
// among them; no odd m^12 has 54 bits) and round to even; many more lie close to one. Next to
// powers of two the gap below is half the one above.
TEST(RoundedPowers, MidpointsRoundToEvenAndNearMidpointsToTheNearest) {
    ExactPowers exact;
    EXPECT_EQ(mismatches(oddSignificandRatios(), true, exact), 0u);
    EXPECT_EQ(exact.onMidpoint, 39u);
    EXPECT_EQ(mismatches(nearPowerOfTwoRatios(), true, exact), 0u);
}

// The exact path beyond the chain's domain: zeros, infinities, NaN and signs as pow gives them,
// gradual underflow and overflow rounded to nearest.
TEST(RoundedPowers, ExtremesRoundAsTheExactPowerDemands) {
    const double inf = std::numeric_limits<double>::infinity();
    // s, n and s^n; 0.75^13 2^-1066 = 1594323 2^-1092 = 6.08 2^-1074 rounds to 6 2^-1074.
    // clang-format off
    const struct { double s; int n; double power; } cases[] = {
        {-0.0, 13, -0.0}, {-0.0, 12, 0.0}, {-inf, 7, -inf}, {-1.5, 7, -17.0859375}, {3.0, 0, 1.0},
        {0x1p-86, 12, 0x1p-1032}, {0.75 * 0x1p-82, 13, 6 * 0x1p-1074}, {0x1p-1074, 6, 0.0},
        {1.5 * 0x1p78, 13, 1594323 * 0x1p1001}, {0x1.fffffffffffffp78, 13, inf}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(bits(argon::rounded::exactPower(c.s, c.n)), bits(c.power))
            << std::hexfloat << c.s << "^" << c.n;
    }
    EXPECT_TRUE(std::isnan(argon::rounded::exactPower(std::nan(""), 6)));
}

// x^0.3333333333333333 against MPFR's correctly rounded pow, over the whole double range.
TEST(RoundedPowers, OneThirdPowerIsMpfrsCorrectlyRoundedPow) {
    mpfr_t x, y, power;
    mpfr_inits2(53, x, y, power, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_d(y, 0.3333333333333333, MPFR_RNDN);
    std::mt19937_64 random(3);
    std::vector<double> values = {1.0, 8.0, 0x1p-1074, std::numeric_limits<double>::max()};
    for (int i = 0; i < 3000; ++i) {
        values.push_back(
            std::bit_cast<double>(random() >> 12 | 0x0010000000000000 * (i % 2046 + 1)));
    }
    for (const double v : values) {
        mpfr_set_d(x, v, MPFR_RNDN);
        mpfr_pow(power, x, y, MPFR_RNDN);
        EXPECT_EQ(bits(argon::powerOneThird(v)), bits(mpfr_get_d(power, MPFR_RNDN)))
            << std::hexfloat << v;
    }
    mpfr_clears(x, y, power, static_cast<mpfr_ptr>(nullptr));
    EXPECT_EQ(argon::powerOneThird(std::numeric_limits<double>::infinity()),
              std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(argon::powerOneThird(-8.0)));
}

}  // namespace
