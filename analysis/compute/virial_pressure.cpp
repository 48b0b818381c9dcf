#include "analysis/compute/virial_pressure.h"

#include <cstddef>

#include "simulation/pair_formulas.h"
#include "simulation/powers/powers.h"
#include "simulation/run_state.h"

RunPairForce runPairForce() {
    const RunParameters params;
    // One species: the pair of two argon atoms.
    const PairParameters pair = combineSpecies(makeSpeciesTable(params), 0, 0);
    return {pair.sigma, pair.forceScale, params.cutoff, params.boltzmann};
}

// The pair loop of simulation/forces.cpp with its formulas: with d from j to k and
// H = dU/dr, the force on k is -H d / r, so d · F = -H r.
double pairVirial(std::span<const double> xyz, const std::array<double, 3>& edge,
                  const RunPairForce& force) {
    const std::size_t atoms = xyz.size() / 3;
    double virial = 0.0;  // J
    for (std::size_t j = 0; j < atoms; ++j) {
        for (std::size_t k = 0; k < j; ++k) {
            const double dx = minimumImage(separation(xyz[3 * k], xyz[3 * j]), edge[0]);
            const double dy = minimumImage(separation(xyz[3 * k + 1], xyz[3 * j + 1]), edge[1]);
            const double dz = minimumImage(separation(xyz[3 * k + 2], xyz[3 * j + 2]), edge[2]);
            const double r = distance(dx, dy, dz);
            if (r < force.cutoff) {
                const double s = ratio(force.sigma, r);
                const double h =
                    pairDerivative(argon::power(s, 13), argon::power(s, 7), force.forceScale);
                virial -= h * r;
            }
        }
    }
    return virial;
}

double pressureFromVirial(double atoms, const std::array<double, 3>& edge, double temperature,
                          double virial, double boltzmann) {
    const double volume = edge[0] * edge[1] * edge[2] * 1e-30;  // m³
    return (atoms * boltzmann * temperature + virial / 3.0) / volume;
}
