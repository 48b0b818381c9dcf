// The time step's wrapping and its energy conservation, and the thermostat where the temperature
// gives it nothing to scale by.
#include "simulation/integration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "simulation/forces.h"

namespace {

// Where the temperature gives no factor to scale by, the velocities stay as they are, bit for
// bit: nothing turns into NaN or infinity.
TEST(Rescaling, LeavesTheVelocitiesWhereTheTemperatureGivesNoFactor) {
    const RunParameters params{};
    ParticleState state{};
    state.mass.fill(39.948);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        const char* what;
        double first, others;  // m/s, vx of atom 0 and vy of every atom
        double temperature;    // K; NaN: the one measured
    } cases[] = {
        {"at rest", 0.0, 0.0, nan},
        {"an infinite velocity", infinity, 300.0, nan},
        {"a NaN velocity", nan, 300.0, nan},
        {"T0 / T beyond the doubles", 0.0, 1e-160, 1e-310},
        {"a negative temperature", 5.0, 300.0, -1.0},
    };
    for (const auto& c : cases) {
        state.vx.fill(0.0);
        state.vx[0] = c.first;
        state.vy.fill(c.others);
        const ParticleState before = state;
        const double temperature =
            std::isnan(c.temperature) ? measureKinetic(state, params).temperature : c.temperature;
        rescaleVelocities(state, temperature, params);
        for (const auto velocity : {&ParticleState::vx, &ParticleState::vy, &ParticleState::vz}) {
            EXPECT_EQ(std::memcmp(&(state.*velocity), &(before.*velocity), sizeof state.vx), 0)
                << c.what;
        }
    }
}

// The wrapping skips the formula well inside the cell; it must leave what the formula leaves.
TEST(Wrapping, MatchesTheFormulaInsideTheCellAndAtItsFaces) {
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
            ASSERT_EQ(std::bit_cast<std::uint64_t>(state.x[i]), std::bit_cast<std::uint64_t>(plain))
                << x;
        }
    }
}

// Energy conservation of the step without a thermostat. Symplectic Euler (the kick with the
// force at x_n, then the drift with the new velocity) is the exact flow of a modified energy
// H̃ = H - (h/2) H_p·H_q + O(h^2) = E + (h/2) P + O(h^2), where P = Σ v·F (Hairer,
// Lubich and Wanner, Geometric Numerical Integration, 2nd ed., Springer 2006, ch. IX, the
// modified Hamiltonian of the symplectic Euler method). So E_n - E_0 = -(h/2) (P_n - P_0) +
// O(h^2): the energy oscillates with an amplitude of at most (h/2) (max P - min P), first order
// in h, and does not drift. The O(h^2) terms are smaller by a factor of the order of h ω, a few
// per cent at 4 fs for the lattice's fastest vibrations; 10% covers them.
using Step = void (*)(ParticleState&, const Cell&, const RunParameters&);

struct EnergyExcursion {
    double largest;  // J/mol per atom, the largest |E_n - E_0|
    double bound;    // J/mol per atom, (h/2) (max P - min P)
};

// 50 atoms of a simple cubic lattice (4 x 4 x 4 sites, the first 50) at the potential's minimum
// 2^(1/6) σ apart, in the middle of a 60 Å cell, with small random velocities (30 K): they
// swap kinetic and potential energy as the lattice relaxes. The run's 9 Å cutoff without a shift
// would make the forces other than the gradient of the energy of every pair, which is then not
// the energy they conserve; here the cutoff lies beyond every pair.
EnergyExcursion runWithoutThermostat(Step step, double dt) {
    constexpr double kEdge = 60.0;            // Å
    constexpr double kSpan = 2000.0;          // fs, a few periods of the lattice's vibrations
    constexpr double kVelocitySpread = 79.0;  // m/s, sqrt(kB 30 K / m) of argon
    const double spacing = std::pow(2.0, 1.0 / 6.0) * 3.4;  // Å
    RunParameters params{};
    params.dt = dt;
    params.cutoff = kEdge;
    const Cell cell{kEdge, kEdge, kEdge};
    const SpeciesTable table = makeSpeciesTable(params);
    ParticleState state{};
    std::mt19937_64 random(5);
    std::normal_distribution<double> velocity(0.0, kVelocitySpread);
    for (int i = 0; i < kAtomCount; ++i) {
        state.mass[i] = kArgonMass;
        state.x[i] = kEdge / 2 + (i % 4 - 1.5) * spacing;
        state.y[i] = kEdge / 2 + (i / 4 % 4 - 1.5) * spacing;
        state.z[i] = kEdge / 2 + (i / 16 - 1.5) * spacing;
        state.vx[i] = velocity(random);
        state.vy[i] = velocity(random);
        state.vz[i] = velocity(random);
    }
    const double perAtomPerMole = params.avogadro / kAtomCount;
    double first = 0.0;
    double lowestPower = std::numeric_limits<double>::infinity();
    double highestPower = -lowestPower;
    EnergyExcursion excursion{0.0, 0.0};
    const long steps = std::lround(kSpan / dt);
    for (long n = 0; n <= steps; ++n) {
        const double potential =
            normalisePotential(computeForces(state, table, cell, params), params);
        const double energy = measureKinetic(state, params).energy + potential;
        double power = 0.0;  // P, J/mol per atom per s; v in m/s, F in J/Å, 1e10 Å/m
        for (int i = 0; i < kAtomCount; ++i) {
            power += (state.vx[i] * state.fx[i] + state.vy[i] * state.fy[i] +
                      state.vz[i] * state.fz[i]) *
                     1e10 * perAtomPerMole;
        }
        first = n == 0 ? energy : first;
        excursion.largest = std::max(excursion.largest, std::abs(energy - first));
        lowestPower = std::min(lowestPower, power);
        highestPower = std::max(highestPower, power);
        if (n < steps) {
            step(state, cell, params);
        }
    }
    const double seconds = dt * 1e-15;  // h
    excursion.bound = seconds / 2 * (highestPower - lowestPower);
    return excursion;
}

// Within the first-order bound at the run's time step, and half as far from the start at half
// that step (within 15%: the two runs part slowly, as chaos takes them apart).
::testing::AssertionResult conservesEnergyToFirstOrder(Step step) {
    const EnergyExcursion full = runWithoutThermostat(step, 4.0);
    const EnergyExcursion half = runWithoutThermostat(step, 2.0);
    const double ratio = full.largest / half.largest;
    if (!(full.largest <= 1.1 * full.bound && ratio >= 1.7 && ratio <= 2.3)) {
        return ::testing::AssertionFailure()
               << "the energy strays " << full.largest << " J/mol per atom against a bound of "
               << full.bound << ", and " << ratio << " times as far as with half the step";
    }
    return ::testing::AssertionSuccess()
           << "the energy strays " << full.largest << " of " << full.bound << " J/mol per atom";
}

TEST(EnergyConservation, TheEulerStepHoldsItToFirstOrderAndBrokenStepsDoNot) {
    EXPECT_TRUE(conservesEnergyToFirstOrder(advanceParticles));
    // A kick of half the force.
    EXPECT_FALSE(conservesEnergyToFirstOrder(
        [](ParticleState& state, const Cell& cell, const RunParameters& params) {
            for (int i = 0; i < kAtomCount; ++i) {
                state.fx[i] *= 0.5;
                state.fy[i] *= 0.5;
                state.fz[i] *= 0.5;
            }
            advanceParticles(state, cell, params);
        }));
    // Explicit Euler: the drift with the old velocity. Its energy grows with time.
    EXPECT_FALSE(conservesEnergyToFirstOrder(
        [](ParticleState& state, const Cell& cell, const RunParameters& params) {
            const ParticleState before = state;
            advanceParticles(state, cell, params);
            for (int i = 0; i < kAtomCount; ++i) {  // m/s times fs is 1e-5 Å
                state.x[i] = before.x[i] + params.dt * before.vx[i] * 1e-5;
                state.y[i] = before.y[i] + params.dt * before.vy[i] * 1e-5;
                state.z[i] = before.z[i] + params.dt * before.vz[i] * 1e-5;
            }
        }));
}

}  // namespace
