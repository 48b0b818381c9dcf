#pragma once

// Correctly rounded powers: the exact power of the double arguments, rounded to nearest with ties
// to even, without the C library's pow.  The functions of powers.h in the default build; these
// are their parts, for tests and benchmarks.

namespace argon::rounded {

// The chain's check accepts a power only this far (in ULP) from a rounding midpoint; its own
// error is below 2^-45 ULP (power_chain.h).
inline constexpr double kChainMarginUlps = 0x1p-40;

// The exact path: s^n for n in 0..13 from the integer power of s's significand.  Any double s,
// with the results pow gives for zeros, infinities and NaN.
double exactPower(double s, int n);

}  // namespace argon::rounded
