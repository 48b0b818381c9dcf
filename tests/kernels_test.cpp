// The fast force kernel against the plain pair loop, bit for bit: the forces, and the potential
// energy where it is formed, from either build of its vector loops, on random configurations and
// on those built to meet its shortcuts' edges: pairs at and near half an edge, atoms on and near
// the faces, pairs at and near the cutoff, close pairs.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "simulation/fast/fast_forces.h"
#include "simulation/forces.h"

namespace {

constexpr double kEdge = 25.148782;  // Å

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool sameForces(const ParticleState& a, const ParticleState& b) {
    for (int i = 0; i < kAtomCount; ++i) {
        if (!sameBits(a.fx[i], b.fx[i]) || !sameBits(a.fy[i], b.fy[i]) ||
            !sameBits(a.fz[i], b.fz[i])) {
            return false;
        }
    }
    return true;
}

// Atoms placed at random, then, by `kind`, some of them moved onto an edge of the shortcuts.
ParticleState configuration(int kind, std::mt19937_64& random) {
    std::uniform_real_distribution<double> position(0.0, kEdge), unit(0.0, 1.0);
    std::uniform_int_distribution<int> ulps(-3, 3);
    const auto nudged = [&](double x) {  // x moved by a few units in the last place
        const int n = ulps(random);
        for (int i = 0; i < std::abs(n); ++i) {
            x = std::nextafter(x, n > 0 ? 2 * kEdge : -kEdge);
        }
        return x;
    };
    ParticleState state{};
    state.mass.fill(39.948);
    for (int i = 0; i < kAtomCount; ++i) {
        state.x[i] = position(random);
        state.y[i] = position(random);
        state.z[i] = position(random);
    }
    for (int i = 1; i < kAtomCount; i += 2) {
        double& x = state.x[i];
        const double from = state.x[i - 1];
        switch (kind) {
            case 1:  // half an edge from its neighbour along y, and near it
                state.y[i - 1] = 0.0;
                state.y[i] = i % 4 == 1 ? 0.5 * kEdge : nudged(0.5 * kEdge);
                break;
            case 2: {  // on and near the faces at 0 and L, and down to tiny coordinates
                const std::array faces{0.0, kEdge, std::ldexp(unit(random), -30), 0x1p-6,
                                       kEdge - 0x1p-6};
                x = std::clamp(nudged(faces[i / 2 % faces.size()]), 0.0, kEdge);
                state.z[i] = i % 3 == 0 ? 0.0 : state.z[i];
                break;
            }
            case 3: {  // at and near the cutoff: 9 Å along x, or in a random direction
                const double theta = 6.283185307179586 * unit(random), c = 2 * unit(random) - 1;
                const double r = i % 4 == 1 ? 9.0 : nudged(9.0);
                const double sine = std::sqrt(1 - c * c);
                state.y[i] = state.y[i - 1] + (i % 8 == 1 ? 0.0 : r * sine * std::sin(theta));
                state.z[i] = state.z[i - 1] + (i % 8 == 1 ? 0.0 : r * c);
                x = from + (i % 8 == 1 ? r : r * sine * std::cos(theta));
                break;
            }
            case 4:  // close pairs, from 0.3 Å (where the powers leave their chain) to 3 Å
                x = from + 0.3 + 2.7 * unit(random);
                break;
            default:
                break;
        }
    }
    // Positions stay in the cell, as a run's are; those the pairs pushed out are wrapped.
    for (auto* axis : {&state.x, &state.y, &state.z}) {
        for (double& x : *axis) {
            x = x > kEdge ? x - kEdge : x;
        }
    }
    return state;
}

TEST(FastKernel, GivesThePlainLoopsForcesAndEnergyBitForBit) {
    const RunParameters params{};
    const SpeciesTable table = makeSpeciesTable(params);
    const Cell cell{kEdge, kEdge, kEdge};
    std::mt19937_64 random(2024);
    for (int run = 0; run < 1500; ++run) {
        const ParticleState start = configuration(run % 5, random);
        ParticleState plain = start;
        const double energy = computeForces(plain, table, cell, params);
        for (const auto units :
             {fast::VectorUnits::best, fast::VectorUnits::avx2, fast::VectorUnits::portable}) {
            ParticleState summed = start, forcesOnly = start;
            const double fastEnergy = fast::computeForces(summed, table, cell, params,
                                                          fast::PotentialEnergy::summed, units);
            fast::computeForces(forcesOnly, table, cell, params, fast::PotentialEnergy::notNeeded,
                                units);
            ASSERT_TRUE(sameBits(energy, fastEnergy))
                << "configuration " << run << ": " << energy << " against " << fastEnergy;
            ASSERT_TRUE(sameForces(plain, summed)) << "configuration " << run;
            ASSERT_TRUE(sameForces(plain, forcesOnly)) << "configuration " << run;
        }
    }
}

}  // namespace
