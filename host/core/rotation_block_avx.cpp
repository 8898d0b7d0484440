// The side-by-side rotation kernel built for AVX, four at a time (this source alone is
// compiled with -mavx; no fused multiply-add, so every product and sum rounds on its own as in
// the plain build).
#include "rotation_block.h"

#if defined(__x86_64__)
#include "rotation_block_kernel.h"

namespace qv::math {

void RotationsOfFourAvx(const cmatrix4* const w[4], cquat out[4]) { RotationsOfLanes<4>(w, out); }

}  // namespace qv::math
#endif
