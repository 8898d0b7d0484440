// The rotations of many world matrices at once, for evaluations that place a whole tree of
// nodes at one time.
#pragma once

#include "cpu_features.h"
#include "quorvane/math.h"

namespace qv::math {

// out[k] = RotationOf(*worlds[k]) for k < n, the same bits as n calls of it, worked on eight
// at a time where the processor has AVX-512, else four at a time (with AVX where it has it).
void RotationsOf(const cmatrix4* const* worlds, cquat* out, int n);

// The side-by-side kernel's builds, each giving out[k] = RotationOf(*w[k]) for k < 4 (or 8):
// the plain one runs anywhere, the AVX one only where HaveAvx(), the AVX-512 one (eight at a
// time) only where HaveAvx512() (cpu_features.h).
void RotationsOfFourPlain(const cmatrix4* const w[4], cquat out[4]);
void RotationsOfFourAvx(const cmatrix4* const w[4], cquat out[4]);
void RotationsOfEightAvx512(const cmatrix4* const w[8], cquat out[8]);

}  // namespace qv::math
