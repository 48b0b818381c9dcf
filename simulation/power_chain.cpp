#include "simulation/power_chain.h"

#include <cassert>
#include <cstddef>

// GCC vectorises these loops (at -O3, or at -O2 with -fvect-cost-model=dynamic).  The portable
// x86-64 target has no FMA, so there the FMA loops are compiled for processors with FMA and AVX2
// and chosen at run time.

namespace argon::power_chain {

namespace {

template <bool kFma>
void loop6And12(std::span<const double> s, double margin, std::span<double> s6,
                std::span<double> s12) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        chainPowers6And12<kFma>(s[i], margin, s6[i], s12[i]);
    }
}

template <bool kFma>
void loop7And13(std::span<const double> s, double margin, std::span<double> s7,
                std::span<double> s13) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        chainPowers7And13<kFma>(s[i], margin, s7[i], s13[i]);
    }
}

// flatten inlines the whole chain, so that all of it is compiled for the function's target.
#if defined(__x86_64__) && !defined(__FP_FAST_FMA)
#define ARGON_MD_FMA_TARGET gnu::target("avx2,fma"),
#else
#define ARGON_MD_FMA_TARGET
#endif

[[ARGON_MD_FMA_TARGET gnu::flatten]] void loop6And12Fma(std::span<const double> s, double margin,
                                                        std::span<double> s6,
                                                        std::span<double> s12) {
    loop6And12<true>(s, margin, s6, s12);
}

[[ARGON_MD_FMA_TARGET gnu::flatten]] void loop7And13Fma(std::span<const double> s, double margin,
                                                        std::span<double> s7,
                                                        std::span<double> s13) {
    loop7And13<true>(s, margin, s7, s13);
}
#undef ARGON_MD_FMA_TARGET

[[gnu::flatten]] void loop6And12Dekker(std::span<const double> s, double margin,
                                       std::span<double> s6, std::span<double> s12) {
    loop6And12<false>(s, margin, s6, s12);
}

[[gnu::flatten]] void loop7And13Dekker(std::span<const double> s, double margin,
                                       std::span<double> s7, std::span<double> s13) {
    loop7And13<false>(s, margin, s7, s13);
}

}  // namespace

bool processorHasFma() {
#if defined(__x86_64__) && !defined(__FP_FAST_FMA)
    static const bool hasFma = __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2");
    return hasFma;
#else
    return kCompiledForFma;
#endif
}

void chainPowers6And12(bool useFma, std::span<const double> s, double marginUlps,
                       std::span<double> s6, std::span<double> s12) {
    assert(s6.size() == s.size() && s12.size() == s.size());
    if (useFma) {
        loop6And12Fma(s, marginUlps, s6, s12);
    } else {
        loop6And12Dekker(s, marginUlps, s6, s12);
    }
}

void chainPowers7And13(bool useFma, std::span<const double> s, double marginUlps,
                       std::span<double> s7, std::span<double> s13) {
    assert(s7.size() == s.size() && s13.size() == s.size());
    if (useFma) {
        loop7And13Fma(s, marginUlps, s7, s13);
    } else {
        loop7And13Dekker(s, marginUlps, s7, s13);
    }
}

}  // namespace argon::power_chain
