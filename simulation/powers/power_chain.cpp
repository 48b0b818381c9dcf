#include "simulation/powers/power_chain.h"

#include <cassert>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "simulation/exact/error_free.h"
#include "simulation/exact/processor.h"

// GCC vectorises these loops (at -O3, or at -O2 with -fvect-cost-model=dynamic).  Where the
// build's target has no FMA, the FMA loop is compiled for processors with AVX-512 and for those
// with AVX2 and FMA, and the widest the processor has is chosen at run time.

namespace argon::power_chain {

namespace {

using error_free::DoubleDouble;
using error_free::exactProduct;

template <bool kFma>
DoubleDouble times(DoubleDouble x, double c) {
    const DoubleDouble p = exactProduct<kFma>(x.hi, c);
    return {p.hi, p.lo + x.lo * c};
}

template <bool kFma>
DoubleDouble squared(DoubleDouble x) {
    const DoubleDouble p = exactProduct<kFma>(x.hi, x.hi);
    return {p.hi, p.lo + (x.hi + x.hi) * x.lo};
}

// RN(x.hi + x.lo) where step 3 shows it to be the rounding; NaN elsewhere. Every power of s in
// the domain lies in [2^-39, 2^26], where roundsTo holds.
double roundedOrNaN(DoubleDouble x, bool inDomain, double marginUlps) {
    const DoubleDouble rt = error_free::fastExactSum(x.hi, x.lo);
    return error_free::both(
               inDomain, error_free::roundsTo(rt.hi, rt.lo, marginUlps * error_free::ulpOf(rt.hi)))
               ? rt.hi
               : std::numeric_limits<double>::quiet_NaN();
}

// Returns whether any power is left as NaN. (Flags as wide as a double let the compiler keep
// them in the lanes of the comparison.)
template <bool kFma, bool kOdd>
bool loop(std::span<const double> s, double margin, std::span<double> lower,
          std::span<double> higher) {
    std::int64_t refused = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool inDomain = error_free::both(s[i] >= 0x1p-3, s[i] <= 0x1p2);
        const DoubleDouble p6 = squared<kFma>(times<kFma>(exactProduct<kFma>(s[i], s[i]), s[i]));
        const DoubleDouble p12 = squared<kFma>(p6);
        lower[i] = roundedOrNaN(kOdd ? times<kFma>(p6, s[i]) : p6, inDomain, margin);
        higher[i] = roundedOrNaN(kOdd ? times<kFma>(p12, s[i]) : p12, inDomain, margin);
        refused |= std::isnan(lower[i] + higher[i]) ? 1 : 0;
    }
    return refused != 0;
}

// flatten inlines the whole chain, so that all of it is compiled for the function's target.
#if ARGON_MD_RUNTIME_VECTOR_LOOPS
[[gnu::target("avx2,fma"), gnu::flatten]]
#else
[[gnu::flatten]]
#endif
bool loopWithFma(bool odd, std::span<const double> s, double margin, std::span<double> lower,
                 std::span<double> higher) {
    return odd ? loop<true, true>(s, margin, lower, higher)
               : loop<true, false>(s, margin, lower, higher);
}

// The same eight powers to a vector, for processors with AVX-512.
#if ARGON_MD_RUNTIME_VECTOR_LOOPS
[[gnu::target(ARGON_MD_AVX512_TARGET), gnu::flatten]] bool loopWithAvx512(
    bool odd, std::span<const double> s, double margin, std::span<double> lower,
    std::span<double> higher) {
    return odd ? loop<true, true>(s, margin, lower, higher)
               : loop<true, false>(s, margin, lower, higher);
}
#endif

[[gnu::flatten]] bool loopWithVeltkamp(bool odd, std::span<const double> s, double margin,
                                       std::span<double> lower, std::span<double> higher) {
    return odd ? loop<false, true>(s, margin, lower, higher)
               : loop<false, false>(s, margin, lower, higher);
}

}  // namespace

bool chainPowers(PowerPair pair, ChainLoop loop, std::span<const double> s, double marginUlps,
                 std::span<double> lower, std::span<double> higher) {
    assert(lower.size() == s.size() && higher.size() == s.size());
    const bool odd = pair == PowerPair::sevenAndThirteen;
    switch (loop) {
        case ChainLoop::veltkamp:
            return loopWithVeltkamp(odd, s, marginUlps, lower, higher);
        case ChainLoop::widestFma:
#if ARGON_MD_RUNTIME_VECTOR_LOOPS
            if (processorHasAvx512()) {
                return loopWithAvx512(odd, s, marginUlps, lower, higher);
            }
#endif
            [[fallthrough]];
        case ChainLoop::fma:
            break;
    }
    return loopWithFma(odd, s, marginUlps, lower, higher);
}

ChainLoop fastestChainLoop() {
    return fmaAvailable() ? ChainLoop::widestFma : ChainLoop::veltkamp;
}

}  // namespace argon::power_chain
