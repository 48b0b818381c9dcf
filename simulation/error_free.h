#pragma once

// Error-free transformations: a sum or a product of two doubles as a double-double hi + lo
// equal to it exactly, for the formulas that must know their own rounding.

#include <cmath>

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

}  // namespace error_free
