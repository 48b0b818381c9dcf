// Cost of the run, with the fast force kernel beside the plain pair loop: one force evaluation,
// one whole step, the whole run's arithmetic alone and the whole program with its output.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "simulation/fast/fast_forces.h"
#include "simulation/forces.h"
#include "simulation/integration.h"
#include "simulation/placement.h"
#include "simulation/random_source.h"

namespace fs = std::filesystem;

namespace {

struct Start {
    RunParameters params{};
    SpeciesTable species = makeSpeciesTable(params);
    Cell cell{};
    ParticleState state{};

    Start() {
        const double edge = cellEdge(params);
        cell = Cell{edge, edge, edge};
        randomSource.seed(1);
        placeParticles(state, cell, params, [](int) {});
    }
};

enum class Kernel { fast, reference };

// One step as the program takes it: sampled steps also form the energies and control the
// temperature.
double step(Start& run, int number, Kernel kernel) {
    const bool sampled = number % kSampleInterval == 0;
    const double potential = kernel == Kernel::reference
                                 ? computeForces(run.state, run.species, run.cell, run.params)
                                 : fast::computeForces(run.state, run.species, run.cell, run.params,
                                                       sampled ? fast::PotentialEnergy::summed
                                                               : fast::PotentialEnergy::notNeeded);
    advanceParticles(run.state, run.cell, run.params);
    if (!sampled) {
        return 0.0;
    }
    const KineticMeasure kinetic = measureKinetic(run.state, run.params);
    rescaleVelocities(run.state, kinetic.temperature, run.params);
    removeDrift(run.state);
    return normalisePotential(potential, run.params) + kinetic.energy;
}

// One force evaluation with the energy: the fast kernel, and the plain loop.
void forcesWithEnergy(benchmark::State& bench, Kernel kernel) {
    Start run;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(
            kernel == Kernel::reference
                ? computeForces(run.state, run.species, run.cell, run.params)
                : fast::computeForces(run.state, run.species, run.cell, run.params));
    }
}
BENCHMARK_CAPTURE(forcesWithEnergy, fast, Kernel::fast);
BENCHMARK_CAPTURE(forcesWithEnergy, reference, Kernel::reference);

// The forces alone, as nine steps in ten take them, with the widest vectors this processor has
// and with those of AVX2.
void fastForcesOnly(benchmark::State& bench, fast::VectorUnits units) {
    Start run;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(fast::computeForces(run.state, run.species, run.cell, run.params,
                                                     fast::PotentialEnergy::notNeeded, units));
    }
}
BENCHMARK_CAPTURE(fastForcesOnly, best, fast::VectorUnits::best);
BENCHMARK_CAPTURE(fastForcesOnly, avx2, fast::VectorUnits::avx2);

void oneSampledStep(benchmark::State& bench, Kernel kernel) {
    Start run;
    for (int i = 0; i < 200; ++i) {  // past the hot start
        step(run, i, kernel);
    }
    for (auto _ : bench) {
        benchmark::DoNotOptimize(step(run, 0, kernel));
    }
}
BENCHMARK_CAPTURE(oneSampledStep, fast, Kernel::fast);
BENCHMARK_CAPTURE(oneSampledStep, reference, Kernel::reference);

void wholeRunArithmetic(benchmark::State& bench, Kernel kernel) {
    for (auto _ : bench) {
        Start run;
        double sum = 0.0;
        for (int i = 0; i < run.params.stepCount; ++i) {
            sum += step(run, i, kernel);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK_CAPTURE(wholeRunArithmetic, fast, Kernel::fast)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);
BENCHMARK_CAPTURE(wholeRunArithmetic, reference, Kernel::reference)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

// The built program, started as a user starts it, in a scratch directory; its console goes to
// a file there: the fast kernel with the correctly rounded powers and with the C library's pow,
// and the plain loop.
// The time is the program's own CPU time, user and system, as wait4 reports it: the honest
// yardstick on a shared machine, where wall time also counts the other programs.
void wholeProgramWithOutput(benchmark::State& bench, const char* program) {
    const fs::path dir = fs::temp_directory_path() / ("argon-md-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    for (auto _ : bench) {
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir(dir.c_str()) != 0 || !std::freopen("console.out", "wb", stdout)) {
                _exit(126);
            }
            execl(program, program, static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            bench.SkipWithError("the program failed");
            break;
        }
        const auto seconds = [](timeval t) { return double(t.tv_sec) + 1e-6 * double(t.tv_usec); };
        bench.SetIterationTime(seconds(usage.ru_utime) + seconds(usage.ru_stime));
    }
    fs::remove_all(dir);
}
BENCHMARK_CAPTURE(wholeProgramWithOutput, exact, ARGON_MD_PROGRAM_PATH)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseManualTime();
BENCHMARK_CAPTURE(wholeProgramWithOutput, libm, ARGON_MD_LIBM_PROGRAM_PATH)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseManualTime();

BENCHMARK_CAPTURE(wholeProgramWithOutput, reference, ARGON_MD_REFERENCE_PROGRAM_PATH)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
