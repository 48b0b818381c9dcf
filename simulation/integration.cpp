#include "simulation/integration.h"

#include <cmath>

namespace {

// Mass of one atom in kg, kept at intermediate precision: it is part of each formula using it.
Wide atomMassKg(double molarMass, const RunParameters& params) {
    return Wide(molarMass) / params.avogadro * 0.001;
}

// Coordinate brought back into the cell; exactly 0 goes to the far face and exactly L to 0.
double wrap(double coordinate, double edge) {
    // A step rarely takes an atom near a face. From 2^-20 L to (1 - 2^-20) L (each bound rounded
    // by at most u) the quotient x / L - 0.5, rounded once or twice, lies within 1/2 - 2^-21 of
    // 0, its sum with 0.5 (or its negative's) floors to 0, and x - (±0) L is x itself: the
    // formula leaves the coordinate as it is, and the quotient is skipped.
    if (coordinate >= 0x1p-20 * edge && coordinate <= (1.0 - 0x1p-20) * edge) {
        return coordinate;
    }
    return stored(coordinate - Wide(roundHalfAway(stored(Wide(coordinate) / edge - 0.5))) * edge);
}

}  // namespace

void advanceParticles(ParticleState& state, const Cell& cell, const RunParameters& params) {
    const Wide seconds = Wide(params.dt) * 1e-15;  // time step, s
    for (int i = 0; i < kAtomCount; ++i) {
        const Wide massKg = atomMassKg(state.mass[i], params);
        // Force in J/Å times 1e10 is newtons; m/s times 1e10 is Å/s.
        state.vx[i] = stored(state.vx[i] + seconds * (Wide(state.fx[i]) * 1e10) / massKg);
        state.vy[i] = stored(state.vy[i] + seconds * (Wide(state.fy[i]) * 1e10) / massKg);
        state.vz[i] = stored(state.vz[i] + seconds * (Wide(state.fz[i]) * 1e10) / massKg);

        state.x[i] = stored(state.x[i] + seconds * state.vx[i] * 1e10);
        state.y[i] = stored(state.y[i] + seconds * state.vy[i] * 1e10);
        state.z[i] = stored(state.z[i] + seconds * state.vz[i] * 1e10);

        state.ux[i] = stored(state.ux[i] + seconds * state.vx[i] * 1e10);
        state.uy[i] = stored(state.uy[i] + seconds * state.vy[i] * 1e10);
        state.uz[i] = stored(state.uz[i] + seconds * state.vz[i] * 1e10);

        state.x[i] = wrap(state.x[i], cell.Lx);
        state.y[i] = wrap(state.y[i], cell.Ly);
        state.z[i] = wrap(state.z[i], cell.Lz);
    }
}

KineticMeasure measureKinetic(const ParticleState& state, const RunParameters& params) {
    double twiceKinetic = 0.0;  // Σ m v², J
    for (int i = 0; i < kAtomCount; ++i) {
        twiceKinetic = stored(twiceKinetic +
                              (Wide(state.vx[i]) * state.vx[i] + Wide(state.vy[i]) * state.vy[i] +
                               Wide(state.vz[i]) * state.vz[i]) *
                                  atomMassKg(state.mass[i], params));
    }
    KineticMeasure measure{};
    measure.temperature =
        stored(Wide(0.5) * twiceKinetic / (Wide(1.5) * params.boltzmann * kAtomCount));
    measure.energy = stored(Wide(0.5) * params.avogadro * kInverseAtomCount * twiceKinetic);
    return measure;
}

void rescaleVelocities(ParticleState& state, double temperature, const RunParameters& params) {
    // Atoms at rest (T = 0) have no direction to scale, and a temperature that is not a finite
    // positive number none to scale from; nor may T0 / T overflow for a T near the least double.
    // A factor of 0 or infinity would turn an infinite velocity, or one of 0, into NaN.
    if (!(temperature > 0.0 && std::isfinite(temperature))) {
        return;
    }
    const double squaredFactor = stored(Wide(params.targetTemperature) / temperature);
    if (!std::isfinite(squaredFactor)) {
        return;
    }
    const double factor = std::sqrt(squaredFactor);
    for (int i = 0; i < kAtomCount; ++i) {
        state.vx[i] = stored(Wide(state.vx[i]) * factor);
        state.vy[i] = stored(Wide(state.vy[i]) * factor);
        state.vz[i] = stored(Wide(state.vz[i]) * factor);
    }
}

void removeDrift(ParticleState& state) {
    double px = 0.0;  // total momentum, g/mol · m/s
    double py = 0.0;
    double pz = 0.0;
    double totalMass = 0.0;  // g/mol
    for (int i = 0; i < kAtomCount; ++i) {
        px = stored(px + Wide(state.vx[i]) * state.mass[i]);
        py = stored(py + Wide(state.vy[i]) * state.mass[i]);
        pz = stored(pz + Wide(state.vz[i]) * state.mass[i]);
        totalMass = stored(Wide(totalMass) + state.mass[i]);
    }
    const Wide shiftX = Wide(px) / (Wide(kAtomCount) * totalMass);
    const Wide shiftY = Wide(py) / (Wide(kAtomCount) * totalMass);
    const Wide shiftZ = Wide(pz) / (Wide(kAtomCount) * totalMass);
    for (int i = 0; i < kAtomCount; ++i) {
        state.vx[i] = stored(state.vx[i] - shiftX);
        state.vy[i] = stored(state.vy[i] - shiftY);
        state.vz[i] = stored(state.vz[i] - shiftZ);
    }
}
