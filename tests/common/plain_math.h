// The textbook forms of the host math that evaluation uses, one scalar operation at a time:
// the reference the library's faster forms must match bit for bit (the same operations in the
// same order round the same way, so there is no tolerance).
#pragma once

#include <algorithm>
#include <cmath>

#include "quorvane/math.h"

namespace plain {

inline cquat Normalized(const cquat& q) {
    float n = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (n > 0.0f) return {q.x / n, q.y / n, q.z / n, q.w / n};
    return cquat{};
}

// a × b: "a, then b".
inline cmatrix4 Product(const cmatrix4& a, const cmatrix4& b) {
    cmatrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
    return r;
}

// p · M with w = 1: each coordinate summed left to right.
inline cpoint3 PointTimes(const cpoint3& p, const cmatrix4& m) {
    cpoint3 r;
    for (int j = 0; j < 3; ++j)
        r[j] = p.x * m.m[0][j] + p.y * m.m[1][j] + p.z * m.m[2][j] + m.m[3][j];
    return r;
}

inline cmatrix4 RotationMatrix(const cquat& q) {
    float x = q.x, y = q.y, z = q.z, w = q.w;
    cmatrix4 r;
    r.m[0][0] = 1 - 2 * (y * y + z * z); r.m[0][1] = 2 * (x * y - w * z); r.m[0][2] = 2 * (x * z + w * y);
    r.m[1][0] = 2 * (x * y + w * z); r.m[1][1] = 1 - 2 * (x * x + z * z); r.m[1][2] = 2 * (y * z - w * x);
    r.m[2][0] = 2 * (x * z - w * y); r.m[2][1] = 2 * (y * z + w * x); r.m[2][2] = 1 - 2 * (x * x + y * y);
    return r;
}

// Rows normalised in double, then the largest of w, x, y, z first.
inline cquat RotationOf(const cmatrix4& mat) {
    double m[3][3];
    for (int i = 0; i < 3; ++i) {
        double len = std::sqrt(double(mat.m[i][0]) * mat.m[i][0] + double(mat.m[i][1]) * mat.m[i][1] +
                               double(mat.m[i][2]) * mat.m[i][2]);
        for (int j = 0; j < 3; ++j) m[i][j] = len > 0.0 ? mat.m[i][j] / len : (i == j ? 1.0 : 0.0);
    }
    double tr = m[0][0] + m[1][1] + m[2][2];
    double x, y, z, w;
    if (tr > 0.0) {
        double s = std::sqrt(tr + 1.0) * 2.0;
        w = 0.25 * s;
        x = (m[2][1] - m[1][2]) / s;
        y = (m[0][2] - m[2][0]) / s;
        z = (m[1][0] - m[0][1]) / s;
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        double s = std::sqrt(1.0 + m[0][0] - m[1][1] - m[2][2]) * 2.0;
        w = (m[2][1] - m[1][2]) / s;
        x = 0.25 * s;
        y = (m[0][1] + m[1][0]) / s;
        z = (m[0][2] + m[2][0]) / s;
    } else if (m[1][1] > m[2][2]) {
        double s = std::sqrt(1.0 + m[1][1] - m[0][0] - m[2][2]) * 2.0;
        w = (m[0][2] - m[2][0]) / s;
        x = (m[0][1] + m[1][0]) / s;
        y = 0.25 * s;
        z = (m[1][2] + m[2][1]) / s;
    } else {
        double s = std::sqrt(1.0 + m[2][2] - m[0][0] - m[1][1]) * 2.0;
        w = (m[1][0] - m[0][1]) / s;
        x = (m[0][2] + m[2][0]) / s;
        y = (m[1][2] + m[2][1]) / s;
        z = 0.25 * s;
    }
    return Normalized(cquat{float(x), float(y), float(z), float(w)});
}

// Shortest-arc slerp; ends closer than the linear threshold are blended linearly.
inline cquat Slerp(const cquat& a, const cquat& bIn, float t) {
    constexpr float kLinearDot = 0.9995f;
    cquat b = bIn;
    float d = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    if (d < 0.0f) {
        b = {-b.x, -b.y, -b.z, -b.w};
        d = -d;
    }
    float wa = 1.0f - t, wb = t;
    if (!(d > kLinearDot)) {
        float theta = std::acos(std::clamp(d, -1.0f, 1.0f));
        float sinTheta = std::sin(theta);
        wa = std::sin((1.0f - t) * theta) / sinTheta;
        wb = std::sin(t * theta) / sinTheta;
    }
    return Normalized({a.x * wa + b.x * wb, a.y * wa + b.y * wb, a.z * wa + b.z * wb,
                       a.w * wa + b.w * wb});
}

}  // namespace plain
