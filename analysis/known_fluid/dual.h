#pragma once

#include <cmath>

// A number carried with its derivative along one chosen variable (forward-mode automatic
// differentiation). Each operation applies the chain rule, so a formula written once gives its
// value and its exact derivative: seed the variable with slope 1, every other input with 0.
struct Dual {
    double value = 0.0;
    double slope = 0.0;  // d value / d (the seeded variable)
};

// A variable to differentiate by, and a constant.
inline Dual variable(double x) {
    return {x, 1.0};
}
inline Dual constant(double x) {
    return {x, 0.0};
}

inline Dual operator+(Dual a, Dual b) {
    return {a.value + b.value, a.slope + b.slope};
}
inline Dual operator-(Dual a, Dual b) {
    return {a.value - b.value, a.slope - b.slope};
}
inline Dual operator-(Dual a) {
    return {-a.value, -a.slope};
}
inline Dual operator*(Dual a, Dual b) {
    return {a.value * b.value, a.slope * b.value + a.value * b.slope};
}
inline Dual operator/(Dual a, Dual b) {
    return {a.value / b.value, (a.slope * b.value - a.value * b.slope) / (b.value * b.value)};
}
inline Dual operator+(Dual a, double b) {
    return a + constant(b);
}
inline Dual operator+(double a, Dual b) {
    return constant(a) + b;
}
inline Dual operator-(Dual a, double b) {
    return a - constant(b);
}
inline Dual operator-(double a, Dual b) {
    return constant(a) - b;
}
inline Dual operator*(double a, Dual b) {
    return constant(a) * b;
}
inline Dual operator/(Dual a, double b) {
    return a / constant(b);
}
inline Dual operator/(double a, Dual b) {
    return constant(a) / b;
}

inline Dual exp(Dual a) {
    const double e = std::exp(a.value);
    return {e, e * a.slope};
}
inline Dual log(Dual a) {
    return {std::log(a.value), a.slope / a.value};
}
inline Dual sqrt(Dual a) {
    const double r = std::sqrt(a.value);
    return {r, a.slope / (2.0 * r)};
}
// a^p for a > 0 and any real p (the equations of state take half-integer powers of T).
inline Dual pow(Dual a, double p) {
    return {std::pow(a.value, p), p * std::pow(a.value, p - 1.0) * a.slope};
}
