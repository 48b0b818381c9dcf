#pragma once

// The precision that carries the intermediates of every formula. Each formula widens its first
// operand to `Wide`, is evaluated in the order written, and is rounded to double where its value
// is stored (`stored`). The build chooses: with ARGON_MD_EXTENDED the intermediates keep a 64-bit
// significand (x87 extended), otherwise every operation rounds to double.
#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#if defined(ARGON_MD_EXTENDED)
using Wide = long double;
static_assert(std::numeric_limits<Wide>::digits == 64,
              "extended arithmetic needs a long double with a 64-bit significand");
#else
using Wide = double;
#endif

// The value of a formula as it is kept between formulas.
inline double stored(Wide value) {
    return static_cast<double>(value);
}

inline constexpr bool kExtendedArithmetic = !std::is_same_v<Wide, double>;

// a - b as a formula of its own. In extended arithmetic the difference is rounded first to a
// 64-bit significand, then to double. When both operands lie in [2^-6, 2^5), as coordinates in
// the cell almost always do, the exact difference is a multiple of 2^-58 below 2^5 and fits in
// 63 bits: the first rounding is exact, and the double subtraction gives the same value without
// the trip through memory that x87 rounding takes.
inline double storedDifference(double a, double b) {
    if constexpr (kExtendedArithmetic) {
        if (!(std::min(a, b) >= 0x1p-6 && std::max(a, b) < 0x1p5)) {
            return stored(Wide(a) - b);
        }
    }
    return a - b;
}

// The two constants held at the intermediate precision rather than as double literals:
// the reciprocal of the generator's largest value, and the 1/N factor of the per-atom energies.
inline constexpr Wide kInverseRandomMax = Wide(1) / 32767;  // 1/32767
inline constexpr Wide kInverseAtomCount = Wide(1) / 50;     // 0.02 = 1/N
