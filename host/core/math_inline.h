// Inline forms of the host math that evaluation runs per bone and frame. Each rounds exactly
// as the exported function of the same name in math.cpp (the same operations in the same
// order), so callers may use either and get the same bits.
#pragma once

#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "quorvane/math.h"

namespace qv::math {

// Four floats worked on element by element; a product or sum of two of them rounds each
// element exactly as the same operation on one float does.
typedef float Float4 __attribute__((vector_size(4 * sizeof(float))));

inline Float4 Row(const cmatrix4& m, int i) {
    Float4 r;
    std::memcpy(&r, m.m[i], sizeof r);
    return r;
}

inline Float4 Splat(float v) { return Float4{v, v, v, v}; }

// The quaternion scaled to unit norm; a zero (or not finite) norm gives the identity.
inline cquat NormalizedQuat(float x, float y, float z, float w) {
    const float n = std::sqrt(x * x + y * y + z * z + w * w);
    if (!(n > 0.0f)) return cquat{};
    return {x / n, y / n, z / n, w / n};
}

// a × b: "a, then b". Each row of the product sums its four terms left to right, as the
// scalar loop does.
inline cmatrix4 Multiply(const cmatrix4& a, const cmatrix4& b) {
    const Float4 b0 = Row(b, 0), b1 = Row(b, 1), b2 = Row(b, 2), b3 = Row(b, 3);
    cmatrix4 r;
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
        const Float4 row = Splat(a.m[i][0]) * b0 + Splat(a.m[i][1]) * b1 +
                           Splat(a.m[i][2]) * b2 + Splat(a.m[i][3]) * b3;
        std::memcpy(r.m[i], &row, sizeof row);
    }
    return r;
}

// The textbook rotation matrix of q, written as rows (see MatrixFromQuat). Each row is put
// together in a register and stored whole: a caller that reads a row back soon after (the
// scale of a local matrix is applied to it next) then takes it from the pending store, which
// a read spanning several one-element stores cannot.
inline cmatrix4 RotationMatrix(const cquat& q) {
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    const Float4 row0 = {1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y), 0.0f};
    const Float4 row1 = {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x), 0.0f};
    const Float4 row2 = {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y), 0.0f};
    cmatrix4 r;
    std::memcpy(r.m[0], &row0, sizeof row0);
    std::memcpy(r.m[1], &row1, sizeof row1);
    std::memcpy(r.m[2], &row2, sizeof row2);
    return r;
}

// Two doubles worked on element by element (one SSE2 operation on x86-64): a quotient or root
// of a pair rounds each element exactly as the same operation on one double does, and costs
// the divider about as much as one.
typedef double Double2 __attribute__((vector_size(2 * sizeof(double))));

inline Double2 SqrtPair(Double2 v) {
#if defined(__SSE2__)
    return _mm_sqrt_pd(v);
#else
    return Double2{std::sqrt(v[0]), std::sqrt(v[1])};
#endif
}

// The rotation of a matrix with its rows normalised in double (see QuatFromMatrix). The row
// lengths and quotients go through the divider in pairs, and the case is chosen without a
// branch; every element is rounded as in the textbook loop.
inline cquat RotationOf(const cmatrix4& mat) {
    const double a20 = mat.m[2][0], a21 = mat.m[2][1], a22 = mat.m[2][2];
    // Rows 0 and 1 side by side: column j of both.
    const Double2 c0 = {mat.m[0][0], mat.m[1][0]}, c1 = {mat.m[0][1], mat.m[1][1]};
    const Double2 c2 = {mat.m[0][2], mat.m[1][2]};
    const Double2 len01 = SqrtPair(c0 * c0 + c1 * c1 + c2 * c2);
    const double len2 = std::sqrt(a20 * a20 + a21 * a21 + a22 * a22);
    const Double2 q0 = c0 / len01, q1 = c1 / len01, q2 = c2 / len01;
    const Double2 q20 = Double2{a20, a21} / Double2{len2, len2};
    const double q22 = a22 / len2;
    const bool row0 = len01[0] > 0.0, row1 = len01[1] > 0.0, row2 = len2 > 0.0;
    const double m00 = row0 ? q0[0] : 1.0, m01 = row0 ? q1[0] : 0.0, m02 = row0 ? q2[0] : 0.0;
    const double m10 = row1 ? q0[1] : 0.0, m11 = row1 ? q1[1] : 1.0, m12 = row1 ? q2[1] : 0.0;
    const double m20 = row2 ? q20[0] : 0.0, m21 = row2 ? q20[1] : 0.0, m22 = row2 ? q22 : 1.0;
    // Which of w, x, y, z is largest (the order of the textbook's tests), chosen without a
    // branch: rotations come in no predictable order.
    const double tr = m00 + m11 + m22;
    const int notW = !(tr > 0.0);
    const int isX = (m00 > m11) & (m00 > m22);
    const int isY = m11 > m22;
    const int pick = notW * (1 + (1 - isX) * (1 + (1 - isY)));  // 0 w, 1 x, 2 y, 3 z
    const double radicand[4] = {tr + 1.0, 1.0 + m00 - m11 - m22, 1.0 + m11 - m00 - m22,
                                1.0 + m22 - m00 - m11};
    const double s = std::sqrt(radicand[pick]) * 2.0;  // 4 × the largest
    // The six sums and differences the cases divide by s, and the largest itself (s / 4).
    const Double2 sPair = {s, s};
    const Double2 d01 = Double2{m21 - m12, m02 - m20} / sPair;
    const Double2 d23 = Double2{m10 - m01, m01 + m10} / sPair;
    const Double2 d45 = Double2{m02 + m20, m12 + m21} / sPair;
    const double quotient[7] = {d01[0], d01[1], d23[0], d23[1], d45[0], d45[1], 0.25 * s};
    // x, y, z, w of each case as indices into quotient.
    static constexpr unsigned char kFrom[4][4] = {{0, 1, 2, 6}, {6, 3, 4, 0}, {3, 6, 5, 1}, {4, 5, 6, 2}};
    const double x = quotient[kFrom[pick][0]], y = quotient[kFrom[pick][1]];
    const double z = quotient[kFrom[pick][2]], w = quotient[kFrom[pick][3]];
    return NormalizedQuat(float(x), float(y), float(z), float(w));
}

// Shortest-arc slerp along a prepared arc (see SlerpAlong).
inline cquat AlongArc(const cslerparc& arc, float t) {
    float wa, wb;
    if (arc.linear) {
        wa = 1.0f - t;
        wb = t;
    } else {
        wa = std::sin((1.0f - t) * arc.theta) / arc.sinTheta;
        wb = std::sin(t * arc.theta) / arc.sinTheta;
    }
    const cquat& a = arc.a;
    const cquat& b = arc.b;
    return NormalizedQuat(a.x * wa + b.x * wb, a.y * wa + b.y * wb, a.z * wa + b.z * wb,
                          a.w * wa + b.w * wb);
}

}  // namespace qv::math
