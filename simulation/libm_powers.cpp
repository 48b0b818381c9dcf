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
// below the margin of 1/64 = 0.0156 ULP: by step 3 of the chain's proof RN(P) = r, the chain's
// value.  Powers the check refuses (about 1/32 of all) come from pow itself.
//
// The two builds of pow may round differently within 0.0123 ULP of a midpoint, which is why
// glibc on a processor without FMA gives another run.

#include <cmath>
#include <cstddef>

#include "simulation/power_chain.h"
#include "simulation/powers.h"
#include "simulation/unsettled.h"

namespace argon {

namespace {

#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 29)) && \
    (defined(__x86_64__) || defined(__aarch64__))
constexpr bool kChainReproducesPow = true;
#else
constexpr bool kChainReproducesPow = false;
#endif

constexpr double kPowMarginUlps = 1.0 / 64.0;

// Every power from pow where the chain does not stand in for it, else those it refused (NaN).
void fillFromPow(std::span<const double> s, std::span<double> power, double n) {
    const auto pow = [&](std::size_t i) { return std::pow(s[i], n); };
    if constexpr (kChainReproducesPow) {
        replaceNaNs(power, pow);
    } else {
        for (std::size_t i = 0; i < s.size(); ++i) {
            power[i] = pow(i);
        }
    }
}

}  // namespace

void powers6And12(std::span<const double> s, std::span<double> s6, std::span<double> s12) {
    if constexpr (kChainReproducesPow) {
        power_chain::chainPowers6And12(power_chain::processorHasFma(), s, kPowMarginUlps, s6, s12);
    }
    fillFromPow(s, s6, 6.0);
    fillFromPow(s, s12, 12.0);
}

void powers7And13(std::span<const double> s, std::span<double> s7, std::span<double> s13) {
    if constexpr (kChainReproducesPow) {
        power_chain::chainPowers7And13(power_chain::processorHasFma(), s, kPowMarginUlps, s7, s13);
    }
    fillFromPow(s, s7, 7.0);
    fillFromPow(s, s13, 13.0);
}

double powerOneThird(double x) {
    return std::pow(x, 1.0 / 3.0);
}

}  // namespace argon
