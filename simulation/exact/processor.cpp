#include "simulation/exact/processor.h"

bool processorHasAvx2AndFma() {
#if ARGON_MD_RUNTIME_VECTOR_LOOPS
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return has;
#else
    return false;
#endif
}

bool processorHasAvx512() {
#if ARGON_MD_RUNTIME_VECTOR_LOOPS
    static const bool has = processorHasAvx2AndFma() && __builtin_cpu_supports("avx512f") &&
                            __builtin_cpu_supports("avx512dq") &&
                            __builtin_cpu_supports("avx512vl");
    return has;
#else
    return false;
#endif
}
