// The rotations of many world matrices at once, for evaluations that place a whole tree of
// nodes at one time.
#pragma once

#include "quorvane/math.h"

namespace qv::math {

// out[k] = RotationOf(*worlds[k]) for k < n, the same bits as n calls of it, worked on four
// at a time (with AVX where the processor has it).
void RotationsOf(const cmatrix4* const* worlds, cquat* out, int n);

// The four-at-a-time kernel's two builds, each giving out[k] = RotationOf(*w[k]) for k < 4:
// the plain one runs anywhere, the AVX one only where HaveAvx().
void RotationsOfFourPlain(const cmatrix4* const w[4], cquat out[4]);
void RotationsOfFourAvx(const cmatrix4* const w[4], cquat out[4]);
bool HaveAvx();

}  // namespace qv::math
