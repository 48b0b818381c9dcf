#pragma once

// What separates a run of a few dozen atoms in a periodic cube from the infinite fluid that the
// equations of state describe. Reduced units: ρ* = N σ³ / V, lengths in σ, energies per atom in
// ε, pressures in ε / σ³. Each is derived in docs/known-fluid.md.

// The infinite fluid's potential energy per atom from its pairs farther apart than R, taking
// the pair distribution g = 1 there (ε).
double sphereTailEnergy(double density, double radius);

// The infinite fluid's potential energy per atom from its pairs outside the cube of edge L
// centred on the atom, g = 1 (ε). The run counts each pair once, at its minimum image, which
// is exactly the pairs inside that cube; this is what it leaves out, the amount to add to its
// potential energy to estimate the infinite fluid's. Negative, and smaller in magnitude than
// the tail of the sphere of radius L/2 that the cube holds.
double cubeTailEnergy(double density, double edge);

// The pressure of the pair forces beyond a cutoff r_c, g = 1 (ε / σ³): what a run whose forces
// stop at r_c, with no shift, leaves out of its virial pressure.
double cutoffTailPressure(double density, double cutoff);

// The kinetic temperature of N atoms whose total momentum is held at zero, when their
// temperature T is measured over 3N degrees of freedom: T × 3N / (3N - 3), in the unit of T;
// N ≥ 2.
double kineticTemperature(double temperature, int atomCount);

// A pair sum of N atoms (the potential energy, the virial pressure of the forces) estimated from
// the infinite fluid's at the same density: each atom has N - 1 partners in the cell rather than
// ρ V = N, so S_N ≈ S_∞ (N - 1) / N. An estimate: it leaves out how the finite cell changes the
// pair distribution itself.
double finiteAtomCountPairSum(double infinite, int atomCount);
