#pragma once

// The pair formulas of pair_formulas.h re-expressed in plain double operations without branches,
// so that the pairs of a step are formed in vector loops. In double arithmetic each function
// here is the formula itself. In extended arithmetic each gives the double that the formula,
// evaluated with 64-bit intermediates, stores, or NaN where it cannot be sure of it; the caller
// then evaluates the formula itself, a few times per thousand pairs.
//
// RN53 and RN64 round to nearest (ties to even) to a 53- and a 64-bit significand; u = 2^-53;
// ulp as in error_free.h. Each extended formula ends with RN53(X), X the 64-bit value it holds;
// a shortcut forms c + t within a bound B of X and passes c where roundsTo(c, t, slack) with
// slack >= B + 2^-100 |c| proves RN53(X) = c. What is left to the formula is the pairs whose X
// lies within the slack of a midpoint between two doubles: about 2 slack / ulp(c) of them.
//
// The exact products (error_free.h) are exact when nothing falls below 2^-969; every length,
// ratio, force (near 2^-66 J/Å) and energy (near 2^-70 J) of a run lies far inside.

#include <cmath>
#include <limits>

#include "simulation/exact/error_free.h"
#include "simulation/pair_formulas.h"

namespace pair_shortcuts {

using error_free::both;
using error_free::DoubleDouble;
using error_free::exactProduct;
using error_free::exactSum;
using error_free::fastExactSum;
using error_free::inExactRange;
using error_free::roundsTo;
using error_free::ulpOf;

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A coordinate as minimumImageOrNaN takes it: itself where the shortcut holds for it, NaN
// elsewhere, so that every separation from or to it is left to the formulas. The shortcut needs
// the coordinate in [0, L], so that |d| <= L; in extended arithmetic also in [2^-6, 2^5).
inline double coordinateOrNaN(double x, double edge) {
    bool holds = (x >= 0.0) & (x <= edge);
    if constexpr (kExtendedArithmetic) {
        holds = holds & (x >= 0x1p-6) & (x < 0x1p5);
    }
    return holds ? x : kNaN;
}

// minimumImage(separation(a, b), L) for coordinates from coordinateOrNaN, Å, or NaN.
// separation: in extended arithmetic the difference is rounded first to 64 bits, then to 53.
// For a and b in [2^-6, 2^5) the exact difference is a multiple of 2^-58 below 2^5 and fits in
// 63 bits: the first rounding is exact, and the double subtraction d = a - b gives the same
// value. In double arithmetic a - b is the formula.
// minimumImage: for |d| <= L the shift is -1, 0 or +1 edges. Away from half an edge it follows
// from |d| alone: below (1/2 - 2^-20) L (rounded up by at most u), the quotient d / L, rounded
// once or twice, is below 1/2 - 2^-21, its sum with 0.5 below 1, and the shift 0; above
// (1/2 + 2^-20) L the sum lies in (1, 1.5] and the shift is ±1. d - shift L is then exact in
// any precision: d - 0, or d - ±L with L/2 <= |d| <= L (Sterbenz). Near half an edge: NaN.
inline double minimumImageOrNaN(double a, double b, double edge) {
    const double d = a - b;
    const double magnitude = std::abs(d);
    double shift = magnitude < (0.5 - 0x1p-20) * edge ? 0.0 : kNaN;
    shift = magnitude > (0.5 + 0x1p-20) * edge ? std::copysign(edge, d) : shift;  // Å
    return d - shift;
}

// squaredDistance(dx, dy, dz), Å², or NaN.
// Extended: X = RN64(RN64(RN64(dx²) + RN64(dy²)) + RN64(dz²)); with S the exact sum and every
// term positive, |X - S| <= 2^-64 (p1 + p2 + p3 + (p1 + p2) + S)(1 + 2^-62) <= 3.0001 2^-64 S.
// The exact products p_i + e_i and two TwoSums give S = b + eb + ea + e1 + e2 + e3; the five
// small terms, each at most u S, sum to `low` with an error below 4u 3u S. So c + t = b + low
// has |X - (c + t)| < 2^-62.4 |c|, and a slack of 2^-62 |c| serves. A product below 2^-969 is
// off by less than 2^-1074, far below that slack for c >= 2^-800.
template <bool kFma>
inline double squaredDistanceOrNaN(double dx, double dy, double dz) {
    if constexpr (!kExtendedArithmetic) {
        return squaredDistance(dx, dy, dz);
    } else {
        const DoubleDouble x2 = exactProduct<kFma>(dx, dx);
        const DoubleDouble y2 = exactProduct<kFma>(dy, dy);
        const DoubleDouble z2 = exactProduct<kFma>(dz, dz);
        const DoubleDouble a = exactSum(x2.hi, y2.hi);
        const DoubleDouble b = exactSum(a.hi, z2.hi);
        const double low = (x2.lo + y2.lo) + (z2.lo + a.lo) + b.lo;
        const DoubleDouble c = fastExactSum(b.hi, low);  // |low| < b.hi
        return both(inExactRange(c.hi), roundsTo(c.hi, c.lo, 0x1p-62 * c.hi)) ? c.hi : kNaN;
    }
}

// ratio(σ, r), or NaN (σ and r positive, Å; inverseSigma = RN53(1 / σ)).
// Extended: X = RN64(x) for the exact quotient x; c = RN53(x) and rem = σ - c r exactly (the
// remainder of a correctly rounded quotient is a double: one FMA rounds it to itself, and
// without FMA the exact product c r = hi + lo gives it, hi cancelling σ by Sterbenz's lemma).
// x - c = rem / r = (rem c / σ)(x / c), so t = RN53(RN53(rem c) inverseSigma), off by three
// roundings and x / c - 1 (each below 2^-52), is within 2^-50 |x - c| <= 2^-51 ulp(c) of x - c;
// X lies within 2^-64 x < 2^-11 ulp(c) of x, and a slack of 2^-10 ulp(c) serves. Quotients and
// ratios in [2^-8, 2^8] keep every product normal.
template <bool kFma>
inline double ratioOrNaN(double sigma, double inverseSigma, double r) {
    if constexpr (!kExtendedArithmetic) {
        return ratio(sigma, r);
    } else {
        const double c = sigma / r;
        double rem;  // σ - c r, exactly
        if constexpr (kFma) {
            rem = std::fma(-c, r, sigma);
        } else {
            const DoubleDouble cr = exactProduct<false>(c, r);
            rem = (sigma - cr.hi) - cr.lo;
        }
        const bool inRange = (c >= 0x1p-8) & (c <= 0x1p8) & (r >= 0x1p-8) & (r <= 0x1p8);
        return both(inRange, roundsTo(c, rem * c * inverseSigma, 0x1p-10 * ulpOf(c))) ? c : kNaN;
    }
}

// pairDerivative(s13, s7, F), J/Å, or NaN; F = forceHi + forceLo is the pair's force scale
// (in extended arithmetic a 64-bit number, split exactly into two doubles; forceLo is 0 in
// double arithmetic).
// Extended: 12 s^13 and 6 s^7 need at most 55 bits and are exact at 64 bits, so the stored
// repulsion is the double product rep = RN53(-12 s^13) and X = RN64(RN64(S) F) with the exact
// sum S = 6 s^7 + rep: |X - S F| <= (2^-63 + 2^-128) |S F|. With 6 s^7 = p + e exactly and
// p + rep = a + ea (TwoSum), either rep cancels p by Sterbenz's lemma (ea = 0 and S = a + e
// exactly) or |S| >= max(p, |rep|)(1 - u)/2 and RN53(ea + e) is off by below 3u² |S|. So
// S = Sh + Sl within 2^-104 |S|, and D = Sh Fh (exact) + RN53(Sh Fl) + RN53(Sl Fh), dropping
// Sl Fl < 2^-116 |S F|, is within 2^-102 |S F|: |X - (c + t)| < 2^-62.9 |c|, and a slack of
// 2^-62 |c| serves. Every power here lies in [2^-39, 2^26] and F near 2^-69: no product
// leaves the normal range while |c| >= 2^-800.
template <bool kFma>
inline double pairDerivativeOrNaN(double s13, double s7, double forceHi, double forceLo) {
    if constexpr (!kExtendedArithmetic) {
        return pairDerivative(s13, s7, forceHi);
    } else {
        const double repulsion = -12.0 * s13;
        const DoubleDouble attraction = exactProduct<kFma>(6.0, s7);
        const DoubleDouble a = exactSum(attraction.hi, repulsion);
        const DoubleDouble sum = exactSum(a.hi, a.lo + attraction.lo);
        const DoubleDouble product = exactProduct<kFma>(sum.hi, forceHi);
        const double low = product.lo + sum.hi * forceLo + sum.lo * forceHi;
        const DoubleDouble c = fastExactSum(product.hi, low);
        return both(inExactRange(c.hi), roundsTo(c.hi, c.lo, 0x1p-62 * std::abs(c.hi))) ? c.hi
                                                                                        : kNaN;
    }
}

// pairEnergy(s12, s6, E), J, E = 4 ε exactly (a double in both arithmetics): in double
// arithmetic the formula (lo = 0); in extended arithmetic within 2^-104 of it relative, with
// |lo| <= ulp(hi)/2: s^12 - s^6 = d + de exactly (TwoSum), d E = ph + pl exactly, and de E, at
// most u |d E| unless Sterbenz's lemma makes de zero, is rounded with the sum of the lows, 3u²
// at the most.
template <bool kFma>
inline DoubleDouble pairEnergyApprox(double s12, double s6, double energyScale) {
    if constexpr (!kExtendedArithmetic) {
        return {stored(pairEnergy(s12, s6, energyScale)), 0.0};
    } else {
        const DoubleDouble d = exactSum(s12, -s6);
        const DoubleDouble product = exactProduct<kFma>(d.hi, energyScale);
        return fastExactSum(product.hi, product.lo + d.lo * energyScale);
    }
}

// addPairEnergy(a, U) with the term's leading part only: the formula in double arithmetic; in
// extended arithmetic RN53(a + term.hi), which sumSettles confirms.
inline double sumWithLeadingPart(double a, DoubleDouble term) {
    if constexpr (!kExtendedArithmetic) {
        return addPairEnergy(a, term.hi);
    } else {
        return a + term.hi;
    }
}

// Whether RN53(a + term.hi) is what addPairEnergy stores for a plus the term, where the term q
// (from pairEnergyApprox, within 2^-104 |q| of its exact value) is held at 64 bits in extended
// arithmetic: Q = RN64(RN64(q1) q2) with |Q - q| <= (2^-63 + 2^-128) |q|, and the formula
// stores RN53(X), X = RN64(a + Q).
// Extended: a + term.hi = sum + t0 exactly (TwoSum), and c + t = sum + RN53(t0 + term.lo) is off
// by u |t0 + term.lo|, below 2^-104 |sum| wherever the test can pass. With the term's own error
// of 2^-104 |q| and the rounding of a + Q to 64 bits, |X - (c + t)| < 2^-62.9 |term.hi| +
// 2^-63.9 |sum| + 2^-103 |sum|, and a slack of 2^-62 |term.hi| + 2^-63 |sum| serves. Where the
// test fails, the sum is a few parts in a thousand of the time another double or too close to
// call.
inline bool sumSettles(double a, DoubleDouble term) {
    if constexpr (!kExtendedArithmetic) {
        return true;
    } else {
        const DoubleDouble sum = exactSum(a, term.hi);
        const double slack = 0x1p-62 * std::abs(term.hi) + 0x1p-63 * std::abs(sum.hi);
        return both(inExactRange(sum.hi), roundsTo(sum.hi, sum.lo + term.lo, slack));
    }
}

}  // namespace pair_shortcuts
