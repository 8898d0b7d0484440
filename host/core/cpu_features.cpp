// What the processor offers the wide builds of the math kernels: asked on the first call only
// (not when the library loads, so that a call from another library's initialiser is answered).
#include "cpu_features.h"

namespace qv::math {

bool HaveAvx() {
#if defined(__x86_64__)
    static const bool avx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return avx;
#else
    return false;
#endif
}

bool HaveAvx512() {
#if defined(__x86_64__)
    static const bool avx512 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0;
    }();
    return avx512;
#else
    return false;
#endif
}

}  // namespace qv::math
