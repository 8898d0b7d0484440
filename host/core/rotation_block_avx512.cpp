// The side-by-side rotation kernel built for AVX-512, eight at a time (this source alone is
// compiled with -mavx512f and -ffp-contract=off: the instruction set has fused multiply-adds,
// and none may be used, so that every product and sum rounds on its own as in the plain build).
#include "rotation_block.h"

#if defined(__x86_64__)
#include "rotation_block_kernel.h"

namespace qv::math {

void RotationsOfEightAvx512(const cmatrix4* const w[8], cquat out[8]) { RotationsOfLanes<8>(w, out); }

}  // namespace qv::math
#endif
