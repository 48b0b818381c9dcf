#pragma once

// The powers s^6, s^7, s^12 and s^13 of the Lennard-Jones ratio s = sigma / r from one chain of
// exact products, and the check whether the chain's value settles their rounding to double.
//
// u = 2^-53 is the unit roundoff; ulp(x) = 2^(e-52) for x in the binade [2^e, 2^(e+1)); RN is
// rounding to nearest (ties to even); E is the exact s^n.
//
// 1. The chain.  s2 = s * s, s3 = s2 * s, s6 = s3^2, s7 = s6 * s, s12 = s6^2, s13 = s12 * s, each
//    a double-double hi + lo.  A product of doubles a * b is split exactly into RN(a * b) and its
//    remainder, by fma(a, b, -RN(a * b)) or by Dekker's split into 26-bit halves whose partial
//    products are exact; both give the same two doubles, so both paths agree bit for bit.  With
//    |lo| <= rho |hi|, multiplying by a double c adds the roundings of lo * c and of the sum of the
//    lows, at most u(2 rho + u) relative; squaring adds those of 2 hi lo and of the sum and drops
//    lo^2, at most 4 u rho + u^2 + rho^2.  rho grows from u (s2) to 2u, 5u, 6u, 11u and 12u (s13),
//    a relative error doubles under squaring, and the totals are 19 u^2 (s6), 30 u^2 (s7),
//    84 u^2 (s12) and 107 u^2 (s13), all below 2^-99 with room for the higher-order terms.  Hence
//    the chain's value D = hi + lo has |D - E| < 2^-99 E.
//
// 2. No over- or underflow.  The chain is taken for s in [2^-3, 2^2] only, which holds every
//    sigma / r of the simulation (0.156 to 3.4).  Such s is a multiple of 2^-55, so every quantity
//    in the chain, Dekker's halves included, is zero or a multiple of 2^-729 (a normal number), and
//    none exceeds 2^60: the products stay exact.
//
// 3. The check.  r = RN(hi + lo) and t = lo - (r - hi), so that r + t = D exactly (Fast2Sum, valid
//    as |lo| < |hi|).  Let r be no power of two and g = ulp(r), the gap to both of r's neighbours.
//    As E < 2r < 2^54 g, step 1 gives |D - E| < 2^-45 g.  If |t| <= (1/2 - m) g for a margin
//    m >= 2^-45, then |E - r| < (1/2 - m + 2^-45) g <= g / 2, so RN(E) = r; and any value within
//    (m - 2^-45) g of E rounds to r as well.  A power of two r has a gap below half the one above,
//    so it is never accepted; such r, powers that fail the check, and s outside [2^-3, 2^2] or not
//    a number are left to the caller as NaN.

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

#include "simulation/error_free.h"

namespace argon::power_chain {

#ifdef __FP_FAST_FMA
inline constexpr bool kCompiledForFma = true;
#else
inline constexpr bool kCompiledForFma = false;
#endif

inline constexpr double kSmallestS = 0x1p-3;
inline constexpr double kLargestS = 0x1p2;

using error_free::DoubleDouble;
using error_free::exactProduct;

template <bool kFma>
inline DoubleDouble times(DoubleDouble x, double c) {
    const DoubleDouble p = exactProduct<kFma>(x.hi, c);
    return {p.hi, p.lo + x.lo * c};
}

template <bool kFma>
inline DoubleDouble squared(DoubleDouble x) {
    const DoubleDouble p = exactProduct<kFma>(x.hi, x.hi);
    return {p.hi, p.lo + (x.hi + x.hi) * x.lo};
}

// RN(x.hi + x.lo) where step 3 shows it to be the rounding of every value within
// (marginUlps - 2^-45) ulp of the exact power; NaN elsewhere.
inline double roundedOrNaN(DoubleDouble x, bool inDomain, double marginUlps) {
    constexpr std::uint64_t kExponentBits = 0x7ff0000000000000;
    constexpr std::uint64_t kSignificandBits = 0x000fffffffffffff;
    const double r = x.hi + x.lo;
    const double t = x.lo - (r - x.hi);
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(r);
    const double ulp = std::bit_cast<double>(bits & kExponentBits) * 0x1p-52;
    const bool safe =
        inDomain & ((bits & kSignificandBits) != 0) & (std::abs(t) <= (0.5 - marginUlps) * ulp);
    return safe ? r : std::numeric_limits<double>::quiet_NaN();
}

inline bool inChainDomain(double s) {
    return (s >= kSmallestS) & (s <= kLargestS);
}

template <bool kFma>
inline void chainPowers6And12(double s, double marginUlps, double& s6, double& s12) {
    const bool inDomain = inChainDomain(s);
    const DoubleDouble p3 = times<kFma>(exactProduct<kFma>(s, s), s);
    const DoubleDouble p6 = squared<kFma>(p3);
    s6 = roundedOrNaN(p6, inDomain, marginUlps);
    s12 = roundedOrNaN(squared<kFma>(p6), inDomain, marginUlps);
}

template <bool kFma>
inline void chainPowers7And13(double s, double marginUlps, double& s7, double& s13) {
    const bool inDomain = inChainDomain(s);
    const DoubleDouble p3 = times<kFma>(exactProduct<kFma>(s, s), s);
    const DoubleDouble p6 = squared<kFma>(p3);
    s7 = roundedOrNaN(times<kFma>(p6, s), inDomain, marginUlps);
    s13 = roundedOrNaN(times<kFma>(squared<kFma>(p6), s), inDomain, marginUlps);
}

// Whether the batch functions below may use FMA: the build targets it, or (x86-64) the
// processor has FMA and AVX2.
bool processorHasFma();

// The chain over arrays of equal length (outputs must not overlap s), in a loop without calls or
// branches that the compiler vectorises; each power, or NaN where the check fails.  useFma needs
// processorHasFma(); both kinds of product give the same bits.
void chainPowers6And12(bool useFma, std::span<const double> s, double marginUlps,
                       std::span<double> s6, std::span<double> s12);
void chainPowers7And13(bool useFma, std::span<const double> s, double marginUlps,
                       std::span<double> s7, std::span<double> s13);

}  // namespace argon::power_chain
