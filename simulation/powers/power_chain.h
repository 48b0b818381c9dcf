#pragma once

// The powers s^6, s^7, s^12 and s^13 of the Lennard-Jones ratio s = sigma / r from one chain of
// exact products, and the check whether the chain's value settles their rounding to double.
//
// u = 2^-53 is the unit roundoff; ulp and RN as in error_free.h; E is the exact s^n.
//
// 1. The chain.  s2 = s * s, s3 = s2 * s, s6 = s3^2, s7 = s6 * s, s12 = s6^2, s13 = s12 * s, each
//    a double-double hi + lo.  A product of doubles is split exactly into its rounding and its
//    remainder (exactProduct), by FMA or by Veltkamp's halves alike.  With |lo| <= rho |hi|,
//    multiplying by a double c adds the roundings of lo * c and of the sum of the lows, at most
//    u(2 rho + u) relative; squaring adds those of 2 hi lo and of the sum and drops lo^2, at most
//    4 u rho + u^2 + rho^2.  rho grows from u (s2) to 2u, 5u, 6u, 11u and 12u (s13), a relative
//    error doubles under squaring, and the totals are 19 u^2 (s6), 30 u^2 (s7), 84 u^2 (s12) and
//    107 u^2 (s13), all below 2^-99 with room for the higher-order terms.  Hence the chain's
//    value D = hi + lo has |D - E| < 2^-99 E < 2^-45 ulp(E).
//
// 2. No over- or underflow.  The chain is taken for s in [2^-3, 2^2] only, which holds every
//    sigma / r of the simulation (0.156 to 3.4).  Such s is a multiple of 2^-55, so every quantity
//    in the chain, Veltkamp's halves included, is zero or a multiple of 2^-729 (a normal number),
//    and none exceeds 2^60: the products stay exact.
//
// 3. The check.  r + t = D exactly (Fast2Sum, as |lo| < |hi|).  A caller whose own power P lies
//    within B of E gives a margin m ulp(r) >= B + 2^-45 ulp(r) + 2^-100 r: where roundsTo(r, t,
//    m ulp(r)) passes, RN(P) = r.  What fails, and s outside [2^-3, 2^2] or not a number, is left
//    to the caller as NaN.

#include <span>

namespace argon::power_chain {

enum class PowerPair {
    sixAndTwelve,     // s^6 and s^12, for the energy
    sevenAndThirteen  // s^7 and s^13, for the force
};

// How the loop forms its exact products, and for which vectors it is compiled: Veltkamp's
// split for the build's target; FMA for AVX2 (or the build's target, where it has FMA); FMA for
// the widest vectors this processor has, AVX-512 or those.  Both FMA loops need fmaAvailable().
enum class ChainLoop { veltkamp, fma, widestFma };

// The pair of powers of every s (arrays of equal length; the outputs must not overlap s), in a
// loop without calls or branches that the compiler vectorises; each power, or NaN where the
// check with the margin fails.  Returns whether any is NaN.  Every loop gives the same bits.
bool chainPowers(PowerPair pair, ChainLoop loop, std::span<const double> s, double marginUlps,
                 std::span<double> lower, std::span<double> higher);

// The fastest loop here.
ChainLoop fastestChainLoop();

}  // namespace argon::power_chain
