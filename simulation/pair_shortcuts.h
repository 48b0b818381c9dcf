#pragma once

// The pair formulas of the force loop in plain double operations without branches, so that the
// pairs of a step are formed in vector loops. In double arithmetic each function here is the
// formula itself. In extended arithmetic each gives the double that the formula, evaluated with
// 64-bit intermediates, stores, or NaN where it cannot be sure of it; the caller then evaluates
// the formula itself, a few times per thousand pairs.
//
// Why the shortcuts give the formula's value
// ------------------------------------------
// RN53 and RN64 round to nearest (ties to even) to a 53- and a 64-bit significand; u = 2^-53;
// ulp(c) = 2^(e-52) for a double c in [2^e, 2^(e+1)).
//
// 1. Error-free transformations. For doubles a and b, a + b = s + t exactly with s = RN53(a + b)
//    (TwoSum, six operations, any a and b), and a * b = p + e exactly with p = RN53(a * b), e from
//    fma(a, b, -p) or from Veltkamp's 26-bit halves of a and b, whose partial products are exact;
//    both give the same two doubles, so FMA and portable builds agree bit for bit. The products
//    are exact when nothing falls below 2^-969 (their error term stays a normal number); every
//    length, ratio, force (near 2^-66 J/Å) and energy (near 2^-70 J) of a run lies far inside.
//
// 2. The last rounding. Each extended formula ends with RN53(X), X the 64-bit value it holds.
//    Let c + t approximate X, c a finite double and |X - (c + t)| <= B, and let the slack be at
//    least B + 2^-100 |c|. If c + RN53(t + slack) and c + RN53(t - slack) both round to c, then
//    RN53(X) = c: the test passes only with |t| + slack below ulp(c), so those two roundings move
//    t +- slack by less than 2^-104 |c|, and X - c lies strictly between them, inside the half
//    gaps to c's neighbours, which the test holds whether or not c is a power of two. A rounding
//    to 64 bits of a real y within ulp(c) of c moves it by at most 2^-64 |y| < 2^-63.9 |c|.
//
// 3. What is left to the formula. X lies within the slack of a midpoint between two doubles:
//    about a fraction 2 (slack / ulp(c)) of the pairs, 2^-8 or less.

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "simulation/error_free.h"
#include "simulation/forces.h"

namespace pair_shortcuts {

using error_free::DoubleDouble;
using error_free::exactProduct;
using error_free::exactSum;

// ulp(c) for a normal c, 0 for zero and subnormals, infinity for infinities and NaN.
inline double ulpOf(double c) {
    constexpr std::uint64_t kExponentBits = 0x7ff0000000000000;
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(c) & kExponentBits) * 0x1p-52;
}

inline bool isPowerOfTwo(double c) {
    constexpr std::uint64_t kSignificandBits = 0x000fffffffffffff;
    return (std::bit_cast<std::uint64_t>(c) & kSignificandBits) == 0;
}

// Step 2: whether every real within `slack` of c + t, slack including 2^-100 |c| to spare,
// rounds to c. c must also lie in [2^-800, DBL_MAX], where step 1 holds for every quantity of
// the shortcuts and roundings are relative.
inline bool settles(double c, double t, double slack) {
    const double magnitude = std::abs(c);
    return (magnitude >= 0x1p-800) & (magnitude <= std::numeric_limits<double>::max()) &
           (c + (t + slack) == c) & (c + (t - slack) == c);
}

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// dx² + dy² + dz² as stored, Å², or NaN.
// Extended: X = RN64(RN64(RN64(dx²) + RN64(dy²)) + RN64(dz²)); with S the exact sum and every
// term positive, |X - S| <= 2^-64 (p1 + p2 + p3 + (p1 + p2) + S)(1 + 2^-62) <= 3.0001 2^-64 S.
// The exact products p_i + e_i and two TwoSums give S = b + eb + ea + e1 + e2 + e3; the five
// small terms, each at most u S, sum to `low` with an error below 4u 3u S. So c + t = b + low
// has |X - (c + t)| < 2^-62.4 |c|, and a slack of 2^-62 |c| serves step 2. A product below
// 2^-969 is off by less than 2^-1074, far below that slack for c >= 2^-800.
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
        const double c = b.hi + low;
        const double t = low - (c - b.hi);  // c + t = b.hi + low exactly, as |low| < b.hi
        return settles(c, t, 0x1p-62 * c) ? c : kNaN;
    }
}

// σ / r as stored, or NaN (σ and r positive, Å).
// Extended: X = RN64(x) for the exact quotient x; c = RN53(x) and rem = σ - c r exactly (the
// remainder of a correctly rounded quotient is a double: one FMA rounds it to itself, and
// without FMA the exact product c r = hi + lo gives it, hi cancelling σ by Sterbenz's lemma).
// x - c = rem / r, and X lies within 2^-64 x < 2^-11 ulp(c) (1 + 2^-50) of x. For c no power of
// two, every real within ulp(c)/2 of c rounds to c; |rem| <= RN53((1/2 - 2^-10) ulp(c) r)
// bounds rem / r by (1/2 - 2^-10)(1 + u) ulp(c), which leaves X within that. Quotients and
// ratios in [2^-8, 2^8] keep every product normal.
template <bool kFma>
inline double ratioOrNaN(double sigma, double r) {
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
        return !isPowerOfTwo(c) & inRange & (std::abs(rem) <= (0.5 - 0x1p-10) * ulpOf(c) * r)
                   ? c
                   : kNaN;
    }
}

// H = (6 s^7 - 12 s^13) F as stored, J/Å, or NaN; F = forceHi + forceLo is the pair's force scale
// (in extended arithmetic a 64-bit number, split exactly into two doubles).
// Extended: 12 s^13 and 6 s^7 need at most 55 bits and are exact at 64 bits, so the stored
// repulsion is the double product rep = RN53(-12 s^13) and X = RN64(RN64(S) F) with the exact
// sum S = 6 s^7 + rep: |X - S F| <= (2^-63 + 2^-128) |S F|. With 6 s^7 = p + e exactly and
// p + rep = a + ea (TwoSum), either rep cancels p by Sterbenz's lemma (ea = 0 and S = a + e
// exactly) or |S| >= max(p, |rep|)(1 - u)/2 and RN53(ea + e) is off by below 3u² |S|. So
// S = Sh + Sl within 2^-104 |S|, and D = Sh Fh (exact) + RN53(Sh Fl) + RN53(Sl Fh), dropping
// Sl Fl < 2^-116 |S F|, is within 2^-102 |S F|: |X - (c + t)| < 2^-62.9 |c|, and a slack of
// 2^-62 |c| serves step 2. Every power here lies in [2^-39, 2^26] and F near 2^-69: no product
// leaves the normal range while |c| >= 2^-800.
template <bool kFma>
inline double pairDerivativeOrNaN(double s13, double s7, double forceHi, double forceLo) {
    if constexpr (!kExtendedArithmetic) {
        return pairDerivative(s13, s7, forceHi);  // forceLo is 0
    } else {
        const double repulsion = -12.0 * s13;
        const DoubleDouble attraction = exactProduct<kFma>(6.0, s7);
        const DoubleDouble a = exactSum(attraction.hi, repulsion);
        const DoubleDouble sum = exactSum(a.hi, a.lo + attraction.lo);
        const DoubleDouble product = exactProduct<kFma>(sum.hi, forceHi);
        const double low = product.lo + sum.hi * forceLo + sum.lo * forceHi;
        const double c = product.hi + low;
        const double t = low - (c - product.hi);
        return settles(c, t, 0x1p-62 * std::abs(c)) ? c : kNaN;
    }
}

// hi + lo == x.hi + x.lo exactly with |lo| <= ulp(hi)/2 (Fast2Sum, valid as |x.lo| <= |x.hi|).
inline DoubleDouble normalised(DoubleDouble x) {
    const double hi = x.hi + x.lo;
    return {hi, x.lo - (hi - x.hi)};
}

// (s^12 - s^6) E, the energy of one pair, J, E = 4 ε exactly (a double in both arithmetics): in
// double arithmetic as stored (lo = 0); in extended arithmetic within 2^-104 of it relative:
// s^12 - s^6 = d + de exactly (TwoSum), d E = ph + pl exactly, and de E, at most u |d E| unless
// Sterbenz's lemma makes de zero, is rounded with the sum of the lows, 3u² at the most.
template <bool kFma>
inline DoubleDouble pairEnergyApprox(double s12, double s6, double energyScale) {
    if constexpr (!kExtendedArithmetic) {
        return {pairEnergy(s12, s6, energyScale), 0.0};
    } else {
        const DoubleDouble d = exactSum(s12, -s6);
        const DoubleDouble product = exactProduct<kFma>(d.hi, energyScale);
        return normalised({product.hi, product.lo + d.lo * energyScale});
    }
}

// Whether sum = RN53(a + term.hi) is what the formula stores for a plus the term, where the term
// q (normalised, within 2^-104 |q| of its exact value) is held at 64 bits in extended arithmetic:
// Q = RN64(RN64(q1) q2) with |Q - q| <= (2^-63 + 2^-128) |q|, and the formula stores RN53(X),
// X = RN64(a + Q).
// Extended: a + term.hi = sum + t0 exactly (TwoSum), and c + t = sum + RN53(t0 + term.lo) is off
// by u |t0 + term.lo|, below 2^-104 |sum| wherever the test can pass. With the term's own error
// of 2^-104 |q| and the rounding of a + Q to 64 bits (step 2), |X - (c + t)| <
// 2^-62.9 |term.hi| + 2^-63.9 |sum| + 2^-103 |sum|, and a slack of 2^-62 |term.hi| + 2^-63 |sum|
// serves step 2. Where the test fails, the sum is a few parts in a thousand of the time another
// double or too close to call.
inline bool sumSettles(double a, DoubleDouble term, double sum) {
    if constexpr (!kExtendedArithmetic) {
        return true;
    } else {
        const double bPart = sum - a;
        const double aPart = sum - bPart;
        const double t0 = (a - aPart) + (term.hi - bPart);  // TwoSum's remainder
        const double slack = 0x1p-62 * std::abs(term.hi) + 0x1p-63 * std::abs(sum);
        return settles(sum, t0 + term.lo, slack);
    }
}

}  // namespace pair_shortcuts
