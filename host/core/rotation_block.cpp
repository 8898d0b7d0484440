// The rotations of many world matrices at once: blocks of four through the side-by-side
// kernel (its AVX build when the processor has AVX), the rest one by one.
#include "rotation_block.h"

#include "math_inline.h"
#include "rotation_block_kernel.h"

namespace qv::math {

namespace {

#if defined(__x86_64__)
const bool kHaveAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();
#else
constexpr bool kHaveAvx = false;
#endif

}  // namespace

#if !defined(__x86_64__)
// No AVX build on other processors: the plain one stands in.
void RotationsOfFourAvx(const cmatrix4* const w[4], cquat out[4]) { ::RotationsOfFour(w, out); }
#endif

bool HaveAvx() { return kHaveAvx; }

void RotationsOfFourPlain(const cmatrix4* const w[4], cquat out[4]) { ::RotationsOfFour(w, out); }

void RotationsOf(const cmatrix4* const* worlds, cquat* out, int n) {
    int k = 0;
    if (kHaveAvx)
        for (; k + 4 <= n; k += 4) RotationsOfFourAvx(worlds + k, out + k);
    else
        for (; k + 4 <= n; k += 4) ::RotationsOfFour(worlds + k, out + k);
    for (; k < n; ++k) out[k] = RotationOf(*worlds[k]);
}

}  // namespace qv::math
