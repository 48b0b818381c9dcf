// The exact shortcuts of the pair loop give, bit for bit, what the plain formulas give, in the
// arithmetic this binary was built with, with the exact products from FMA and from Dekker's
// split alike, and leave few pairs to the formulas.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <random>

#include "simulation/integration.h"
#include "simulation/pair_shortcuts.h"

namespace {

double plainMinimumImage(double d, double edge) {
    return stored(d - Wide(roundHalfAway(stored(Wide(d) / edge))) * edge);
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(ExactShortcuts, DifferenceMatchesTheFormulaForCoordinatesOfEveryScale) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> coordinate(0.0, 25.1488);
    std::uniform_int_distribution<int> scale(-80, 4);
    for (int i = 0; i < 2000000; ++i) {
        double a = coordinate(random);
        double b = coordinate(random);
        if (i % 4 == 1) {
            a = std::ldexp(a, scale(random));  // near the lower face, down to tiny values
        }
        if (i % 8 == 2) {
            b = 0.0;
        }
        ASSERT_TRUE(sameBits(storedDifference(a, b), stored(Wide(a) - b))) << a << " - " << b;
        ASSERT_TRUE(sameBits(storedDifference(b, a), stored(Wide(b) - a))) << b << " - " << a;
    }
}

TEST(ExactShortcuts, MinimumImageMatchesTheFormulaAcrossTheWholeRange) {
    const double edge = 25.148782;
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> separation(-edge, edge);
    for (int i = 0; i < 2000000; ++i) {
        const double d = separation(random);
        ASSERT_TRUE(sameBits(minimumImage(d, edge), plainMinimumImage(d, edge))) << d;
    }
    // The band edges, half an edge and whole edges, and their neighbours.
    for (double f : {0.0, 0.5 - 0x1p-20, 0.5, 0.5 + 0x1p-20, 1.0}) {
        double d = f * edge;
        for (int step = 0; step < 64; ++step) {
            for (double v : {d, -d}) {
                ASSERT_TRUE(sameBits(minimumImage(v, edge), plainMinimumImage(v, edge))) << v;
            }
            d = std::nextafter(d, step < 32 ? 0.0 : 2 * edge);
        }
    }
}

TEST(ExactShortcuts, WrappingMatchesTheFormulaInsideTheCellAndAtItsFaces) {
    const double edge = 25.148782;
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> coordinate(-0.01 * edge, 1.01 * edge);
    for (int run = 0; run < 4000; ++run) {
        ParticleState state{};  // at rest and without forces: the step only wraps
        state.mass.fill(39.948);
        for (int i = 0; i < kAtomCount; ++i) {  // random, or by the shortcut's bounds and faces
            const double f = std::array{0.0, 0x1p-20, 0.5, 1.0 - 0x1p-20, 1.0}[run % 5];
            state.x[i] = run < 100 ? f * edge + (i - 25) * 0x1p-52 * edge : coordinate(random);
        }
        const ParticleState before = state;
        advanceParticles(state, Cell{edge, edge, edge}, RunParameters{});
        for (int i = 0; i < kAtomCount; ++i) {
            const double x = before.x[i];
            const double plain =
                stored(x - Wide(roundHalfAway(stored(Wide(x) / edge - 0.5))) * edge);
            ASSERT_TRUE(sameBits(state.x[i], plain)) << x;
        }
    }
}

TEST(ExactShortcuts, PairFormulasMatchTheFormulasOverTheRunsRange) {
    const PairParameters pair = combineSpecies(makeSpeciesTable(RunParameters{}), 0, 0);
    const double energyScale = stored(pair.energyScale);
    std::mt19937_64 random(13);
    std::uniform_real_distribution<double> axis(-12.6, 12.6), sOfPair(0.37, 3.4), unit(-1.0, 1.0);
    int undecided = 0;
    const auto check = [&]<bool kFma>(double dx, double dy, double dz, double s, double a) {
        using namespace pair_shortcuts;
        const double r2 = squaredDistanceOrNaN<kFma>(dx, dy, dz);
        const double r = std::sqrt(squaredDistance(dx, dy, dz));
        const double q = ratioOrNaN<kFma>(pair.sigma, r);
        const double s6 = std::pow(s, 6), s7 = std::pow(s, 7), s12 = s6 * s6, s13 = s12 * s;
        const double h = pairDerivativeOrNaN<kFma>(s13, s7, pair.forceScaleHi, pair.forceScaleLo);
        const DoubleDouble u = pairEnergyApprox<kFma>(s12, s6, energyScale);
        const double running = a * std::abs(u.hi);  // from far below u to past cancelling it
        const double settled = sumSettles(running, u, running + u.hi) ? running + u.hi : kNaN;
        // A sum nearly cancelling its term, drawn here on purpose, is often left to the formula.
        undecided += std::isnan(r2) + std::isnan(q) + std::isnan(h);
        return (std::isnan(r2) || sameBits(r2, squaredDistance(dx, dy, dz))) &&
               (std::isnan(q) || sameBits(q, ratio(pair.sigma, r))) &&
               (std::isnan(h) || sameBits(h, pairDerivative(s13, s7, pair.forceScale))) &&
               (std::isnan(settled) ||
                sameBits(settled, stored(running + pairEnergy(s12, s6, energyScale))));
    };
    for (int i = 0; i < 1000000; ++i) {
        const double dx = i % 16 == 0 ? std::ldexp(1.0, i % 7 - 3) : axis(random);  // powers of 2
        const double dy = i % 16 == 0 ? 0.0 : axis(random), dz = i % 32 == 0 ? 0.0 : axis(random);
        const double s = sOfPair(random), a = std::ldexp(unit(random), i % 40 - 8);
        ASSERT_TRUE(check.operator()<true>(dx, dy, dz, s, a)) << dx << " " << dy << " " << dz;
        ASSERT_TRUE(check.operator()<false>(dx, dy, dz, s, a)) << s << " " << a;
    }
    EXPECT_LT(undecided, 2 * 3 * 1000000 / 100);
}

}  // namespace
