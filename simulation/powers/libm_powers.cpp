// The powers as the C library's std::pow returns them, bit for bit.
//
// With glibc 2.29 or later on x86-64 or AArch64 most powers of sigma / r come from the exact
// product chain (power_chain.h) instead of four calls of pow, where the chain's rounding is
// certainly pow's:
//
// glibc's pow since its rewrite for 2.29 (one C source, built with and without FMA on x86-64 and
// for AArch64; read here in glibc 2.36) forms log(s) as a double-double, multiplies it by n and
// ends with exp's scale + scale * tmp, rounded once: it returns RN(P) for an unrounded P.  Its
// error analysis gives exp 0.509 ULP (0.511 without FMA) including that final half ULP, and log a
// relative error of 1.3 * 2^-68 (1.5 * 2^-68 without FMA), which the product with n turns into an
// absolute error of n ln s and so into a relative error of the result; glibc's headline 0.54 ULP
// is the sum at |n ln s| = 1024 ln 2.  So
//     |P - E| <= (0.011 + |n ln s| * 1.5 * 2^-68 * 2^53) ulp(E).
// On the chain's domain [2^-3, 2^2], |13 ln s| <= 27.1 and therefore |P - E| < 0.0123 ulp(E),
// and the margin of 1/64 = 0.0156 ULP covers it with the chain's own 2^-45 ULP: by step 3 of the
// chain's proof RN(P) = r, the chain's value.  Powers the check refuses (about 1/32 of all) come
// from pow itself.
//
// The two builds of pow may round differently within 0.0123 ULP of a midpoint, which is why
// glibc on a processor without FMA gives another run.

#include <cmath>
#include <cstddef>

#include "simulation/exact/processor.h"
#include "simulation/exact/unsettled.h"
#include "simulation/powers/power_chain.h"
#include "simulation/powers/powers.h"

namespace argon {

namespace {

#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 29)) && \
    (defined(__x86_64__) || defined(__aarch64__))
constexpr bool kChainReproducesPow = true;
#else
constexpr bool kChainReproducesPow = false;
#endif

constexpr double kPowMarginUlps = 1.0 / 64.0;

// The pair of powers from the chain where it stands in for pow, the rest from pow.
void chainThenPow(power_chain::PowerPair pair, std::span<const double> s, std::span<double> lower,
                  std::span<double> higher) {
    const double n = pair == power_chain::PowerPair::sixAndTwelve ? 6.0 : 7.0;
    if constexpr (kChainReproducesPow) {
        if (!power_chain::chainPowers(pair, power_chain::fastestChainLoop(), s, kPowMarginUlps,
                                      lower, higher)) {
            return;
        }
        replaceNaNs(lower, [&](std::size_t i) { return std::pow(s[i], n); });
        replaceNaNs(higher, [&](std::size_t i) { return std::pow(s[i], n + 6.0); });
    } else {
        for (std::size_t i = 0; i < s.size(); ++i) {
            lower[i] = std::pow(s[i], n);
            higher[i] = std::pow(s[i], n + 6.0);
        }
    }
}

}  // namespace

double power(double s, int n) {
    return std::pow(s, static_cast<double>(n));
}

void powers6And12(std::span<const double> s, std::span<double> s6, std::span<double> s12) {
    chainThenPow(power_chain::PowerPair::sixAndTwelve, s, s6, s12);
}

void powers7And13(std::span<const double> s, std::span<double> s7, std::span<double> s13) {
    chainThenPow(power_chain::PowerPair::sevenAndThirteen, s, s7, s13);
}

double powerOneThird(double x) {
    return std::pow(x, 1.0 / 3.0);
}

}  // namespace argon
