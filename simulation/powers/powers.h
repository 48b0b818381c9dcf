#pragma once

// The powers the run takes: s^6, s^7, s^12 and s^13 of the Lennard-Jones ratio s = sigma / r, and
// the cube root of the cell volume taken as V^0.3333333333333333 (the double nearest 1/3).
//
// The build links one of two implementations (CMake cache variable ARGON_MD_POWER):
// - exact (rounded_powers.cpp): every power is the exact power of its double argument, rounded to
//   nearest with ties to even, as a perfect pow would return it. No C library function is
//   involved, so the run is the same on every IEEE-754 machine.
// - libm (libm_powers.cpp): std::pow itself, bit for bit, whatever the C library rounds it to.
//
// Each power has the same bits from the one-value function, which the plain force kernel
// calls, and from the batch functions, which the fast one calls.

#include <span>

namespace argon {

// s^n, for n = 6, 7, 12 or 13.
double power(double s, int n);

// s^6 and s^12 of every s (arrays of equal length; the outputs must not overlap s).
void powers6And12(std::span<const double> s, std::span<double> s6, std::span<double> s12);

// s^7 and s^13 of every s.
void powers7And13(std::span<const double> s, std::span<double> s7, std::span<double> s13);

// x^0.3333333333333333.
double powerOneThird(double x);

}  // namespace argon
