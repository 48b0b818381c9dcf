#pragma once

// Error-free transformations and the one test of a rounding, for the formulas that must know
// their own rounding error: the power chain and the shortcuts of the fast force kernel.
// RN rounds to nearest with ties to even; u = 2^-53; ulp(c) = 2^(e-52) for a double c in
// [2^e, 2^(e+1)).

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace error_free {

struct DoubleDouble {
    double hi;
    double lo;
};

// hi + lo == a * b exactly, hi = RN(a * b): the remainder from fma(a, b, -hi), or, without a
// hardware FMA (std::fma is then a slow library call), from Veltkamp's 26-bit halves of a and b,
// whose partial products are exact. Both give the same two doubles wherever no partial product
// falls below 2^-969 or overflows.
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

// hi + lo == a + b exactly, hi = RN(a + b) (TwoSum, any finite a and b).
inline DoubleDouble exactSum(double a, double b) {
    const double s = a + b;
    const double bPart = s - a;
    const double aPart = s - bPart;
    return {s, (a - aPart) + (b - bPart)};
}

// hi + lo == a + b exactly, hi = RN(a + b), for |b| <= |a| or a zero (Fast2Sum).
inline DoubleDouble fastExactSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// ulp(c) for a normal c, 0 for zero and subnormals, infinity for infinities and NaN.
inline double ulpOf(double c) {
    constexpr std::uint64_t kExponentBits = 0x7ff0000000000000;
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(c) & kExponentBits) * 0x1p-52;
}

// Whether every real within `slack` of c + t rounds to c, for a value X known only as c + t
// within a bound B: with slack >= B + 2^-100 |c|, a pass proves RN(X) = c.
// Why: the test passes only with |t| + slack below ulp(c), so the roundings of t +- slack move
// them by less than 2^-104 |c|, and X - c lies strictly between them, inside the half gaps to
// c's neighbours, which the two sums test whether or not c is a power of two. c must lie in
// [2^-800, DBL_MAX] (see inExactRange), where the roundings are relative.
inline bool roundsTo(double c, double t, double slack) {
    return (c + (t + slack) == c) & (c + (t - slack) == c);
}

// a and b, both evaluated, with no branch between them (&& may branch over b), so that loops
// that test them stay vector loops.
inline bool both(bool a, bool b) {
    return a & b;
}

// Whether |c| lies in [2^-800, DBL_MAX], where roundsTo holds and the exact products of values
// near c stay exact.
inline bool inExactRange(double c) {
    const double magnitude = std::abs(c);
    return (magnitude >= 0x1p-800) & (magnitude <= std::numeric_limits<double>::max());
}

}  // namespace error_free
