// Time per set of powers of s = sigma / r: std::pow, the product chain alone (exact products from
// FMA, argument 1, or from Veltkamp's split, argument 0), and the batch functions of the powers
// this binary links, chain and fallback together.  The ratios come from distances spread as in the
// simulation: s^6 and s^12, which the energy takes, for pairs beyond the 9 A cutoff, and s^7 and
// s^13, which the force takes, for pairs inside it.  The counter "fallback" is the share of
// powers the chain leaves to the fallback.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "simulation/exact/processor.h"
#include "simulation/powers/power_chain.h"
#include "simulation/powers/powers.h"

namespace {

namespace chain = argon::power_chain;
constexpr std::size_t kCount = 4096;

std::vector<double> ratios(bool inside) {
    std::mt19937_64 engine(42);
    std::uniform_real_distribution<double> distance(inside ? 3.0 : 9.0, inside ? 9.0 : 21.78);
    std::vector<double> s(kCount);
    for (double& x : s) {
        x = 3.4 / distance(engine);
    }
    return s;
}

// Runs the powers of one set (s^7 and s^13 inside the cutoff, s^6 and s^12 beyond it).
template <class Powers>
void timeSets(benchmark::State& state, Powers powers) {
    const bool inside = state.range(0) != 0;
    const std::vector<double> s = ratios(inside);
    std::vector<double> out(4 * kCount);
    const auto row = [&out](std::size_t k) { return std::span(out).subspan(k * kCount, kCount); };
    for (auto _ : state) {
        powers(inside, std::span<const double>(s), row);
        benchmark::ClobberMemory();
    }
    std::size_t fallbacks = 0;
    for (const double p : out) {
        fallbacks += std::isnan(p);
    }
    state.counters["fallback"] = static_cast<double>(fallbacks) / 2 / kCount;
    state.counters["ns_per_set"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kCount,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void StdPow(benchmark::State& state) {
    timeSets(state, [](bool inside, std::span<const double> s, auto row) {
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (inside) {
                row(2)[i] = std::pow(s[i], 7.0);
                row(3)[i] = std::pow(s[i], 13.0);
            } else {
                row(0)[i] = std::pow(s[i], 6.0);
                row(1)[i] = std::pow(s[i], 12.0);
            }
        }
    });
}

void Chain(benchmark::State& state) {
    const bool fma = state.range(1) != 0;
    if (fma && !fmaAvailable()) {
        state.SkipWithError("this processor has no FMA");
        return;
    }
    const auto loop = fma ? chain::ChainLoop::widestFma : chain::ChainLoop::veltkamp;
    timeSets(state, [loop](bool inside, std::span<const double> s, auto row) {
        if (inside) {
            chain::chainPowers(chain::PowerPair::sevenAndThirteen, loop, s, 0x1p-40, row(2),
                               row(3));
        } else {
            chain::chainPowers(chain::PowerPair::sixAndTwelve, loop, s, 0x1p-40, row(0), row(1));
        }
    });
}

void Batch(benchmark::State& state) {
    timeSets(state, [](bool inside, std::span<const double> s, auto row) {
        if (inside) {
            argon::powers7And13(s, row(2), row(3));
        } else {
            argon::powers6And12(s, row(0), row(1));
        }
    });
}

}  // namespace

BENCHMARK(StdPow)->ArgName("inside")->Arg(0)->Arg(1);
BENCHMARK(Chain)->ArgNames({"inside", "fma"})->ArgsProduct({{0, 1}, {0, 1}});
BENCHMARK(Batch)->ArgName("inside")->Arg(0)->Arg(1);
