// Conversions between the host's z-up row-vector frame and glTF's y-up column-vector frame.
#include "gltf_axes.h"

namespace qvapp {
namespace {

// p_gltf = p_host · A: rows are the glTF images of the host's x, y and z axes.
cmatrix4 HostToGltfAxes() {
    cmatrix4 a;
    a.SetRow(0, {1.0f, 0.0f, 0.0f});
    a.SetRow(1, {0.0f, 0.0f, -1.0f});
    a.SetRow(2, {0.0f, 1.0f, 0.0f});
    return a;
}

cmatrix4 Transposed(const cmatrix4& m) {
    cmatrix4 t;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) t.m[i][j] = m.m[j][i];
    return t;
}

}  // namespace

cpoint3 GltfFromHostPoint(const cpoint3& p) { return {p.x, p.z, -p.y}; }
cpoint3 HostFromGltfPoint(const cpoint3& p) { return {p.x, -p.z, p.y}; }

cquat GltfFromHostRotation(const cquat& q) { return {-q.x, -q.z, q.y, q.w}; }
cquat HostFromGltfRotation(const cquat& r) { return {-r.x, r.z, -r.y, r.w}; }

cpoint3 GltfFromHostScale(const cpoint3& s) { return {s.x, s.z, s.y}; }
cpoint3 HostFromGltfScale(const cpoint3& s) { return {s.x, s.z, s.y}; }

std::array<float, 16> GltfFromHostMatrix(const cmatrix4& m) {
    const cmatrix4 a = HostToGltfAxes();
    // gltfRow = Aᵀ × m × A: host axes back from glTF ones, then m, then into glTF axes.
    const cmatrix4 gltfRow = Transposed(a) * m * a;
    std::array<float, 16> out{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out[4 * i + j] = gltfRow.m[i][j];
    return out;
}

}  // namespace qvapp
