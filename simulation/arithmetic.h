#pragma once

// The precision that carries the intermediates of every formula. Each formula widens its first
// operand to `Wide`, is evaluated in the order written, and is rounded to double where its value
// is stored (`stored`). The build chooses: with ARGON_MD_EXTENDED the intermediates keep a 64-bit
// significand (x87 extended), otherwise every operation rounds to double.
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

// The reciprocal of the generator's largest value, held at the intermediate precision rather
// than as a double literal (the other such constant, 1/N, is beside the atom count).
inline constexpr Wide kInverseRandomMax = Wide(1) / 32767;  // 1/32767
