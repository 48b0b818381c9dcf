// Time per set of powers: std::pow against the double-double chain, scalar and batched, with the
// exact products from FMA (argument 1) or from Dekker's split (argument 0).  The ratios
// s = sigma / r come from distances spread as in the simulation: the (6, 12) set for pairs beyond
// the 9 A cutoff, the full set for pairs inside it.  The counter "fallback" is the share of powers
// left to std::pow.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "simulation/lj_powers.h"

namespace {

namespace detail = argon::lj_powers_detail;
constexpr std::size_t kCount = 4096;

std::vector<double> ratios(double rMin, double rMax) {
    std::mt19937_64 engine(42);
    std::uniform_real_distribution<double> distance(rMin, rMax);
    std::vector<double> s(kCount);
    for (double& x : s) {
        x = 3.4 / distance(engine);
    }
    return s;
}

std::vector<double> beyondCutoff() {
    return ratios(9.0, 21.78);
}
std::vector<double> insideCutoff() {
    return ratios(3.0, 9.0);
}

double fallbackShare(const std::vector<double>& s, bool allFour) {
    std::size_t fallbacks = 0;
    for (const double x : s) {
        double p[4];
        detail::fastPowers6To13<false>(x, p[0], p[1], p[2], p[3]);
        fallbacks += std::isnan(p[0]) + std::isnan(p[2]);
        fallbacks += allFour ? std::isnan(p[1]) + std::isnan(p[3]) : 0;
    }
    return static_cast<double>(fallbacks) / static_cast<double>((allFour ? 4 : 2) * s.size());
}

void report(benchmark::State& state, double fallback) {
    const auto sets = static_cast<double>(state.iterations()) * kCount;
    state.counters["fallback"] = fallback;
    state.counters["ns_per_set"] =
        benchmark::Counter(sets, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

bool skippedForWantOfFma(benchmark::State& state) {
    if (state.range(0) != 0 && !detail::processorHasFma()) {
        state.SkipWithError("this processor has no FMA");
        return true;
    }
    return false;
}

void StdPow6And12(benchmark::State& state) {
    const std::vector<double> s = beyondCutoff();
    for (auto _ : state) {
        for (const double x : s) {
            benchmark::DoNotOptimize(std::pow(x, 6.0));
            benchmark::DoNotOptimize(std::pow(x, 12.0));
        }
    }
    report(state, 1.0);
}

void StdPow6To13(benchmark::State& state) {
    const std::vector<double> s = insideCutoff();
    for (auto _ : state) {
        for (const double x : s) {
            benchmark::DoNotOptimize(std::pow(x, 6.0));
            benchmark::DoNotOptimize(std::pow(x, 7.0));
            benchmark::DoNotOptimize(std::pow(x, 12.0));
            benchmark::DoNotOptimize(std::pow(x, 13.0));
        }
    }
    report(state, 1.0);
}

// The scalar functions inlined into a loop compiled for the product method, as in a build for a
// processor with FMA or in a portable one.
template <bool kFma>
void scalarLoop6And12(const std::vector<double>& s) {
    for (const double x : s) {
        double s6, s12;
        detail::powers6And12<kFma>(x, s6, s12);
        benchmark::DoNotOptimize(s6);
        benchmark::DoNotOptimize(s12);
    }
}

template <bool kFma>
void scalarLoop6To13(const std::vector<double>& s) {
    for (const double x : s) {
        double s6, s7, s12, s13;
        detail::powers6To13<kFma>(x, s6, s7, s12, s13);
        benchmark::DoNotOptimize(s6);
        benchmark::DoNotOptimize(s7);
        benchmark::DoNotOptimize(s12);
        benchmark::DoNotOptimize(s13);
    }
}

#if defined(__x86_64__) && !defined(__FP_FAST_FMA)
#define ARGON_MD_FMA_TARGET gnu::target("fma"),
#else
#define ARGON_MD_FMA_TARGET
#endif
[[ARGON_MD_FMA_TARGET gnu::flatten]] void scalarLoop6And12Fma(const std::vector<double>& s) {
    scalarLoop6And12<true>(s);
}
[[ARGON_MD_FMA_TARGET gnu::flatten]] void scalarLoop6To13Fma(const std::vector<double>& s) {
    scalarLoop6To13<true>(s);
}

void Scalar6And12(benchmark::State& state) {
    if (skippedForWantOfFma(state)) {
        return;
    }
    const std::vector<double> s = beyondCutoff();
    for (auto _ : state) {
        state.range(0) != 0 ? scalarLoop6And12Fma(s) : scalarLoop6And12<false>(s);
    }
    report(state, fallbackShare(s, false));
}

void Scalar6To13(benchmark::State& state) {
    if (skippedForWantOfFma(state)) {
        return;
    }
    const std::vector<double> s = insideCutoff();
    for (auto _ : state) {
        state.range(0) != 0 ? scalarLoop6To13Fma(s) : scalarLoop6To13<false>(s);
    }
    report(state, fallbackShare(s, true));
}

void Batch6And12(benchmark::State& state) {
    if (skippedForWantOfFma(state)) {
        return;
    }
    const std::vector<double> s = beyondCutoff();
    std::vector<double> s6(kCount), s12(kCount);
    for (auto _ : state) {
        detail::powers6And12(state.range(0) != 0, s, s6, s12);
        benchmark::ClobberMemory();
    }
    report(state, fallbackShare(s, false));
}

void Batch6To13(benchmark::State& state) {
    if (skippedForWantOfFma(state)) {
        return;
    }
    const std::vector<double> s = insideCutoff();
    std::vector<double> s6(kCount), s7(kCount), s12(kCount), s13(kCount);
    for (auto _ : state) {
        detail::powers6To13(state.range(0) != 0, s, s6, s7, s12, s13);
        benchmark::ClobberMemory();
    }
    report(state, fallbackShare(s, true));
}

}  // namespace

BENCHMARK(StdPow6And12);
BENCHMARK(StdPow6To13);
BENCHMARK(Scalar6And12)->ArgName("fma")->Arg(0)->Arg(1);
BENCHMARK(Scalar6To13)->ArgName("fma")->Arg(0)->Arg(1);
BENCHMARK(Batch6And12)->ArgName("fma")->Arg(0)->Arg(1);
BENCHMARK(Batch6To13)->ArgName("fma")->Arg(0)->Arg(1);
