// The rotations of many world matrices at once: blocks of four through the side-by-side
// kernel (its AVX build when the processor has AVX).
#include "rotation_block.h"

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
    if (k == n) return;
    // The last one to three through the kernel too, the block filled out with the last matrix.
    const cmatrix4* block[4];
    cquat answers[4];
    for (int i = 0; i < 4; ++i) block[i] = worlds[k + i < n ? k + i : n - 1];
    if (kHaveAvx) RotationsOfFourAvx(block, answers);
    else ::RotationsOfFour(block, answers);
    for (int i = 0; k + i < n; ++i) out[k + i] = answers[i];
}

}  // namespace qv::math
