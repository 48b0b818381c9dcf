#pragma once

#include <functional>

// The pair distribution g(r) of a dilute fluid, to first order in the density (J.-P. Hansen and
// I. R. McDonald, Theory of Simple Liquids, the density expansion of the cavity function
// y = g e^(βu)):
//
//     g(r) = e^(-u(r)/T*) [1 + ρ* y1(r) + O(ρ*²)],   y1(r) = ∫ f(r') f(|r - r'|) d³r',
//
// with f = e^(-u/T*) - 1 the Mayer function. At ρ* = 0.12 the next order is about ρ*² times
// the first's square, a few parts in a thousand of g. Reduced units: r in σ, T* = k_B T / ε.

// ∫ f(r') f(|r - r'|) d³r' for a Mayer function `mayer` that vanishes beyond `reach` (σ), at
// distance r > 0: in bipolar coordinates (2π/r) ∫_0^reach s f(s) [F(r + s) - F(|r - s|)] ds with
// F(x) = ∫_0^x t f(t) dt.
double mayerOverlap(const std::function<double(double)>& mayer, double reach, double r);

// The first maximum of g(r) of the Lennard-Jones 12-6 fluid at (T*, ρ*) to first order in ρ*:
// where and how high.
struct PairPeak {
    double position = 0.0;    // σ
    double height = 0.0;      // g
    double firstOrder = 0.0;  // ρ* y1 there: the first order's share of g
};
PairPeak lowDensityPeak(double temperature, double density);
