#pragma once

// Transport in the Lennard-Jones 12-6 fluid from kinetic theory, and the finite-box correction
// of a diffusion coefficient. Reduced units unless stated: T* = k_B T / ε, ρ* = N σ³ / V,
// D* = D / (σ √(ε/m)), η* = η σ² / √(m ε).

// The range of T* over which the collision integrals below were fitted.
inline constexpr double kCollisionIntegralLowest = 0.3;
inline constexpr double kCollisionIntegralHighest = 400.0;

// The reduced collision integrals Ω(1,1)* (diffusion) and Ω(2,2)* (viscosity) of the 12-6
// potential, Kim and Monroe, J. Comput. Phys. 273 (2014) 358-373, for T* in the range above.
double collisionIntegral11(double temperature);
double collisionIntegral22(double temperature);

// The dilute gas in the first Chapman-Enskog approximation: D0* and η0*.
double chapmanEnskogDiffusion(double temperature, double density);
double chapmanEnskogViscosity(double temperature);

// Enskog's theory of dense hard spheres of diameter d (in σ) at density ρ*.
struct EnskogFactors {
    double packing = 0.0;   // ζ = π ρ d³ / 6
    double contact = 0.0;   // χ, the pair distribution at contact (Carnahan-Starling)
    double excluded = 0.0;  // b ρ = 2π ρ d³ / 3, the second virial coefficient times ρ
};
EnskogFactors enskogFactors(double density, double diameter);

// D_E = D0 / χ and η_E = η0 (1/χ + 0.8 b ρ + 0.761 (b ρ)² χ), in the units of D0 and η0.
double enskogDiffusion(double dilute, const EnskogFactors& factors);
double enskogViscosity(double dilute, const EnskogFactors& factors);

// What a cubic periodic box of edge L takes off D (Yeh and Hummer, J. Phys. Chem. B 108 (2004)
// 15873-15879), to be added to the box's D: ξ k_B T / (6π η L), Å²/ps.
// T in K, η in Pa s, L in Å, k_B in J/K.
double yehHummerCorrection(double temperature, double viscosity, double edge, double boltzmann);
