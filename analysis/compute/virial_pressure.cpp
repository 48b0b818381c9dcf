#include "analysis/compute/virial_pressure.h"

#include <cstddef>

#include "simulation/powers/powers.h"
#include "simulation/run_state.h"

RunPairForce runPairForce() {
    const RunParameters params;
    RunPairForce force;
    // One species: the pair of two argon atoms.
    force.pair = combineSpecies(makeSpeciesTable(params), 0, 0);
    force.cutoff = params.cutoff;
    force.boltzmann = params.boltzmann;
    return force;
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
                const double s = ratio(force.pair.sigma, r);
                const double h =
                    pairDerivative(argon::power(s, 13), argon::power(s, 7), force.pair.forceScale);
                virial -= h * r;
            }
        }
    }
    return virial;
}

double virialPressure(std::span<const double> xyz, const std::array<double, 3>& edge,
                      double temperature, const RunPairForce& force) {
    const double volume = edge[0] * edge[1] * edge[2] * 1e-30;  // m³
    const double atoms = static_cast<double>(xyz.size() / 3);
    return (atoms * force.boltzmann * temperature + pairVirial(xyz, edge, force) / 3.0) / volume;
}
