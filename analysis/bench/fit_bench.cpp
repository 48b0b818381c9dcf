// Time of the fit of D to an MSD series of a given length, sampled as a run samples.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "analysis/compute/single_origin_fit_for_comparison.h"

namespace {

void fitOfSamples(benchmark::State& state) {
    std::vector<double> time, msd;
    for (long i = 0; i < state.range(0); ++i) {
        time.push_back(0.04 * static_cast<double>(i));
        // Ballistic at first, then 6 D t with D = 20 Å²/ps.
        msd.push_back(120.0 * (time.back() - 1.0 + std::exp(-time.back())));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(fitSingleOrigin(time, msd));
    }
}
BENCHMARK(fitOfSamples)->Arg(1000)->Arg(20'000)->Arg(50'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
