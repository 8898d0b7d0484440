// The change of frame between the host (z up, row vectors) and glTF (y up, column vectors),
// checked on concrete axes and against a column-vector rotation written out independently.
#include <cmath>

#include <gtest/gtest.h>

#include "gltf_axes.h"
#include "quorvane/math.h"

namespace qvapp::test {
namespace {

// Float products of unit values: a few ulps.
constexpr float kTol = 1e-6f;
constexpr float kHalfRoot2 = 0.70710678f;

void ExpectNear(const cpoint3& got, const cpoint3& want, const char* what) {
    EXPECT_LT(Length(got - want), kTol) << what << ": (" << got.x << ", " << got.y << ", " << got.z
                                        << ") against (" << want.x << ", " << want.y << ", "
                                        << want.z << ")";
}

// v rotated by the unit quaternion r as glTF reads it: column vectors, v' = r v r*.
cpoint3 RotateColumn(const cquat& r, const cpoint3& v) {
    const cpoint3 u{r.x, r.y, r.z};
    const cpoint3 t = CrossProd(u, v) * 2.0f;
    return v + t * r.w + CrossProd(u, t);
}

// p transformed by a glTF matrix: column-major, p' = M p.
cpoint3 TransformColumn(const std::array<float, 16>& m, const cpoint3& p) {
    cpoint3 out;
    for (int row = 0; row < 3; ++row)
        out[row] = m[0 * 4 + row] * p.x + m[1 * 4 + row] * p.y + m[2 * 4 + row] * p.z +
                   m[3 * 4 + row];
    return out;
}

const cpoint3 kX{1, 0, 0}, kY{0, 1, 0}, kZ{0, 0, 1};

TEST(GltfAxes, HostUpBecomesGltfUpAndTheHostsFrontGltfsFront) {
    ExpectNear(GltfFromHostPoint(kZ), kY, "host up");
    ExpectNear(GltfFromHostPoint(-kY), kZ, "host -y, the front a biped faces");
    ExpectNear(GltfFromHostPoint(kX), kX, "host x");
    // A right-handed frame stays right-handed: x × y = z on both sides.
    ExpectNear(CrossProd(GltfFromHostPoint(kX), GltfFromHostPoint(kY)), GltfFromHostPoint(kZ),
               "handedness");
    const cpoint3 p{1.5f, -2.0f, 3.25f};
    ExpectNear(HostFromGltfPoint(GltfFromHostPoint(p)), p, "point there and back");
}

TEST(GltfAxes, ARotationTurnsEveryAxisWhereTheHostTurnsIt) {
    // The host's quarter turn about z takes x to -y (row vectors); in glTF the same turn takes
    // x to +z, i.e. it is -90 degrees about glTF's y.
    const cquat quarterZ{0.0f, 0.0f, kHalfRoot2, kHalfRoot2};
    ExpectNear(RotateColumn(GltfFromHostRotation(quarterZ), kX), kZ, "quarter turn of x");
    const cquat turns[] = {quarterZ, QuatFromAngleAxis(30.0f, kX), QuatFromAngleAxis(-75.0f, kY),
                           EulerToQuat({10.0f, -20.0f, 35.0f}),
                           QuatFromAngleAxis(123.0f, MakePt3(1.0f, -2.0f, 0.5f))};
    for (const cquat& q : turns) {
        const cquat r = GltfFromHostRotation(q);
        for (const cpoint3& axis : {kX, kY, kZ})
            ExpectNear(RotateColumn(r, GltfFromHostPoint(axis)), GltfFromHostPoint(axis * q),
                       "turned axis");
        const cquat back = HostFromGltfRotation(r);
        EXPECT_LT(std::abs(DotProd(back, q) - 1.0f), kTol) << "rotation there and back";
    }
}

TEST(GltfAxes, AMatrixMovesPointsWhereTheHostTransformMovesThem) {
    // scale, then rotation, then translation: a node's local matrix.
    const cpoint3 scale{1.0f, 2.0f, 3.0f};
    const cmatrix4 m = MatrixScale(scale) * MatrixFromQuat(EulerToQuat({10.0f, -20.0f, 35.0f})) *
                       MatrixTranslate({0.5f, -1.0f, 4.0f});
    const std::array<float, 16> g = GltfFromHostMatrix(m);
    for (const cpoint3& p : {kX, kY, kZ, MakePt3(0, 0, 0), MakePt3(-1.0f, 2.5f, 0.75f)})
        ExpectNear(TransformColumn(g, GltfFromHostPoint(p)), GltfFromHostPoint(p * m), "point");
    // A bottom row of (0, 0, 0, 1), as glTF requires of node and inverse bind matrices.
    EXPECT_EQ(g[3], 0.0f);
    EXPECT_EQ(g[7], 0.0f);
    EXPECT_EQ(g[11], 0.0f);
    EXPECT_EQ(g[15], 1.0f);
}

TEST(GltfAxes, ScalesAlongTheHostsYAndZBecomeGltfsZAndY) {
    const cpoint3 s{1.0f, 2.0f, 3.0f};
    const cpoint3 g = GltfFromHostScale(s);
    // The scale matrix carried over by the matrix conversion is the diagonal of g.
    const std::array<float, 16> m = GltfFromHostMatrix(MatrixScale(s));
    EXPECT_FLOAT_EQ(m[0], g.x);
    EXPECT_FLOAT_EQ(m[5], g.y);
    EXPECT_FLOAT_EQ(m[10], g.z);
    ExpectNear(HostFromGltfScale(g), s, "scale there and back");
}

}  // namespace
}  // namespace qvapp::test
