#include "simulation/lj_powers.h"

#include <cassert>
#include <cstddef>

// The batch functions run the chain over the whole array first, in a loop without calls or
// branches that the compiler vectorises (GCC does at -O3, or at -O2 with
// -fvect-cost-model=dynamic), and then call std::pow for the few powers left as NaN, a branch
// that is now taken rarely and outside the chain's loop.  The portable x86-64 target has no FMA,
// so there the FMA loops are compiled for processors with FMA and AVX2 and chosen at run time;
// the two kinds of loop give the same bits (see the header).

namespace argon::lj_powers_detail {

namespace {

template <bool kFma>
void firstPass6And12(std::span<const double> s, std::span<double> s6, std::span<double> s12) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        fastPowers6And12<kFma>(s[i], s6[i], s12[i]);
    }
}

template <bool kFma>
void firstPass6To13(std::span<const double> s, std::span<double> s6, std::span<double> s7,
                    std::span<double> s12, std::span<double> s13) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        fastPowers6To13<kFma>(s[i], s6[i], s7[i], s12[i], s13[i]);
    }
}

// flatten inlines the whole chain, so that all of it is compiled for the function's target.
#if defined(__x86_64__) && !defined(__FP_FAST_FMA)
#define ARGON_MD_FMA_TARGET gnu::target("avx2,fma"),
#else
#define ARGON_MD_FMA_TARGET
#endif

[[ARGON_MD_FMA_TARGET gnu::flatten]] void firstPass6And12Fma(std::span<const double> s,
                                                             std::span<double> s6,
                                                             std::span<double> s12) {
    firstPass6And12<true>(s, s6, s12);
}

[[ARGON_MD_FMA_TARGET gnu::flatten]] void firstPass6To13Fma(std::span<const double> s,
                                                            std::span<double> s6,
                                                            std::span<double> s7,
                                                            std::span<double> s12,
                                                            std::span<double> s13) {
    firstPass6To13<true>(s, s6, s7, s12, s13);
}
#undef ARGON_MD_FMA_TARGET

[[gnu::flatten]] void firstPass6And12Dekker(std::span<const double> s, std::span<double> s6,
                                            std::span<double> s12) {
    firstPass6And12<false>(s, s6, s12);
}

[[gnu::flatten]] void firstPass6To13Dekker(std::span<const double> s, std::span<double> s6,
                                           std::span<double> s7, std::span<double> s12,
                                           std::span<double> s13) {
    firstPass6To13<false>(s, s6, s7, s12, s13);
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

void powers6And12(bool useFma, std::span<const double> s, std::span<double> s6,
                  std::span<double> s12) {
    assert(s6.size() == s.size() && s12.size() == s.size());
    if (useFma) {
        firstPass6And12Fma(s, s6, s12);
    } else {
        firstPass6And12Dekker(s, s6, s12);
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        s6[i] = orPow(s6[i], s[i], 6.0);
        s12[i] = orPow(s12[i], s[i], 12.0);
    }
}

void powers6To13(bool useFma, std::span<const double> s, std::span<double> s6, std::span<double> s7,
                 std::span<double> s12, std::span<double> s13) {
    assert(s6.size() == s.size() && s7.size() == s.size() && s12.size() == s.size() &&
           s13.size() == s.size());
    if (useFma) {
        firstPass6To13Fma(s, s6, s7, s12, s13);
    } else {
        firstPass6To13Dekker(s, s6, s7, s12, s13);
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        s6[i] = orPow(s6[i], s[i], 6.0);
        s7[i] = orPow(s7[i], s[i], 7.0);
        s12[i] = orPow(s12[i], s[i], 12.0);
        s13[i] = orPow(s13[i], s[i], 13.0);
    }
}

}  // namespace argon::lj_powers_detail

namespace argon {

void powers6And12(std::span<const double> s, std::span<double> s6, std::span<double> s12) {
    lj_powers_detail::powers6And12(lj_powers_detail::processorHasFma(), s, s6, s12);
}

void powers6To13(std::span<const double> s, std::span<double> s6, std::span<double> s7,
                 std::span<double> s12, std::span<double> s13) {
    lj_powers_detail::powers6To13(lj_powers_detail::processorHasFma(), s, s6, s7, s12, s13);
}

}  // namespace argon
