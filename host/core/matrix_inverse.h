// The two forms of the general 4x4 inverse (Gauss-Jordan elimination in double with partial
// pivoting) that Inverse chooses between: both round every element by the same operations in
// the same order, so they give the same bits; the wider one needs AVX.
#pragma once

#include "quorvane/math.h"

namespace qv::math {

// Pivot magnitude below which the matrix counts as singular (the inverse is then the identity).
constexpr double kSingularPivot = 1e-12;

// Rows as pairs of doubles (SSE2, every x86-64 processor).
cmatrix4 InverseByPairs(const cmatrix4& in);

// Rows as two groups of four doubles. Call only where HaveAvx() (cpu_features.h) is true.
cmatrix4 InverseByQuads(const cmatrix4& in);

}  // namespace qv::math
