// The one place where the host's frame meets glTF's: the host is z up with row vectors
// (p' = p · M), glTF is y up with column vectors (p' = M p) and faces its assets along +z.
//
// The change of axes is the quarter turn about x that takes the host's up (z) to glTF's up (y):
//     glTF (x, y, z) = host (x, z, -y),   host (x, y, z) = glTF (x, -z, y).
// A character facing the host's -y thus faces glTF's +z. Lengths are kept (one host unit is
// one glTF unit, the metre).
#pragma once

#include <array>

#include "quorvane/math.h"

namespace qvapp {

// A position or direction.
cpoint3 GltfFromHostPoint(const cpoint3& p);
cpoint3 HostFromGltfPoint(const cpoint3& p);

// A rotation. A host quaternion q acts on row vectors (p ⊗ q = p · MatrixFromQuat(q)), which is
// the column-vector rotation by its conjugate; that rotation is then carried into glTF's axes:
//     glTF r = (-q.x, -q.z, q.y, q.w),   host q = (-r.x, r.z, -r.y, r.w).
cquat GltfFromHostRotation(const cquat& q);
cquat HostFromGltfRotation(const cquat& r);

// A node's own scale along its axes: the host's y and z scales are glTF's z and y scales.
cpoint3 GltfFromHostScale(const cpoint3& s);
cpoint3 HostFromGltfScale(const cpoint3& s);

// A host transform (row vectors, rows = images of the axes, row 3 = translation) as a glTF
// matrix in glTF's column-major order. With A the change of axes as a row-vector matrix
// (p_gltf = p_host · A), the glTF row-vector matrix is Aᵀ × M × A ("back to host axes, then M,
// then into glTF axes"); read column-major, its rows are the column-vector matrix's columns.
std::array<float, 16> GltfFromHostMatrix(const cmatrix4& m);

}  // namespace qvapp
