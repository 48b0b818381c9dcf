#pragma once

// The powers s^6, s^7, s^12 and s^13 of the Lennard-Jones ratio s = sigma / r, equal bit for bit
// to glibc's std::pow(s, 6.0), std::pow(s, 7.0), std::pow(s, 12.0) and std::pow(s, 13.0), formed
// together from one chain of exact products instead of four calls of pow.
//
// Why the result is pow's, bit for bit
// ------------------------------------
// u = 2^-53 is the unit roundoff; ulp(x) = 2^(e-52) for x in the binade [2^e, 2^(e+1)); RN is
// rounding to nearest (ties to even); E is the exact s^n.
//
// 1. What pow returns.  glibc's pow since its rewrite for 2.29 (one C source, built with and
//    without FMA on x86-64 and for AArch64; read here in glibc 2.36) forms log(s) as a
//    double-double, multiplies it by n and ends with exp's scale + scale * tmp, rounded once: it
//    returns RN(P) for an unrounded P.  Its error analysis gives exp 0.509 ULP (0.511 without FMA)
//    including that final half ULP, and log a relative error of 1.3 * 2^-68 (1.5 * 2^-68 without
//    FMA), which the product with n turns into an absolute error of n ln s and so into a relative
//    error of the result; glibc's headline 0.54 ULP is the sum at |n ln s| = 1024 ln 2.  So
//        |P - E| <= (0.011 + |n ln s| * 1.5 * 2^-68 * 2^53) ulp(E).
//    We take the fast path only for s in [2^-3, 2^2], which holds every sigma / r of the
//    simulation (0.156 to 3.4), where |13 ln s| <= 27.1 and therefore |P - E| < 0.0123 ulp(E),
//    below our margin of 1/64 = 0.0156 ULP.
//
// 2. The chain.  s2 = s * s, s3 = s2 * s, s6 = s3^2, s7 = s6 * s, s12 = s6^2, s13 = s12 * s, each
//    a double-double hi + lo.  A product of doubles a * b is split exactly into RN(a * b) and its
//    remainder, by fma(a, b, -RN(a * b)) or by Dekker's split into 26-bit halves whose partial
//    products are exact; both give the same two doubles, so both paths agree bit for bit.  With
//    |lo| <= rho |hi|, multiplying by a double c adds the roundings of lo * c and of the sum of the
//    lows, at most u(2 rho + u) relative; squaring adds those of 2 hi lo and of the sum and drops
//    lo^2, at most 4 u rho + u^2 + rho^2.  rho grows from u (s2) to 2u, 5u, 6u, 11u and 12u (s13),
//    a relative error doubles under squaring, and the totals are 19 u^2 (s6), 30 u^2 (s7),
//    84 u^2 (s12) and 107 u^2 (s13), all below 2^-99 with room for the higher-order terms.  Hence
//    the chain's value D = hi + lo has |D - E| < 2^-99 E < 2^-45 ulp(r), with r as below.
//
// 3. The check.  r = RN(hi + lo) and t = lo - (r - hi), so that r + t = D exactly (Fast2Sum,
//    valid as |lo| < |hi|).  Let r be no power of two and g = ulp(r), the gap to both of r's
//    neighbours.  If |t| <= (1/2 - 1/64) g then |E - r| < g / 2, so E lies in r's binade,
//    ulp(E) = g, and |P - r| <= (1/2 - 1/64 + 2^-45 + 0.0123) g < g / 2: RN(P) = r = RN(E).
//    pow's result is the correctly rounded power, and so is r.  A power of two r has a gap below
//    half the one above, and pow's error could then reach past the margin; such r, powers that
//    fail the check (about 1/32 of all), and s outside [2^-3, 2^2] or not a number take their
//    power from std::pow itself.
//
// 4. No over- or underflow.  s in [2^-3, 2^2] is a multiple of 2^-55, so every quantity in the
//    chain, Dekker's halves included, is zero or a multiple of 2^-729 (a normal number), and none
//    exceeds 2^60: the products stay exact.
//
// Where glibc's pow is not the one above (other C libraries, glibc before 2.29, other
// processors), every function here simply calls std::pow.

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

namespace argon {

#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 29)) && \
    (defined(__x86_64__) || defined(__aarch64__))
inline constexpr bool kLjPowersFastPath = true;
#else
inline constexpr bool kLjPowersFastPath = false;
#endif

namespace lj_powers_detail {

#ifdef __FP_FAST_FMA
inline constexpr bool kCompiledForFma = true;
#else
inline constexpr bool kCompiledForFma = false;
#endif

inline constexpr double kSmallestS = 0x1p-3;
inline constexpr double kLargestS = 0x1p2;
inline constexpr double kMarginUlps = 1.0 / 64.0;

struct DoubleDouble {
    double hi;
    double lo;
};

// hi + lo == a * b exactly.  Without a hardware FMA, std::fma is a slow library call, so the
// product is then formed from Veltkamp halves (exact for |a|, |b| far from overflow/underflow).
template <bool kFma>
inline DoubleDouble exactProduct(double a, double b) {
    const double p = a * b;
    if constexpr (kFma) {
        return {p, std::fma(a, b, -p)};
    } else {
        constexpr double kSplitter = 0x1p27 + 1.0;
        const double ca = kSplitter * a;
        const double aHi = ca - (ca - a);
        const double aLo = a - aHi;
        const double cb = kSplitter * b;
        const double bHi = cb - (cb - b);
        const double bLo = b - bHi;
        return {p, ((aHi * bHi - p) + aHi * bLo + aLo * bHi) + aLo * bLo};
    }
}

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

// RN(x.hi + x.lo) where step 3 of the proof shows that pow returns the same, NaN elsewhere.
inline double roundedOrNaN(DoubleDouble x, bool inDomain) {
    constexpr std::uint64_t kExponentBits = 0x7ff0000000000000;
    constexpr std::uint64_t kSignificandBits = 0x000fffffffffffff;
    const double r = x.hi + x.lo;
    const double t = x.lo - (r - x.hi);
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(r);
    const double ulp = std::bit_cast<double>(bits & kExponentBits) * 0x1p-52;
    const bool safe =
        inDomain & ((bits & kSignificandBits) != 0) & (std::abs(t) <= (0.5 - kMarginUlps) * ulp);
    return safe ? r : std::numeric_limits<double>::quiet_NaN();
}

// Empty where pow is not the one analysed above, so that every power comes from std::pow there.
inline bool inFastDomain(double s) {
    return kLjPowersFastPath & (s >= kSmallestS) & (s <= kLargestS);
}

// The first pass: each power, or NaN where it must come from std::pow.
template <bool kFma>
inline void fastPowers6And12(double s, double& s6, double& s12) {
    const bool inDomain = inFastDomain(s);
    const DoubleDouble p3 = times<kFma>(exactProduct<kFma>(s, s), s);
    const DoubleDouble p6 = squared<kFma>(p3);
    s6 = roundedOrNaN(p6, inDomain);
    s12 = roundedOrNaN(squared<kFma>(p6), inDomain);
}

template <bool kFma>
inline void fastPowers6To13(double s, double& s6, double& s7, double& s12, double& s13) {
    const bool inDomain = inFastDomain(s);
    const DoubleDouble p3 = times<kFma>(exactProduct<kFma>(s, s), s);
    const DoubleDouble p6 = squared<kFma>(p3);
    const DoubleDouble p12 = squared<kFma>(p6);
    s6 = roundedOrNaN(p6, inDomain);
    s7 = roundedOrNaN(times<kFma>(p6, s), inDomain);
    s12 = roundedOrNaN(p12, inDomain);
    s13 = roundedOrNaN(times<kFma>(p12, s), inDomain);
}

inline double orPow(double fast, double s, double n) {
    return std::isnan(fast) ? std::pow(s, n) : fast;
}

template <bool kFma>
inline void powers6And12(double s, double& s6, double& s12) {
    fastPowers6And12<kFma>(s, s6, s12);
    s6 = orPow(s6, s, 6.0);
    s12 = orPow(s12, s, 12.0);
}

template <bool kFma>
inline void powers6To13(double s, double& s6, double& s7, double& s12, double& s13) {
    fastPowers6To13<kFma>(s, s6, s7, s12, s13);
    s6 = orPow(s6, s, 6.0);
    s7 = orPow(s7, s, 7.0);
    s12 = orPow(s12, s, 12.0);
    s13 = orPow(s13, s, 13.0);
}

// The batch functions below with the product method chosen by the caller; useFma needs
// processorHasFma().
bool processorHasFma();
void powers6And12(bool useFma, std::span<const double> s, std::span<double> s6,
                  std::span<double> s12);
void powers6To13(bool useFma, std::span<const double> s, std::span<double> s6, std::span<double> s7,
                 std::span<double> s12, std::span<double> s13);

}  // namespace lj_powers_detail

// s^6 and s^12, as std::pow gives them.  FMA is used if the build targets a processor with it.
inline void powers6And12(double s, double& s6, double& s12) {
    lj_powers_detail::powers6And12<lj_powers_detail::kCompiledForFma>(s, s6, s12);
}

// s^6, s^7, s^12 and s^13, as std::pow gives them.
inline void powers6To13(double s, double& s6, double& s7, double& s12, double& s13) {
    lj_powers_detail::powers6To13<lj_powers_detail::kCompiledForFma>(s, s6, s7, s12, s13);
}

// The same over arrays of equal length (outputs must not overlap s): a vector loop first, then
// std::pow for the few powers it could not settle.  On x86-64 the processor's FMA is used when it
// has one, whatever the build's target.
void powers6And12(std::span<const double> s, std::span<double> s6, std::span<double> s12);
void powers6To13(std::span<const double> s, std::span<double> s6, std::span<double> s7,
                 std::span<double> s12, std::span<double> s13);

}  // namespace argon
