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

void advanceParticles(ParticleState& s, const Cell& cell, const RunParameters& params) {
    const Wide seconds = Wide(params.dt) * 1e-15;  // time step, s
    for (int i = 0; i < kAtomCount; ++i) {
        const Wide massKg = atomMassKg(s.mass[i], params);
        // Force in J/Å times 1e10 is newtons; m/s times 1e10 is Å/s.
        s.vx[i] = stored(s.vx[i] + seconds * (Wide(s.fx[i]) * 1e10) / massKg);
        s.vy[i] = stored(s.vy[i] + seconds * (Wide(s.fy[i]) * 1e10) / massKg);
        s.vz[i] = stored(s.vz[i] + seconds * (Wide(s.fz[i]) * 1e10) / massKg);

        s.x[i] = stored(s.x[i] + seconds * s.vx[i] * 1e10);
        s.y[i] = stored(s.y[i] + seconds * s.vy[i] * 1e10);
        s.z[i] = stored(s.z[i] + seconds * s.vz[i] * 1e10);

        s.ux[i] = stored(s.ux[i] + seconds * s.vx[i] * 1e10);
        s.uy[i] = stored(s.uy[i] + seconds * s.vy[i] * 1e10);
        s.uz[i] = stored(s.uz[i] + seconds * s.vz[i] * 1e10);

        s.x[i] = wrap(s.x[i], cell.Lx);
        s.y[i] = wrap(s.y[i], cell.Ly);
        s.z[i] = wrap(s.z[i], cell.Lz);
    }
}

KineticMeasure measureKinetic(const ParticleState& s, const RunParameters& params) {
    double twiceKinetic = 0.0;  // Σ m v², J
    for (int i = 0; i < kAtomCount; ++i) {
        twiceKinetic = stored(twiceKinetic + (Wide(s.vx[i]) * s.vx[i] + Wide(s.vy[i]) * s.vy[i] +
                                              Wide(s.vz[i]) * s.vz[i]) *
                                                 atomMassKg(s.mass[i], params));
    }
    KineticMeasure measure{};
    measure.temperature =
        stored(Wide(0.5) * twiceKinetic / (Wide(1.5) * params.boltzmann * kAtomCount));
    measure.energy = stored(Wide(0.5) * params.avogadro * kInverseAtomCount * twiceKinetic);
    return measure;
}

void rescaleVelocities(ParticleState& s, double temperature, const RunParameters& params) {
    const double factor = std::sqrt(stored(Wide(params.targetTemperature) / temperature));
    for (int i = 0; i < kAtomCount; ++i) {
        s.vx[i] = stored(Wide(s.vx[i]) * factor);
        s.vy[i] = stored(Wide(s.vy[i]) * factor);
        s.vz[i] = stored(Wide(s.vz[i]) * factor);
    }
}

void removeDrift(ParticleState& s) {
    double px = 0.0;  // total momentum, g/mol · m/s
    double py = 0.0;
    double pz = 0.0;
    double totalMass = 0.0;  // g/mol
    for (int i = 0; i < kAtomCount; ++i) {
        px = stored(px + Wide(s.vx[i]) * s.mass[i]);
        py = stored(py + Wide(s.vy[i]) * s.mass[i]);
        pz = stored(pz + Wide(s.vz[i]) * s.mass[i]);
        totalMass = stored(Wide(totalMass) + s.mass[i]);
    }
    const Wide shiftX = Wide(px) / (Wide(kAtomCount) * totalMass);
    const Wide shiftY = Wide(py) / (Wide(kAtomCount) * totalMass);
    const Wide shiftZ = Wide(pz) / (Wide(kAtomCount) * totalMass);
    for (int i = 0; i < kAtomCount; ++i) {
        s.vx[i] = stored(s.vx[i] - shiftX);
        s.vy[i] = stored(s.vy[i] - shiftY);
        s.vz[i] = stored(s.vz[i] - shiftZ);
    }
}
