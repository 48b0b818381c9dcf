#include "analysis/known_fluid/corrections.h"

#include <cmath>
#include <numbers>

namespace {

// ∫_R^∞ u(r) r² dr for u(r) = 4 (r^-12 - r^-6) in reduced units: 4 [R^-9 / 9 - R^-3 / 3].
double radialTail(double radius) {
    const double inverse3 = 1.0 / (radius * radius * radius);
    return 4.0 * (inverse3 * inverse3 * inverse3 / 9.0 - inverse3 / 3.0);
}

// Composite Simpson's rule on [0, 1] with this many (even) intervals per axis. The integrand
// below is smooth on the square, and 64 intervals give the cube's tail to 1e-8 of itself
// (32 and 64 intervals agree to 5e-8).
constexpr int kSimpsonIntervals = 64;

double simpsonWeight(int i) {
    if (i == 0 || i == kSimpsonIntervals) return 1.0;
    return i % 2 == 1 ? 4.0 : 2.0;
}

}  // namespace

// (ρ/2) ∫_{r>R} u(r) 4π r² dr = 2π ρ × radialTail(R) = (8/3) π ρ [(1/3) R^-9 - R^-3].
double sphereTailEnergy(double density, double radius) {
    return 2.0 * std::numbers::pi * density * radialTail(radius);
}

// (ρ/2) ∫_outside u d³r, taken along rays from the atom: a ray of direction Ω leaves the cube
// at a face, at distance r_face(Ω), so the integral is (ρ/2) ∫ dΩ radialTail(r_face(Ω)). Each
// face, at distance h = L/2, is 4 quarter squares; the point (h a, h b, h) of one, 0 ≤ a, b ≤ 1,
// lies at r_face = h q with q = √(1 + a² + b²) and subtends dΩ = da db / q³ (area times cos θ
// over r²). Six faces of four quarters: (ρ/2) × 24 ∫∫ radialTail(h q) / q³ da db.
double cubeTailEnergy(double density, double edge) {
    const double half = 0.5 * edge;
    const double step = 1.0 / kSimpsonIntervals;
    double sum = 0.0;
    for (int i = 0; i <= kSimpsonIntervals; ++i) {
        for (int j = 0; j <= kSimpsonIntervals; ++j) {
            const double a = i * step;
            const double b = j * step;
            const double q = std::sqrt(1.0 + a * a + b * b);
            sum += simpsonWeight(i) * simpsonWeight(j) * radialTail(half * q) / (q * q * q);
        }
    }
    const double integral = sum * (step / 3.0) * (step / 3.0);
    return 0.5 * density * 24.0 * integral;
}

// p_tail = -(2π/3) ρ² ∫_{r_c}^∞ r u'(r) r² dr with g = 1 (the virial route), and
// r u'(r) = -48 r^-12 + 24 r^-6, giving (16/3) π ρ² [(2/3) r_c^-9 - r_c^-3]
// (the long-range corrections of Allen and Tildesley, Computer Simulation of Liquids, 1987).
double cutoffTailPressure(double density, double cutoff) {
    const double inverse3 = 1.0 / (cutoff * cutoff * cutoff);
    return 16.0 / 3.0 * std::numbers::pi * density * density *
           (2.0 / 3.0 * inverse3 * inverse3 * inverse3 - inverse3);
}

// Equipartition: the measured kinetic energy (3/2) N k_B T is shared by 3N - 3 free degrees of
// freedom once the total momentum is fixed, each holding (1/2) k_B T_kin.
double kineticTemperature(double temperature, int atomCount) {
    return temperature * (3.0 * atomCount) / (3.0 * atomCount - 3.0);
}

double finiteAtomCountPairSum(double infinite, int atomCount) {
    return infinite * (atomCount - 1.0) / atomCount;
}
