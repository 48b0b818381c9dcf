#include "analysis/known_fluid/kinetic_theory.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

// Ω*(T*) = A + Σ_{k=1..6} [ B_k / T*^k + C_k (ln T*)^k ], the coefficients of Kim and Monroe,
// J. Comput. Phys. 273 (2014) 358-373, as the shared reference table gives them.
struct CollisionFit {
    double a;
    std::array<double, 6> b;
    std::array<double, 6> c;
};

constexpr CollisionFit kOmega11 = {
    -1.1036729,
    {2.6431984, 0.0060432255, -0.15158773, 0.054237938, -0.0090468682, 0.00061742007},
    {1.6690746, -0.6914589, 0.15502132, -0.020642189, 0.0015402077, -4.9729535e-05}};
constexpr CollisionFit kOmega22 = {
    -0.92032979,
    {2.3508044, 0.50110649, -0.47193769, 0.15806367, -0.026367184, 0.0018120118},
    {1.6330213, -0.69795156, 0.16096572, -0.02210944, 0.0017031434, -5.6699986e-05}};

double collisionIntegral(const CollisionFit& fit, double temperature) {
    const double logT = std::log(temperature);
    double omega = fit.a;
    double inverse = 1.0;   // 1 / T*^k
    double logPower = 1.0;  // (ln T*)^k
    for (std::size_t k = 0; k < 6; ++k) {
        inverse /= temperature;
        logPower *= logT;
        omega += fit.b[k] * inverse + fit.c[k] * logPower;
    }
    return omega;
}

// The Yeh-Hummer constant of the cubic lattice (the same paper).
constexpr double kCubicLatticeConstant = 2.837297;

}  // namespace

double collisionIntegral11(double temperature) {
    return collisionIntegral(kOmega11, temperature);
}

double collisionIntegral22(double temperature) {
    return collisionIntegral(kOmega22, temperature);
}

// Chapman and Cowling's first approximation in reduced units: D0* = (3/8) √(T*/π) / (ρ* Ω(1,1)*)
// and η0* = (5/16) √(T*/π) / Ω(2,2)*.
double chapmanEnskogDiffusion(double temperature, double density) {
    return 0.375 * std::sqrt(temperature / std::numbers::pi) /
           (density * collisionIntegral11(temperature));
}

double chapmanEnskogViscosity(double temperature) {
    return 0.3125 * std::sqrt(temperature / std::numbers::pi) / collisionIntegral22(temperature);
}

// χ = (1 - ζ/2) / (1 - ζ)³, the Carnahan-Starling contact value.
EnskogFactors enskogFactors(double density, double diameter) {
    const double cube = diameter * diameter * diameter;
    EnskogFactors factors;
    factors.packing = std::numbers::pi * density * cube / 6.0;
    const double gap = 1.0 - factors.packing;
    factors.contact = (1.0 - 0.5 * factors.packing) / (gap * gap * gap);
    factors.excluded = 2.0 * std::numbers::pi * density * cube / 3.0;
    return factors;
}

double enskogDiffusion(double dilute, const EnskogFactors& factors) {
    return dilute / factors.contact;
}

double enskogViscosity(double dilute, const EnskogFactors& factors) {
    const double b = factors.excluded;
    return dilute * (1.0 / factors.contact + 0.8 * b + 0.761 * b * b * factors.contact);
}

// ξ k_B T / (6π η L): J / (Pa s m) = m²/s, and 1 m²/s = 10^8 Å²/ps.
double yehHummerCorrection(double temperature, double viscosity, double edge, double boltzmann) {
    const double metres = edge * 1e-10;
    return kCubicLatticeConstant * boltzmann * temperature /
           (6.0 * std::numbers::pi * viscosity * metres) * 1e8;
}
