// Points, quaternions and row-vector matrices of the host (see quorvane/math.h for the
// conventions: p' = p · M, A × B = "A, then B", MatrixFromQuat(a × b) = M(a) × M(b)).
#include "quorvane/math.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "math_inline.h"

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;
// Below this cosine of the x angle the Euler decomposition treats y as 0 (gimbal lock).
constexpr double kGimbalCosEpsilon = 1e-7;
// Above this |dot| two quaternions are interpolated linearly (sin θ too small to divide by).
constexpr float kSlerpLinearDot = 0.9995f;

// Wraps an angle in degrees to (-180, 180].
double WrapDegrees(double deg) {
    if (deg <= -180.0) deg += 360.0;
    if (deg > 180.0) deg -= 360.0;
    return deg;
}

}  // namespace

// --- cpoint3 ----------------------------------------------------------------------------------

float cpoint3::Length() const { return std::sqrt(x * x + y * y + z * z); }

void cpoint3::Normalize() {
    float len = Length();
    if (len > 0.0f) { x /= len; y /= len; z /= len; }
}

cpoint3 MakePt3(float x, float y, float z) { return {x, y, z}; }
cquat MakeQuat(float x, float y, float z, float w) { return {x, y, z, w}; }

float DotProd(const cpoint3& a, const cpoint3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

cpoint3 CrossProd(const cpoint3& a, const cpoint3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Length(const cpoint3& p) { return p.Length(); }

cpoint3 Normalize(const cpoint3& p) {
    cpoint3 r = p;
    r.Normalize();
    return r;
}

// --- cquat ------------------------------------------------------------------------------------

// Hamilton product (*this)·b: rotate by *this, then by b.
cquat cquat::operator*(const cquat& b) const {
    return {w * b.x + x * b.w + y * b.z - z * b.y,
            w * b.y - x * b.z + y * b.w + z * b.x,
            w * b.z + x * b.y - y * b.x + z * b.w,
            w * b.w - x * b.x - y * b.y - z * b.z};
}

void cquat::Normalize() { *this = qv::math::NormalizedQuat(x, y, z, w); }

float DotProd(const cquat& a, const cquat& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

cquat Inverse(const cquat& q) {
    float n2 = DotProd(q, q);
    if (n2 <= 0.0f) return cquat{};
    return {-q.x / n2, -q.y / n2, -q.z / n2, q.w / n2};
}

cquat Normalize(const cquat& q) { return qv::math::NormalizedQuat(q.x, q.y, q.z, q.w); }

cquat QuatFromAngleAxis(float deg, const cpoint3& axis) {
    cpoint3 a = Normalize(axis);
    double half = 0.5 * deg * kDegToRad;
    float s = static_cast<float>(std::sin(half));
    return {a.x * s, a.y * s, a.z * s, static_cast<float>(std::cos(half))};
}

// z first, then x, then y: Qz × Qx × Qy.
cquat EulerToQuat(const cpoint3& e) {
    return QuatFromAngleAxis(e.z, {0, 0, 1}) * QuatFromAngleAxis(e.x, {1, 0, 0}) *
           QuatFromAngleAxis(e.y, {0, 1, 0});
}

// Inverse of EulerToQuat. The rotation matrix of Qz × Qx × Qy (= Rz · Rx · Ry) has
// row 2 = (-cx·sy, sx, cx·cy) and column 1 = (-sz·cx, cz·cx, sx), which give the three angles;
// everything is computed in double from the quaternion so that angles near ±90° x survive.
cpoint3 QuatToEuler(const cquat& qin) {
    double n = std::sqrt(double(qin.x) * qin.x + double(qin.y) * qin.y + double(qin.z) * qin.z +
                         double(qin.w) * qin.w);
    if (n <= 0.0) return {};
    double x = qin.x / n, y = qin.y / n, z = qin.z / n, w = qin.w / n;
    double m01 = 2 * (x * y - w * z), m11 = 1 - 2 * (x * x + z * z);
    double m00 = 1 - 2 * (y * y + z * z), m10 = 2 * (x * y + w * z);
    double m20 = 2 * (x * z - w * y), m21 = 2 * (y * z + w * x), m22 = 1 - 2 * (x * x + y * y);
    double cx = std::sqrt(m20 * m20 + m22 * m22);
    double ax = std::atan2(m21, cx);
    double ay, az;
    if (cx > kGimbalCosEpsilon) {
        ay = std::atan2(-m20, m22);
        az = std::atan2(-m01, m11);
    } else {
        // Gimbal lock: only z ± y is defined; put it all in z (y = 0, row 0 = (cz, ., .)).
        ay = 0.0;
        az = std::atan2(m10, m00);
    }
    return {static_cast<float>(WrapDegrees(ax * kRadToDeg)),
            static_cast<float>(WrapDegrees(ay * kRadToDeg)),
            static_cast<float>(WrapDegrees(az * kRadToDeg))};
}

cslerparc PrepareSlerp(const cquat& a, const cquat& b) {
    cslerparc arc;
    arc.a = a;
    arc.b = b;
    float d = DotProd(a, b);
    if (d < 0.0f) {  // shortest arc: the other sign of b is nearer
        arc.b = {-b.x, -b.y, -b.z, -b.w};
        d = -d;
    }
    arc.linear = d > kSlerpLinearDot;
    if (!arc.linear) {
        arc.theta = std::acos(std::clamp(d, -1.0f, 1.0f));
        arc.sinTheta = std::sin(arc.theta);
    }
    return arc;
}

cquat SlerpAlong(const cslerparc& arc, float t) { return qv::math::AlongArc(arc, t); }

cquat Slerp(const cquat& a, const cquat& b, float t) { return SlerpAlong(PrepareSlerp(a, b), t); }

cpoint3 operator*(const cpoint3& p, const cquat& q) { return VectorTransform(p, MatrixFromQuat(q)); }

// --- cmatrix4 ---------------------------------------------------------------------------------

// this × b: "this, then b".
cmatrix4 cmatrix4::operator*(const cmatrix4& b) const { return qv::math::Multiply(*this, b); }

cmatrix4 MatrixFromQuat(const cquat& q) { return qv::math::RotationMatrix(q); }

// Inverse of MatrixFromQuat on the rotation part (rows normalised first), by the largest of
// w, x, y, z so that no division is by a small number.
cquat QuatFromMatrix(const cmatrix4& mat) { return qv::math::RotationOf(mat); }

cmatrix4 MatrixTranslate(const cpoint3& t) {
    cmatrix4 r;
    r.SetTrans(t);
    return r;
}

cmatrix4 MatrixScale(const cpoint3& s) {
    cmatrix4 r;
    r.m[0][0] = s.x; r.m[1][1] = s.y; r.m[2][2] = s.z;
    return r;
}

cmatrix4 MatrixLookAt(const cpoint3& up, const cpoint3& dir) {
    cpoint3 r1 = Normalize(dir);
    cpoint3 r0 = Normalize(CrossProd(dir, up));
    cpoint3 r2 = CrossProd(r0, r1);
    cmatrix4 r;
    r.SetRow(0, r0);
    r.SetRow(1, r1);
    r.SetRow(2, r2);
    return r;
}

// p · M with the point's implicit w = 1 (translation applied): the rows weighted by x, y and z
// and the translation row added, four columns at a time, each summed left to right as
// x·m0j + y·m1j + z·m2j + m3j (the fourth column is worked out and dropped).
cpoint3 operator*(const cpoint3& p, const cmatrix4& m) {
    using qv::math::Row;
    using qv::math::Splat;
    const qv::math::Float4 r =
        Splat(p.x) * Row(m, 0) + Splat(p.y) * Row(m, 1) + Splat(p.z) * Row(m, 2) + Row(m, 3);
    return {r[0], r[1], r[2]};
}

cpoint3 VectorTransform(const cpoint3& p, const cmatrix4& m) {
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2]};
}
