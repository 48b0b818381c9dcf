// Pair forces and potential energy: analytic two-atom cases, the derivative against the energy,
// Newton's third law, the cutoff and the periodic images.
#include "simulation/forces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSigma = 3.4;                    // Å
constexpr double kEpsilon = 121.0 * 1.38065e-23;  // J

double analyticEnergy(double r) {
    const double s = kSigma / r;
    return 4 * kEpsilon * (std::pow(s, 12) - std::pow(s, 6));
}

double analyticDerivative(double r) {  // dU/dr, J/Å
    return 4 * kEpsilon *
           (-12 * std::pow(kSigma, 12) / std::pow(r, 13) +
            6 * std::pow(kSigma, 6) / std::pow(r, 7));
}

PairParameters argonPair() {
    return combineSpecies(makeSpeciesTable(RunParameters{}), 0, 0);
}

double derivativeAt(double s, const PairParameters& pair) {
    return pairDerivative(std::pow(s, 13.0), std::pow(s, 7.0), pair);
}

double energyAt(double s, const PairParameters& pair) {
    return static_cast<double>(pairEnergy(std::pow(s, 12.0), std::pow(s, 6.0), pair));
}

TEST(PairInteraction, EnergyVanishesAtSigmaAndForceAtThePotentialMinimum) {
    const PairParameters pair = argonPair();
    EXPECT_EQ(energyAt(1.0, pair), 0.0);
    const double rMin = std::pow(2.0, 1.0 / 6.0) * kSigma;  // ≈ 3.816 Å
    EXPECT_NEAR(derivativeAt(kSigma / rMin, pair), 0.0, 1e-14 * kEpsilon / kSigma);
    EXPECT_LT(derivativeAt(kSigma / 3.6, pair), 0.0);  // repulsive inside the minimum
    EXPECT_GT(derivativeAt(kSigma / 4.0, pair), 0.0);  // attractive beyond it
    EXPECT_NEAR(energyAt(kSigma / rMin, pair), -kEpsilon, 1e-12 * kEpsilon);
}

TEST(PairInteraction, DerivativeMatchesTheAnalyticFormAndTheEnergysSlope) {
    const PairParameters pair = argonPair();
    for (double r : {1.0, 2.9, 3.4, 3.7, 4.5, 6.0, 8.999, 12.0, 21.0}) {
        const double h = derivativeAt(kSigma / r, pair);
        EXPECT_NEAR(h / analyticDerivative(r), 1.0, 1e-13) << "r = " << r;
        EXPECT_NEAR(energyAt(kSigma / r, pair), analyticEnergy(r), 1e-13 * kEpsilon) << "r = " << r;
        const double step = 1e-5 * r;
        const double slope =
            (energyAt(kSigma / (r + step), pair) - energyAt(kSigma / (r - step), pair)) /
            (2 * step);
        EXPECT_NEAR(slope / h, 1.0, 1e-7) << "r = " << r;
    }
}

TEST(MinimumImage, SeparationsGoToTheNearestImageWithHalvesAwayFromZero) {
    const double edge = 25.1488;
    EXPECT_NEAR(minimumImage(20.0, edge), -5.1488, 1e-12);
    EXPECT_NEAR(minimumImage(-20.0, edge), 5.1488, 1e-12);
    EXPECT_EQ(minimumImage(3.0, edge), 3.0);
    EXPECT_EQ(minimumImage(-3.0, edge), -3.0);
    EXPECT_EQ(minimumImage(edge / 2, edge), -edge / 2);
    EXPECT_EQ(minimumImage(-edge / 2, edge), edge / 2);
    EXPECT_NEAR(minimumImage(2 * edge + 1.0, edge), 1.0, 1e-12);
}

// Fifty atoms on a 4 x 4 x 4 grid (nearest neighbours 6.29 Å, next 8.89 Å, then 10.9 Å), so no
// pair sits near 9 Å but the ones a test places there.
struct GridFixture : ::testing::Test {
    RunParameters params{};
    SpeciesTable table = makeSpeciesTable(params);
    double edge = 25.1488;
    Cell cell{edge, edge, edge};
    ParticleState state{};

    void SetUp() override {
        const double spacing = edge / 4;
        for (int i = 0; i < kAtomCount; ++i) {
            state.x[i] = (i % 4 + 0.5) * spacing;
            state.y[i] = (i / 4 % 4 + 0.5) * spacing;
            state.z[i] = (i / 16 + 0.5) * spacing;
            state.species[i] = 0;
            state.mass[i] = 39.948;
        }
    }

    // Forces with the pair (0, 1) at separation `dx` along x, with the given cutoff.
    ParticleState forcesWithPair(double dx, double cutoff, double* energy = nullptr) {
        ParticleState s = state;
        s.x[0] = 2.0;
        s.y[0] = s.y[1] = 13.0;
        s.z[0] = s.z[1] = 13.0;
        s.x[1] = 2.0 + dx;
        RunParameters p = params;
        p.cutoff = cutoff;
        const double e = computeForces(s, table, cell, p);
        if (energy != nullptr) {
            *energy = e;
        }
        return s;
    }
};

TEST_F(GridFixture, CutoffIsStrictAndTheForceInsideItIsTheFullUnshiftedOne) {
    // At exactly 9 Å the pair gets no force: a cutoff just above 9 Å adds it.
    const ParticleState at = forcesWithPair(9.0, 9.0);
    const ParticleState above = forcesWithPair(9.0, std::nextafter(9.0, 10.0));
    const double added = above.fx[1] - at.fx[1];
    EXPECT_NE(added, 0.0);
    // The pair's force on atom 1 is -H dx/r: attraction pulls it back towards atom 0.
    EXPECT_NEAR(added / -analyticDerivative(9.0), 1.0, 1e-9);

    const ParticleState inside = forcesWithPair(8.999, 9.0);
    const ParticleState without = forcesWithPair(8.999, 8.99);
    EXPECT_NEAR((inside.fx[1] - without.fx[1]) / -analyticDerivative(8.999), 1.0, 1e-9);
}

TEST_F(GridFixture, PairForcesAreEqualAndOppositeAndTouchNoOtherAtom) {
    // Only the pair (0, 1) sits at exactly 3 Å: a cutoff there leaves it out, one just above
    // takes it in.
    const ParticleState with = forcesWithPair(3.0, std::nextafter(3.0, 4.0));
    const ParticleState without = forcesWithPair(3.0, 3.0);
    const double onZero = with.fx[0] - without.fx[0];
    const double onOne = with.fx[1] - without.fx[1];
    const double scale = std::abs(analyticDerivative(3.0));
    EXPECT_NEAR(onZero / analyticDerivative(3.0), 1.0, 1e-9);  // j = 1, k = 0: atom 1 pushed
    EXPECT_NEAR(onZero + onOne, 0.0, 1e-12 * scale);
    EXPECT_EQ(with.fy[1], without.fy[1]);
    for (int i = 2; i < kAtomCount; ++i) {
        EXPECT_EQ(with.fx[i], without.fx[i]) << "atom " << i;
    }

    double sumX = 0.0, sumY = 0.0, sumZ = 0.0, largest = 0.0;
    for (int i = 0; i < kAtomCount; ++i) {
        sumX += with.fx[i];
        sumY += with.fy[i];
        sumZ += with.fz[i];
        largest = std::max({largest, std::abs(with.fx[i]), std::abs(with.fy[i])});
    }
    EXPECT_NEAR(sumX, 0.0, 1e-13 * largest);
    EXPECT_NEAR(sumY, 0.0, 1e-13 * largest);
    EXPECT_NEAR(sumZ, 0.0, 1e-13 * largest);
}

TEST_F(GridFixture, EnergyCountsEveryPairWhateverTheCutoff) {
    double withForces = 0.0;
    double noForces = 0.0;
    forcesWithPair(12.0, 9.0, &withForces);
    const ParticleState none = forcesWithPair(12.0, 0.0, &noForces);
    EXPECT_EQ(withForces, noForces);
    for (int i = 0; i < kAtomCount; ++i) {
        EXPECT_EQ(none.fx[i], 0.0);
    }
}

}  // namespace
