#pragma once

#include "analysis/known_fluid/dual.h"

// The Lennard-Jones 12-6 fluid of Kolafa and Nezbeda, Fluid Phase Equilibria 100 (1994) 1-34
// ("KN"). Reduced units throughout: T* = k_B T / ε, ρ* = N σ³ / V.

// The effective hard-sphere diameter d(T*), in σ.
Dual kolafaNezbedaDiameter(Dual temperature);
double kolafaNezbedaDiameter(double temperature);

// The residual Helmholtz energy per atom, A_res / (N ε), at (T*, ρ*).
Dual kolafaNezbedaHelmholtz(Dual temperature, Dual density);
