// Quorvane host math: points, quaternions, 4x4 matrices and colours.
//
// Conventions (every table of the Biped depends on them):
// - Points are row vectors: p' = p · M. Rows 0, 1, 2 of a transform are the images of the
//   x, y and z axes (scaled), row 3 is the translation. A × B means "A, then B".
// - cquat a × b is the Hamilton product a·b and means "rotate by a, then by b":
//   MatrixFromQuat(a × b) == MatrixFromQuat(a) × MatrixFromQuat(b).
// - A node's world matrix is local × parentWorld; its parent-relative rotation is
//   world × Inverse(parentWorld).
// - Angles handed to the angle-axis and Euler functions are in degrees.
#pragma once

#include "quorvane/api.h"

struct QVAPI cpoint3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;

    constexpr cpoint3() = default;
    constexpr cpoint3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    cpoint3 operator+(const cpoint3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    cpoint3 operator-(const cpoint3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    cpoint3 operator-() const { return {-x, -y, -z}; }
    cpoint3 operator*(float s) const { return {x * s, y * s, z * s}; }
    cpoint3 operator/(float s) const { return {x / s, y / s, z / s}; }
    cpoint3& operator+=(const cpoint3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    cpoint3& operator-=(const cpoint3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    cpoint3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    bool operator==(const cpoint3& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const cpoint3& o) const { return !(*this == o); }

    // Euclidean length.
    float Length() const;
    // Scales this point to unit length; a zero point stays zero.
    void Normalize();
};

struct QVAPI cquat {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;  // identity by default

    constexpr cquat() = default;
    constexpr cquat(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    // Hamilton product: (*this) × b = "rotate by *this, then by b".
    cquat operator*(const cquat& b) const;
    bool operator==(const cquat& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
    bool operator!=(const cquat& o) const { return !(*this == o); }

    // Scales to unit norm; a zero quaternion becomes the identity.
    void Normalize();
};

// Colour with components in 0..1.
struct ccolor {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

// 4x4 float matrix for row vectors; default-constructed = identity.
struct QVAPI cmatrix4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    // this × b: "this, then b".
    cmatrix4 operator*(const cmatrix4& b) const;

    cpoint3 GetRow(int i) const { return {m[i][0], m[i][1], m[i][2]}; }
    void SetRow(int i, const cpoint3& r) { m[i][0] = r.x; m[i][1] = r.y; m[i][2] = r.z; }
    cpoint3 GetTrans() const { return GetRow(3); }
    void SetTrans(const cpoint3& t) { SetRow(3, t); }
};

// --- construction ---------------------------------------------------------------------------
QVAPI cpoint3 MakePt3(float x, float y, float z);
QVAPI cquat MakeQuat(float x, float y, float z, float w);

// --- points ---------------------------------------------------------------------------------
QVAPI float DotProd(const cpoint3& a, const cpoint3& b);
QVAPI cpoint3 CrossProd(const cpoint3& a, const cpoint3& b);  // right-handed
QVAPI float Length(const cpoint3& p);
QVAPI cpoint3 Normalize(const cpoint3& p);                  // zero stays zero

// --- quaternions ----------------------------------------------------------------------------
QVAPI float DotProd(const cquat& a, const cquat& b);
QVAPI cquat Inverse(const cquat& q);     // conjugate / squared norm
QVAPI cquat Normalize(const cquat& q);   // zero becomes identity
// (axis·sin(θ/2), cos(θ/2)) with θ = deg in radians and the axis normalised.
QVAPI cquat QuatFromAngleAxis(float deg, const cpoint3& axis);
// Euler angles in degrees: QuatFromAngleAxis(e.z, Z) × QuatFromAngleAxis(e.x, X) ×
// QuatFromAngleAxis(e.y, Y), i.e. z first, then x, then y.
QVAPI cquat EulerToQuat(const cpoint3& eulerDeg);
// Exact inverse of EulerToQuat (degrees, x and z in (-180, 180], x in [-90, 90]).
QVAPI cpoint3 QuatToEuler(const cquat& q);
// Shortest-arc spherical interpolation; t in 0..1.
QVAPI cquat Slerp(const cquat& a, const cquat& b, float t);
// A slerp arc prepared once for many fractions along it: the ends (b taken on a's side for the
// shortest arc), the angle between them and its sine, or `linear` when the ends are so close
// that they are blended linearly. Slerp(a, b, t) is SlerpAlong(PrepareSlerp(a, b), t), bit for bit.
struct cslerparc {
    cquat a, b;
    float theta = 0.0f;     // radians
    float sinTheta = 0.0f;
    bool linear = true;
};
QVAPI cslerparc PrepareSlerp(const cquat& a, const cquat& b);
QVAPI cquat SlerpAlong(const cslerparc& arc, float t);
// p ⊗ q = p · MatrixFromQuat(q).
QVAPI cpoint3 operator*(const cpoint3& p, const cquat& q);

// --- matrices -------------------------------------------------------------------------------
// Textbook rotation matrix of q written as rows: row 0 = (1-2(y²+z²), 2(xy-wz), 2(xz+wy)), ...
// The quarter turn (0, 0, 0.7071, 0.7071) takes the x axis to (0, -1, 0).
QVAPI cmatrix4 MatrixFromQuat(const cquat& q);
// Exact inverse of MatrixFromQuat on rotations; rows are normalised first (scale is ignored).
QVAPI cquat QuatFromMatrix(const cmatrix4& m);
QVAPI cmatrix4 MatrixTranslate(const cpoint3& t);
QVAPI cmatrix4 MatrixScale(const cpoint3& s);
// Rotation with row 1 = normalise(dir), row 0 = normalise(dir × up), row 2 = row 0 × row 1.
QVAPI cmatrix4 MatrixLookAt(const cpoint3& up, const cpoint3& dir);
QVAPI cmatrix4 Inverse(const cmatrix4& m);  // general inverse; singular gives identity
// p · M for a point (translation applied).
QVAPI cpoint3 operator*(const cpoint3& p, const cmatrix4& m);
// p · M for a direction (rows 0..2 only).
QVAPI cpoint3 VectorTransform(const cpoint3& p, const cmatrix4& m);
