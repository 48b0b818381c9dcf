// Correctly rounded powers: what a perfect pow returns for the same double arguments, so that the
// run is the same on every IEEE-754 machine, whichever C library it has.
//
// Powers of sigma / r.  The product chain of power_chain.h settles almost every power: its value
// lies within 2^-45 ULP of the exact power, and its check with a margin of 2^-40 ULP accepts only
// roundings that the exact power shares.  What it refuses (a power within 2^-40 ULP of a rounding
// midpoint or next to a power of two, about one in 2^38, and s outside [2^-3, 2^2]) comes from the
// exact path: the integer power of the 53-bit significand, at most 13 * 53 = 689 bits, rounded to
// nearest with ties to even.  Some powers lie exactly on a midpoint (odd significands whose power
// has 54 bits, such as 17^13, 191^7 and 457^6); they round to even.
//
// The cube root V^y of the cell volume, y = 0.3333333333333333 = (2^54 - 1) / (3 * 2^54) exactly.
// So y = 1/3 - 1/(3 * 2^54) and
//     x^y = cbrt(x) * exp(delta),   delta = -ln(x) / (3 * 2^54),   |delta| < 2^-46 for any double.
// Both factors are formed from exact or bounded pieces (ulp and RN as in error_free.h):
// 1. cbrt(x).  x = M 2^k with an integer M < 2^53; N = M 2^shift with k - shift divisible by 3
//    and shift from 276 to 278, so N has 329 to 331 bits and q = floor(cbrt(N)), found bit by bit
//    from the exact comparison of candidate cubes with N, has 110 or 111 bits.  cbrt(x) =
//    cbrt(N) 2^((k - shift) / 3) with q <= cbrt(N) < q + 1.  Its first 53 and next 53 bits are
//    hi + lo, so cbrt(N) = (hi + lo)(1 + e1) with 0 <= e1 < 2^-104 (everything after is dropped).
// 2. ln(x) = j ln 2 + ln(f) with f in [sqrt(1/2), sqrt(2)), ln(f) = 2 atanh(u), u = (f - 1)/(f +
// 1),
//    |u| < 0.172, from the series up to u^25 (the rest is below 2^-70).  f - 1 is exact; the other
//    roundings leave ln(f) within 2^-50, the rounded ln 2 times |j| <= 1075 within 2^-43.9, and
//    the product and sum within 2^-44 each: |L - ln x| < 2^-42.
// 3. exp(delta) = 1 + delta + delta^2 / 2 + R with |R| < 2^-138.  delta = -L / (3 * 2^54) rounds
//    once (2^-99) and carries L's error divided by 3 * 2^54 (2^-97.5); d = delta + delta^2 / 2
//    rounds once more (2^-99): |exp(delta) - 1 - d| < 2^-96.5.
// 4. x^y = (hi + lo)(1 + e1)(1 + d + e3), |e3| < 2^-96.5.  The double-double hi + lo', with
//    lo' = RN(lo + RN(hi d)) (lo d is below 2^-98 hi and left out), differs from it by less than
//    (2^-104 + 2^-96.5 + 2^-99 + 2^-98 + 2^-99) hi < 2^-95 hi: less than 2^-42 ULP of the result.
// 5. The decision.  r + t = hi + lo' (Fast2Sum).  The rounding of x^y is r where every real
//    within kOneThirdMarginUlps = 2^-36 ULP of r + t rounds to r (roundsTo, error_free.h), as
//    that margin covers the 2^-42 ULP of step 4.  Nearer a midpoint the function refuses rather
//    than guess.  x^y is a midpoint only for x = 1 (where it is 1 and t = 0): x^y is rational
//    only if x is a (3 * 2^54)-th power.

#include "simulation/powers/rounded_powers.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include "simulation/exact/error_free.h"
#include "simulation/exact/processor.h"
#include "simulation/exact/unsettled.h"
#include "simulation/powers/big_integer.h"
#include "simulation/powers/power_chain.h"
#include "simulation/powers/powers.h"

namespace argon {

namespace rounded {

static_assert(kChainMarginUlps >= 0x1p-45, "the margin must cover the chain's own error");

double exactPower(double s, int n) {
    if (std::isnan(s)) {
        return s;
    }
    const bool negative = std::signbit(s) && n % 2 != 0;
    if (s == 0.0 || std::isinf(s)) {
        const double magnitude = s == 0.0 ? 0.0 : std::numeric_limits<double>::infinity();
        return negative ? -magnitude : magnitude;
    }
    int k = 0;
    const double f = std::frexp(std::abs(s), &k);  // |s| = f 2^k, f in [1/2, 1)
    const BigInteger significand = bigIntegerFrom(static_cast<std::uint64_t>(std::ldexp(f, 53)));
    BigInteger power = bigIntegerFrom(1);
    for (int i = 0; i < n; ++i) {
        power = product(power, significand);
    }
    return roundedToDouble(power, n * (k - 53), negative);
}

namespace {

// x^0.3333333333333333 is formed to within 2^-42 ULP; it is accepted this far from a midpoint.
constexpr double kOneThirdMarginUlps = 0x1p-36;
static_assert(kOneThirdMarginUlps >= 0x1p-42, "the margin must cover the approximation's error");

struct Approximation {
    double hi, lo;  // x^y within 2^-42 ULP, unscaled
    int scale;      // x^y = (hi + lo) 2^scale
};

// floor(cbrt(n)) for n below 2^333.
BigInteger integerCubeRoot(const BigInteger& n) {
    BigInteger root;
    for (int bit = 110; bit >= 0; --bit) {
        BigInteger trial = root;
        setBit(trial, bit);
        if (compare(product(product(trial, trial), trial), n) <= 0) {
            root = trial;
        }
    }
    return root;
}

// ln x for a positive finite x, within 2^-42 (step 2).
double naturalLog(double x) {
    constexpr double kLn2 = 0x1.62e42fefa39efp-1;
    constexpr double kSqrtHalf = 0x1.6a09e667f3bcdp-1;
    int j = 0;
    double f = std::frexp(x, &j);
    if (f < kSqrtHalf) {
        f *= 2.0;
        --j;
    }
    const double u = (f - 1.0) / (f + 1.0);
    const double u2 = u * u;
    double series = 0.0;  // atanh(u) / u = 1 + u^2/3 + u^4/5 + ...
    for (int odd = 25; odd >= 1; odd -= 2) {
        series = series * u2 + 1.0 / odd;
    }
    return j * kLn2 + 2.0 * u * series;
}

// x^y for a positive finite x (steps 1 to 4).
Approximation approximateOneThird(double x) {
    int k = 0;
    const double f = std::frexp(x, &k);
    const int exponent = k - 53;  // x = M 2^exponent
    int shift = 276;
    while ((exponent - shift) % 3 != 0) {
        ++shift;
    }
    const BigInteger n =
        shiftedLeft(bigIntegerFrom(static_cast<std::uint64_t>(std::ldexp(f, 53))), shift);
    const BigInteger root = integerCubeRoot(n);
    const int length = bitLength(root);
    const double hi = std::ldexp(static_cast<double>(bitsFrom(root, length - 53, 53)), -52);
    const double lo = std::ldexp(static_cast<double>(bitsFrom(root, length - 106, 53)), -105);

    const double delta = -naturalLog(x) / 0x1.8p55;  // 3 * 2^54
    const double d = delta + delta * delta * 0.5;
    return {hi, lo + hi * d, length - 1 + (exponent - shift) / 3};
}

bool positiveFinite(double x) {
    return x > 0.0 && std::isfinite(x);
}

}  // namespace

}  // namespace rounded

double powerOneThird(double x) {
    if (std::isnan(x) || x < 0.0) {
        return std::numeric_limits<double>::quiet_NaN();  // a negative base, a fractional power
    }
    if (!rounded::positiveFinite(x)) {
        return x == 0.0 ? 0.0 : x;
    }
    const rounded::Approximation a = rounded::approximateOneThird(x);
    const error_free::DoubleDouble rt = error_free::fastExactSum(a.hi, a.lo);
    if (!error_free::roundsTo(rt.hi, rt.lo,
                              rounded::kOneThirdMarginUlps * error_free::ulpOf(rt.hi))) {
        char message[160];
        std::snprintf(message, sizeof message,
                      "%.17g^0.3333333333333333 lies too close to a rounding midpoint to be "
                      "rounded with certainty",
                      x);
        throw std::domain_error(message);
    }
    return std::ldexp(rt.hi, a.scale);
}

namespace {

// The pair of powers from the chain, and those it refused (NaN) from the exact path.
void chainThenExact(power_chain::PowerPair pair, std::span<const double> s, std::span<double> lower,
                    std::span<double> higher) {
    if (!power_chain::chainPowers(pair, power_chain::fastestChainLoop(), s,
                                  rounded::kChainMarginUlps, lower, higher)) {
        return;  // all but about one power in 2^38
    }
    const int n = pair == power_chain::PowerPair::sixAndTwelve ? 6 : 7;
    replaceNaNs(lower, [&](std::size_t i) { return rounded::exactPower(s[i], n); });
    replaceNaNs(higher, [&](std::size_t i) { return rounded::exactPower(s[i], n + 6); });
}

}  // namespace

double power(double s, int n) {
    double lower = 0.0;
    double higher = 0.0;
    chainThenExact(n % 2 == 0 ? power_chain::PowerPair::sixAndTwelve
                              : power_chain::PowerPair::sevenAndThirteen,
                   std::span(&s, 1), std::span(&lower, 1), std::span(&higher, 1));
    return n < 12 ? lower : higher;
}

void powers6And12(std::span<const double> s, std::span<double> s6, std::span<double> s12) {
    chainThenExact(power_chain::PowerPair::sixAndTwelve, s, s6, s12);
}

void powers7And13(std::span<const double> s, std::span<double> s7, std::span<double> s13) {
    chainThenExact(power_chain::PowerPair::sevenAndThirteen, s, s7, s13);
}

}  // namespace argon
