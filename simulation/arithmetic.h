#pragma once

// The precision that carries the intermediates of every formula. Each formula widens its first
// operand to `Wide`, is evaluated in the order written, and is rounded to double where its value
// is stored (`stored`). The build chooses: with ARGON_MD_EXTENDED the intermediates keep a 64-bit
// significand (x87 extended), otherwise every operation rounds to double.
#if defined(ARGON_MD_EXTENDED)
#include <limits>
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

// The two constants held at the intermediate precision rather than as double literals:
// the reciprocal of the generator's largest value, and the 1/N factor of the per-atom energies.
inline constexpr Wide kInverseRandomMax = Wide(1) / 32767;  // 1/32767
inline constexpr Wide kInverseAtomCount = Wide(1) / 50;     // 0.02 = 1/N
