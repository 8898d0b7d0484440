// The rotations of many world matrices at once: blocks of eight or four through the
// side-by-side kernel, in the build for the widest instruction set the processor has.
#include "rotation_block.h"

#include "rotation_block_kernel.h"

namespace qv::math {

namespace {

// The last one to seven matrices through a full block, filled out with the last of them.
template <int N>
void PaddedBlock(const cmatrix4* const* worlds, cquat* out, int n,
                 void (*kernel)(const cmatrix4* const*, cquat*)) {
    const cmatrix4* block[N];
    cquat answers[N];
    for (int i = 0; i < N; ++i) block[i] = worlds[i < n ? i : n - 1];
    kernel(block, answers);
    for (int i = 0; i < n; ++i) out[i] = answers[i];
}

void PlainFour(const cmatrix4* const* w, cquat* out) { RotationsOfLanes<4>(w, out); }

}  // namespace

#if !defined(__x86_64__)
// No wider builds on other processors: the plain one stands in.
void RotationsOfFourAvx(const cmatrix4* const w[4], cquat out[4]) { RotationsOfLanes<4>(w, out); }
void RotationsOfEightAvx512(const cmatrix4* const w[8], cquat out[8]) {
    RotationsOfLanes<4>(w, out);
    RotationsOfLanes<4>(w + 4, out + 4);
}
#endif

void RotationsOfFourPlain(const cmatrix4* const w[4], cquat out[4]) { RotationsOfLanes<4>(w, out); }

void RotationsOf(const cmatrix4* const* worlds, cquat* out, int n) {
    int k = 0;
    if (HaveAvx512()) {
        for (; k + 8 <= n; k += 8) RotationsOfEightAvx512(worlds + k, out + k);
        if (k < n) PaddedBlock<8>(worlds + k, out + k, n - k, RotationsOfEightAvx512);
        return;
    }
    auto four = HaveAvx() ? RotationsOfFourAvx : PlainFour;
    for (; k + 4 <= n; k += 4) four(worlds + k, out + k);
    if (k < n) PaddedBlock<4>(worlds + k, out + k, n - k, four);
}

}  // namespace qv::math
