#pragma once

// What the build targets, and what the processor adds to it. On x86-64 without FMA in the
// build's target (the portable default), the vector loops are compiled twice more, for
// processors with AVX-512 and for those with AVX2 and FMA, and the widest the processor has is
// chosen at run time (ARGON_MD_RUNTIME_VECTOR_LOOPS); elsewhere the build's target is all.
#if defined(__x86_64__) && !defined(__FP_FAST_FMA)
#define ARGON_MD_RUNTIME_VECTOR_LOOPS 1
#else
#define ARGON_MD_RUNTIME_VECTOR_LOOPS 0
#endif

// The target of the loops compiled for AVX-512, eight doubles to a vector; GCC keeps to 256-bit
// vectors unless asked, and clang would ignore the whole attribute for the option that asks.
#if defined(__clang__)
#define ARGON_MD_AVX512_TARGET "avx512f,avx512dq,avx512vl,avx2,fma"
#else
#define ARGON_MD_AVX512_TARGET "avx512f,avx512dq,avx512vl,avx2,fma,prefer-vector-width=512"
#endif

#ifdef __FP_FAST_FMA
inline constexpr bool kTargetHasFma = true;
#else
inline constexpr bool kTargetHasFma = false;
#endif

// Whether the loops compiled for AVX2 and FMA may run here (false where there are none).
bool processorHasAvx2AndFma();

// Whether the loops compiled for AVX-512 (its foundation, DQ and VL parts, beside AVX2 and FMA)
// may run here (false where there are no such loops).
bool processorHasAvx512();

// Whether std::fma is one instruction here, in the build's target or in those loops.
inline bool fmaAvailable() {
    return kTargetHasFma || processorHasAvx2AndFma();
}
