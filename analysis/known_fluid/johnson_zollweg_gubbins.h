#pragma once

#include "analysis/known_fluid/dual.h"

// The Lennard-Jones 12-6 fluid of Johnson, Zollweg and Gubbins, Molecular Physics 78 (1993)
// 591-618 ("JZG"), a modified Benedict-Webb-Rubin equation fitted to simulations. Reduced units
// throughout: T* = k_B T / ε, ρ* = N σ³ / V.

// The residual Helmholtz energy per atom, A_res / (N ε), at (T*, ρ*).
Dual johnsonZollwegGubbinsHelmholtz(Dual temperature, Dual density);
