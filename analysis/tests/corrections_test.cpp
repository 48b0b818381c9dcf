#include "analysis/known_fluid/corrections.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/known_fluid/pair_distribution.h"
#include "analysis/known_fluid/reduced_units.h"

namespace {

// The run's cell: ρ* = 0.12355 and an edge of 25.1488 Å = 7.39671 σ.
constexpr double kDensity = 0.12355;
constexpr double kEdge = 25.1488 / 3.4;

// (ρ/2) ∫ u d³r over the part of the cube outside its inscribed sphere, by the midpoint rule on
// a grid of cells over one octant: a sum over volume, where the tail is a sum over rays.
double cornerEnergy(double density, double edge, int cells) {
    const double half = 0.5 * edge;
    const double width = half / cells;
    double sum = 0.0;
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            for (int k = 0; k < cells; ++k) {
                const double x = (i + 0.5) * width, y = (j + 0.5) * width, z = (k + 0.5) * width;
                const double r2 = x * x + y * y + z * z;
                if (r2 <= half * half) continue;
                const double inverse6 = 1.0 / (r2 * r2 * r2);
                sum += 4.0 * (inverse6 * inverse6 - inverse6);
            }
        }
    }
    return 0.5 * density * 8.0 * sum * width * width * width;
}

// The cube holds the sphere of radius L/2, so outside the cube lies less of the attractive tail
// than outside the sphere: the same sign, a smaller magnitude, and the difference is exactly the
// energy of the corners between them.
TEST(Corrections, TheCubesTailIsTheSpheresLessItsCorners) {
    const double sphere = sphereTailEnergy(kDensity, 0.5 * kEdge);
    const double cube = cubeTailEnergy(kDensity, kEdge);
    EXPECT_LT(sphere, cube);
    EXPECT_LT(cube, 0.0);
    // The grid's cells cut by the sphere leave it 4e-4 of the corners' energy.
    const double corners = cornerEnergy(kDensity, kEdge, 100);
    EXPECT_NEAR(cube - sphere, -corners, 1e-3 * std::abs(corners));

    // The figures for the run, J/mol per atom: -12.3 beyond the cube, whose corners
    // take 8.2 off the sphere's -20.6.
    const double unit = energyUnit(programConstants());
    EXPECT_NEAR(cube * unit, -12.33, 0.01);
    EXPECT_NEAR(sphere * unit, -20.58, 0.01);
}

// The standard tail of the forces cut at 9 Å: -0.585 MPa for the run; and 700 K measured over
// 3N degrees of freedom is 714.3 K over 3N - 3, T* = 5.903188 of the shared check values.
TEST(Corrections, TheRunsPressureTailAndKineticTemperature) {
    const ProgramConstants constants = programConstants();
    const double tail = cutoffTailPressure(kDensity, constants.cutoff / constants.sigma);
    EXPECT_NEAR(tail * pressureUnit(constants), -0.585e6, 0.001e6);
    const double kinetic = kineticTemperature(700.0, 50);
    EXPECT_NEAR(kinetic, 714.2857, 1e-4);
    EXPECT_NEAR(reducedTemperature(kinetic, constants), 5.903188, 1e-6);
}

// The first density correction of g(r) is ∫ f f over space; for hard spheres of diameter 1,
// f = -1 inside and 0 outside, so it is the volume of the lens where two spheres of radius 1 at
// distance r overlap: (4π/3) (1 - 3r/4 + r³/16) for r < 2, and nothing beyond.
TEST(PairDistribution, TheMayerOverlapOfHardSpheresIsTheirLensVolume) {
    const auto hard = [](double s) { return s < 1.0 ? -1.0 : 0.0; };
    for (const double r : {0.3, 1.0, 1.7, 2.5}) {
        const double lens = r < 2.0 ? 4.0 / 3.0 * M_PI * (1.0 - 0.75 * r + r * r * r / 16.0) : 0.0;
        EXPECT_NEAR(mayerOverlap(hard, 1.0, r), lens, 1e-5) << "r = " << r;
    }
}

}  // namespace
