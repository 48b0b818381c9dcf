#include "analysis/compute/virial_pressure.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

namespace {

constexpr double kBoltzmann = 1.38065e-23;                   // J/K, the program's
constexpr double kEpsilon = 121.0 * kBoltzmann;              // J, 1.67058650e-21
constexpr double kSigma = 3.4;                               // Å
constexpr std::array<double, 3> kCube = {20.0, 20.0, 20.0};  // Å, V = 8e-27 m³

// Two atoms at 700 K in a 20 Å cube, lying across its faces so that they meet only at the
// nearest image: N k_B T / V = 2 × 1.38065e-23 × 700 / 8e-27 = 2.4161375e6 Pa, and the pair
// adds r·F / (3V). At r = σ, F = 24 ε / σ (repulsive), so r·F = 24 ε and the pair adds
// 8 ε / V = 1.6705865e6 Pa. At the potential's minimum 2^(1/6) σ and at the cutoff (forces for
// r < 9 Å only) it adds nothing.
// The pressure of one frame as the report finds it, Pa.
double pressureOf(const std::vector<double>& xyz, const std::array<double, 3>& edge,
                  double temperature) {
    const RunPairForce force = runPairForce();
    return pressureFromVirial(static_cast<double>(xyz.size() / 3), edge, temperature,
                              pairVirial(xyz, edge, force), force.boltzmann);
}

TEST(VirialPressure, TwoAtomsAtHandComputedSeparations) {
    const RunPairForce force = runPairForce();
    const std::tuple<const char*, double, double> cases[] = {
        {"r = sigma", kSigma, 4.0867240e6},
        {"r = 2^(1/6) sigma", std::pow(2.0, 1.0 / 6.0) * kSigma, 2.4161375e6},
        {"r = cutoff", 9.0, 2.4161375e6},
    };
    for (const auto& [what, r, pressure] : cases) {
        SCOPED_TRACE(what);
        // x = 19 Å and x = 19 + r - 20 Å: the direct separation is about 20 Å - r.
        const std::vector<double> xyz = {19.0, 5.0, 5.0, 19.0 + r - 20.0, 5.0, 5.0};
        EXPECT_NEAR(pressureOf(xyz, kCube, 700.0), pressure, 1e-7 * pressure);
    }
    // Just inside the cutoff the pair attracts: a negative virial.
    EXPECT_LT(pairVirial(std::vector<double>{1.0, 1.0, 1.0, 9.999, 1.0, 1.0}, kCube, force), 0.0);
}

// The force H = dU/dr of the 12-6 potential, J/Å, evaluated apart from the program's formulas.
double derivative(double r) {
    const double s6 = std::pow(kSigma / r, 6.0);
    return 4.0 * kEpsilon / r * (6.0 * s6 - 12.0 * s6 * s6);
}

// A simple cubic lattice, shifted off the cell's faces, against its pressure from the lattice
// sum: each atom sees the same neighbours at n a for integer vectors n, and the virial per atom
// is half the sum of -r H(r) over those with r < 9 Å. The cell (5 spacings of 4 Å) is wider
// than twice the cutoff, so the minimum image sees every such neighbour once.
TEST(VirialPressure, SimpleCubicLatticeAgreesWithItsLatticeSum) {
    constexpr int kCells = 5;
    constexpr double kSpacing = 4.0;  // Å
    const std::array<double, 3> edge = {kCells * kSpacing, kCells * kSpacing, kCells * kSpacing};
    std::vector<double> xyz;
    for (int i = 0; i < kCells; ++i)
        for (int j = 0; j < kCells; ++j)
            for (int k = 0; k < kCells; ++k)
                for (const int n : {i, j, k}) xyz.push_back(std::fmod(n * kSpacing + 12.7, 20.0));

    double perAtom = 0.0;  // J
    for (int i = -3; i <= 3; ++i)
        for (int j = -3; j <= 3; ++j)
            for (int k = -3; k <= 3; ++k) {
                const double r = kSpacing * std::sqrt(i * i + j * j + k * k);
                if (r > 0.0 && r < 9.0) perAtom -= 0.5 * r * derivative(r);
            }
    const double atoms = kCells * kCells * kCells;
    const double volume = edge[0] * edge[1] * edge[2] * 1e-30;  // m³
    // The two parts, 140 and -134 MPa, nearly cancel: the tolerance is on the larger.
    const double ideal = atoms * kBoltzmann * 650.0 / volume;
    EXPECT_NEAR(pressureOf(xyz, edge, 650.0), ideal + atoms * perAtom / (3.0 * volume),
                1e-10 * ideal);
}

}  // namespace
