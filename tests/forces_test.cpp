// Pair forces and potential energy from the plain pair loop: analytic two-atom cases, the
// derivative against the energy, Newton's third law and the cutoff. The nearest image is pinned by
// the complete runs' digests (golden/), its ties by the test of roundHalfAway.
#include "simulation/forces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "simulation/pair_formulas.h"

namespace {

constexpr double kSigma = 3.4;                              // Å
constexpr double kEpsilon = 121.0 * 1.38065e-23;            // J
const double kMinimum = std::pow(2.0, 1.0 / 6.0) * kSigma;  // Å, ≈ 3.816

double analyticDerivative(double r) {  // dU/dr, J/Å
    return 4 * kEpsilon *
           (-12 * std::pow(kSigma, 12) / std::pow(r, 13) +
            6 * std::pow(kSigma, 6) / std::pow(r, 7));
}

TEST(PairInteraction, MatchesTheAnalyticPotentialAndTheSlopeOfTheEnergy) {
    const PairParameters pair = combineSpecies(makeSpeciesTable(RunParameters{}), 0, 0);
    const auto h = [&pair](double r) {
        return pairDerivative(std::pow(kSigma / r, 13.0), std::pow(kSigma / r, 7.0),
                              pair.forceScale);
    };
    const auto u = [&pair](double r) {
        return static_cast<double>(
            pairEnergy(std::pow(kSigma / r, 12.0), std::pow(kSigma / r, 6.0), pair.energyScale));
    };
    EXPECT_EQ(u(kSigma), 0.0);
    EXPECT_NEAR(u(kMinimum), -kEpsilon, 1e-12 * kEpsilon);
    EXPECT_NEAR(h(kMinimum), 0.0, 1e-14 * kEpsilon / kSigma);
    for (double r : {1.0, 2.9, 3.4, 3.7, 4.5, 6.0, 8.999, 12.0, 21.0}) {
        const double s = kSigma / r;
        EXPECT_NEAR(u(r), 4 * kEpsilon * (std::pow(s, 12) - std::pow(s, 6)), 1e-13 * kEpsilon);
        EXPECT_NEAR(h(r) / analyticDerivative(r), 1.0, 1e-13) << "r = " << r;
        const double step = 1e-5 * r;
        EXPECT_NEAR((u(r + step) - u(r - step)) / (2 * step) / h(r), 1.0, 1e-7) << "r = " << r;
        EXPECT_EQ(h(r) < 0.0, r < kMinimum) << "repulsive inside the minimum, attractive beyond";
    }
}

// The atoms on a cubic grid of `kSide` sites a side filling the run's cell (for 50 atoms 4,
// nearest neighbours 6.29 Å, next 8.89 Å, then 10.9 Å), so no pair sits exactly at 9 Å or 3 Å
// but the pair (0, 1) that a test places at a separation dx along x, between the sites.
constexpr int kSide = [] {
    int side = 1;
    while (side * side * side < kAtomCount) {
        ++side;
    }
    return side;
}();

struct Grid {
    double edge = cellEdge(RunParameters{});  // Å, the run's
    ParticleState state{};
    double energy = 0.0;  // J

    Grid(double dx, double cutoff) {
        for (int i = 0; i < kAtomCount; ++i) {
            state.x[i] = (i % kSide + 0.5) * edge / kSide;
            state.y[i] = (i / kSide % kSide + 0.5) * edge / kSide;
            state.z[i] = (i / (kSide * kSide) + 0.5) * edge / kSide;
            state.mass[i] = 39.948;
        }
        state.x[0] = 2.0;
        state.x[1] = 2.0 + dx;
        state.y[0] = state.y[1] = state.z[0] = state.z[1] = 13.0;
        RunParameters params{};
        params.cutoff = cutoff;
        energy = computeForces(state, makeSpeciesTable(params), Cell{edge, edge, edge}, params);
    }
};

TEST(PairForces, CutoffIsStrictAndLeavesTheEnergyWholeAndTheForceUnshifted) {
    // At exactly 9 Å the pair gets no force, but its energy counts: a cutoff just above adds the
    // full analytic force, pulling atom 1 back towards atom 0 (-H dx/r), and nothing else.
    const Grid at(9.0, 9.0), above(9.0, std::nextafter(9.0, 10.0));
    EXPECT_NEAR((above.state.fx[1] - at.state.fx[1]) / -analyticDerivative(9.0), 1.0, 1e-9);
    EXPECT_EQ(at.energy, above.energy);
    const Grid inside(8.999, 9.0), without(8.999, 8.99);
    EXPECT_NEAR((inside.state.fx[1] - without.state.fx[1]) / -analyticDerivative(8.999), 1.0, 1e-9);
    const Grid none(12.0, 0.0);
    EXPECT_EQ(none.energy, Grid(12.0, 9.0).energy);
    EXPECT_TRUE(
        std::all_of(none.state.fx.begin(), none.state.fx.end(), [](double f) { return f == 0; }));
}

TEST(PairForces, AreEqualAndOppositeAndTouchNoOtherAtom) {
    const Grid with(3.0, std::nextafter(3.0, 4.0)), without(3.0, 3.0);
    const double onZero = with.state.fx[0] - without.state.fx[0];
    EXPECT_NEAR(onZero / analyticDerivative(3.0), 1.0, 1e-9);  // j = 1, k = 0: atom 0 pushed away
    EXPECT_NEAR(onZero + with.state.fx[1] - without.state.fx[1], 0.0,
                1e-12 * std::abs(analyticDerivative(3.0)));
    EXPECT_EQ(with.state.fy[1], without.state.fy[1]);
    double sum[3] = {}, largest = 0.0;
    for (int i = 0; i < kAtomCount; ++i) {
        EXPECT_TRUE(i < 2 || with.state.fx[i] == without.state.fx[i]) << "atom " << i;
        sum[0] += with.state.fx[i];
        sum[1] += with.state.fy[i];
        sum[2] += with.state.fz[i];
        largest = std::max({largest, std::abs(with.state.fx[i]), std::abs(with.state.fy[i])});
    }
    for (const double total : sum) {
        EXPECT_NEAR(total, 0.0, 1e-13 * largest);
    }
}

}  // namespace
