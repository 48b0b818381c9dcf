#include "simulation/powers/power_chain.h"

#include <cassert>
#include <cstddef>
#include <limits>

#include "simulation/exact/error_free.h"
#include "simulation/exact/processor.h"

// GCC vectorises these loops (at -O3, or at -O2 with -fvect-cost-model=dynamic).  Where the
// build's target has no FMA, the FMA loop is compiled for processors with FMA and AVX2 and
// chosen at run time.

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
    return inDomain & error_free::roundsTo(rt.hi, rt.lo, marginUlps * error_free::ulpOf(rt.hi))
               ? rt.hi
               : std::numeric_limits<double>::quiet_NaN();
}

template <bool kFma, bool kOdd>
void loop(std::span<const double> s, double margin, std::span<double> lower,
          std::span<double> higher) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool inDomain = (s[i] >= 0x1p-3) & (s[i] <= 0x1p2);
        const DoubleDouble p6 = squared<kFma>(times<kFma>(exactProduct<kFma>(s[i], s[i]), s[i]));
        const DoubleDouble p12 = squared<kFma>(p6);
        lower[i] = roundedOrNaN(kOdd ? times<kFma>(p6, s[i]) : p6, inDomain, margin);
        higher[i] = roundedOrNaN(kOdd ? times<kFma>(p12, s[i]) : p12, inDomain, margin);
    }
}

// flatten inlines the whole chain, so that all of it is compiled for the function's target.
#if ARGON_MD_AVX2_FMA_CLONES
[[gnu::target("avx2,fma"), gnu::flatten]]
#else
[[gnu::flatten]]
#endif
void loopWithFma(bool odd, std::span<const double> s, double margin, std::span<double> lower,
                 std::span<double> higher) {
    odd ? loop<true, true>(s, margin, lower, higher) : loop<true, false>(s, margin, lower, higher);
}

[[gnu::flatten]] void loopWithVeltkamp(bool odd, std::span<const double> s, double margin,
                                       std::span<double> lower, std::span<double> higher) {
    odd ? loop<false, true>(s, margin, lower, higher)
        : loop<false, false>(s, margin, lower, higher);
}

}  // namespace

void chainPowers(PowerPair pair, bool useFma, std::span<const double> s, double marginUlps,
                 std::span<double> lower, std::span<double> higher) {
    assert(lower.size() == s.size() && higher.size() == s.size());
    const bool odd = pair == PowerPair::sevenAndThirteen;
    if (useFma) {
        loopWithFma(odd, s, marginUlps, lower, higher);
    } else {
        loopWithVeltkamp(odd, s, marginUlps, lower, higher);
    }
}

}  // namespace argon::power_chain
