// Host math conventions pinned with hand-worked values: row vectors, "a then b" products,
// z-x-y Euler angles and the look-at frame; the inverse against scalar Gauss-Jordan.
#include <cstring>
#include <random>
#include <utility>

#include "core_test_support.h"
#include "tests/common/plain_math.h"

namespace {

const cpoint3 kX{1, 0, 0}, kY{0, 1, 0}, kZ{0, 0, 1};

// 0.7071 as written in the conventions carries 1e-5 of rounding into a unit vector.
constexpr float kRoundedHalfRootTol = 1e-4f;
// Degrees lost by float quaternions away from gimbal lock.
constexpr float kEulerTolDeg = 2e-3f;

bool MatrixNear(const cmatrix4& a, const cmatrix4& b, float tol) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (std::fabs(a.m[i][j] - b.m[i][j]) > tol) return false;
    return true;
}

}  // namespace

TEST(MathConventions, QuarterTurnAboutZTakesXToMinusY) {
    cquat q{0, 0, 0.7071f, 0.7071f};
    EXPECT_TRUE(PointNear(kX * q, {0, -1, 0}, kRoundedHalfRootTol));
    EXPECT_TRUE(PointNear(MatrixFromQuat(q).GetRow(0), {0, -1, 0}, kRoundedHalfRootTol));
    EXPECT_TRUE(PointNear(kY * q, {1, 0, 0}, kRoundedHalfRootTol));
}

TEST(MathConventions, ProductMeansFirstThenSecondAsInMatrixOrder) {
    cquat aboutX = QuatFromAngleAxis(90, kX);
    cquat aboutZ = QuatFromAngleAxis(90, kZ);
    // Worked by hand: y ⊗ (x quarter) = -z, which the z quarter keeps; y ⊗ (z quarter) = +x,
    // which the x quarter keeps.
    EXPECT_TRUE(PointNear(kY * (aboutX * aboutZ), {0, 0, -1}, kFloatTol));
    EXPECT_TRUE(PointNear(kY * (aboutZ * aboutX), {1, 0, 0}, kFloatTol));
    EXPECT_TRUE(PointNear((kY * aboutX) * aboutZ, kY * (aboutX * aboutZ), kFloatTol));
    EXPECT_TRUE(MatrixNear(MatrixFromQuat(aboutX * aboutZ),
                           MatrixFromQuat(aboutX) * MatrixFromQuat(aboutZ), kFloatTol));
    EXPECT_TRUE(PointNear((cpoint3{1, 2, 3} * aboutX) * Inverse(aboutX), {1, 2, 3}, kFloatTol));
    EXPECT_FLOAT_EQ(Inverse(cquat{0, 0, 2, 0}).z, -0.5f);  // norm 2: the conjugate over 4
    // Row vectors: (1,0,0) scaled to (2,0,0), turned to (0,-2,0), then moved to (10,-2,0).
    cmatrix4 m = MatrixScale({2, 2, 2}) * MatrixFromQuat(aboutZ) * MatrixTranslate({10, 0, 0});
    EXPECT_TRUE(PointNear(kX * m, {10, -2, 0}, kFloatTol));
    EXPECT_TRUE(PointNear(VectorTransform(kX, m), {0, -2, 0}, kFloatTol));
    EXPECT_TRUE(MatrixNear(m * Inverse(m), cmatrix4{}, kFloatTol));
    EXPECT_TRUE(MatrixNear(Inverse(MatrixScale({1, 0, 1})), cmatrix4{}, 0.0f));  // singular
}

TEST(MathConventions, QuatFromMatrixInvertsMatrixFromQuat) {
    std::mt19937 rng(1234);
    std::normal_distribution<float> n(0.0f, 1.0f);
    for (int i = 0; i < 200; ++i) {
        cquat q = Normalize(cquat{n(rng), n(rng), n(rng), n(rng)});
        EXPECT_TRUE(SameRotation(QuatFromMatrix(MatrixFromQuat(q)), q, 1e-6f));
        // Scaled rows are normalised first.
        cmatrix4 scaled = MatrixScale({2.0f, 0.5f, 3.0f}) * MatrixFromQuat(q);
        EXPECT_TRUE(SameRotation(QuatFromMatrix(scaled), q, 1e-6f));
    }
}

TEST(MathConventions, EulerComposesZThenXThenY) {
    EXPECT_TRUE(SameRotation(EulerToQuat({0, 0, 90}), QuatFromAngleAxis(90, kZ), 1e-6f));
    // z quarter first takes y to +x; the x quarter after it leaves +x alone.
    EXPECT_TRUE(PointNear(kY * EulerToQuat({90, 0, 90}), {1, 0, 0}, kFloatTol));
    // The y angle alone: row 2 of the y quarter turn's matrix, (2(xz - wy), ., .) = -1 · x.
    EXPECT_TRUE(PointNear(kZ * EulerToQuat({0, 90, 0}), {-1, 0, 0}, kFloatTol));
    EXPECT_TRUE(SameRotation(EulerToQuat({30, 40, 50}),
                             QuatFromAngleAxis(50, kZ) * QuatFromAngleAxis(30, kX) *
                                 QuatFromAngleAxis(40, kY),
                             1e-6f));
}

TEST(MathConventions, EulerRoundTripsAwayFromAndNearGimbalLock) {
    for (float x = -85; x <= 85; x += 17)
        for (float y = -170; y <= 170; y += 34)
            for (float z = -175; z <= 175; z += 35) {
                cpoint3 back = QuatToEuler(EulerToQuat({x, y, z}));
                EXPECT_TRUE(PointNear(back, {x, y, z}, kEulerTolDeg)) << x << " " << y << " " << z;
            }
    // At the lock the angles are not unique, but they give back the same rotation.
    for (float x : {89.0f, 89.9f, 89.99f, 90.0f, -89.0f, -89.9f, -89.99f, -90.0f}) {
        for (float y : {-120.0f, 0.0f, 35.0f}) {
            cquat q = EulerToQuat({x, y, 20});
            cpoint3 e = QuatToEuler(q);
            EXPECT_TRUE(SameRotation(EulerToQuat(e), q, 1e-6f)) << x << " " << y;
            EXPECT_LE(std::fabs(e.x), 90.0f);
        }
    }
    EXPECT_TRUE(PointNear(QuatToEuler(EulerToQuat({89.0f, 35, 20})), {89.0f, 35, 20}, 0.05f));
}

TEST(MathConventions, LookAtWithZUpAlongXIsTheRootFrame) {
    cmatrix4 m = MatrixLookAt(kZ, kX);
    EXPECT_TRUE(PointNear(m.GetRow(0), {0, -1, 0}, kFloatTol));
    EXPECT_TRUE(PointNear(m.GetRow(1), {1, 0, 0}, kFloatTol));
    EXPECT_TRUE(PointNear(m.GetRow(2), {0, 0, 1}, kFloatTol));
    EXPECT_TRUE(PointNear(m.GetTrans(), {0, 0, 0}, 0.0f));
    EXPECT_TRUE(SameRotation(QuatFromMatrix(m), {0, 0, 0.70710678f, 0.70710678f}, 1e-6f));
}

namespace {

// Gauss-Jordan elimination one double at a time, as written in the textbook: the inverse the
// host's paired row operations must give bit for bit (each element is rounded by the same
// operations in the same order, so there is no tolerance).
cmatrix4 ScalarGaussJordanInverse(const cmatrix4& in) {
    double a[4][8];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a[i][j] = in.m[i][j];
            a[i][j + 4] = i == j ? 1.0 : 0.0;
        }
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
        if (std::fabs(a[pivot][c]) < 1e-12) return cmatrix4{};
        for (int j = 0; j < 8; ++j) std::swap(a[c][j], a[pivot][j]);
        double inv = 1.0 / a[c][c];
        for (int j = 0; j < 8; ++j) a[c][j] *= inv;
        for (int r = 0; r < 4; ++r) {
            double f = a[r][c];
            if (r == c || f == 0.0) continue;
            for (int j = 0; j < 8; ++j) a[r][j] -= f * a[c][j];
        }
    }
    cmatrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = static_cast<float>(a[i][j + 4]);
    return r;
}

}  // namespace

TEST(MathConventions, InverseGivesTheBitsOfScalarGaussJordanOnRandomTransforms) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    constexpr int kMatrices = 2000;
    for (int n = 0; n < kMatrices; ++n) {
        // Placements (rotation, scale, translation) as nodes carry them, some with a large
        // translation (the pivot then comes from the last row), and general matrices.
        cmatrix4 m = MatrixFromQuat(Normalize(cquat{unit(rng), unit(rng), unit(rng), unit(rng)}));
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) m.m[i][j] *= 1.0f + 0.5f * unit(rng);
        const float reach = n % 3 == 0 ? 100.0f : 2.0f;
        m.SetTrans({reach * unit(rng), reach * unit(rng), reach * unit(rng)});
        if (n % 5 == 0)
            for (int j = 0; j < 4; ++j) m.m[j][3] = unit(rng);
        const cmatrix4 fast = Inverse(m);
        const cmatrix4 scalar = ScalarGaussJordanInverse(m);
        ASSERT_EQ(std::memcmp(&fast, &scalar, sizeof fast), 0) << "matrix " << n;
    }
}

namespace {

template <class T>
bool SameBits(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

}  // namespace

// The library's straight-line and paired forms of the evaluation math round as the textbook
// loops do, on rotations of every quadrant (each branch of the matrix-to-quaternion choice),
// scaled and sheared rows, a zero row, the shortest-arc flip and the linear blend of near ends.
TEST(MathConventions, EvaluationMathGivesTheBitsOfTheTextbookForms) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    constexpr int kCases = 20000;
    for (int n = 0; n < kCases; ++n) {
        const cquat q{unit(rng), unit(rng), unit(rng), unit(rng)};
        const cquat unitQ = plain::Normalized(q);
        ASSERT_TRUE(SameBits(Normalize(q), unitQ)) << "case " << n;
        ASSERT_TRUE(SameBits(MatrixFromQuat(unitQ), plain::RotationMatrix(unitQ))) << "case " << n;

        cmatrix4 a = plain::RotationMatrix(unitQ);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) a.m[i][j] *= n % 2 ? 1.0f + 0.5f * unit(rng) : 1.0f;
        if (n % 97 == 0) a.SetRow(n % 3, {0, 0, 0});
        a.SetTrans({10 * unit(rng), 10 * unit(rng), 10 * unit(rng)});
        if (n % 7 == 0)
            for (int j = 0; j < 4; ++j) a.m[j][3] = unit(rng);
        ASSERT_TRUE(SameBits(QuatFromMatrix(a), plain::RotationOf(a))) << "case " << n;

        cmatrix4 b;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) b.m[i][j] = 5 * unit(rng);
        ASSERT_TRUE(SameBits(a * b, plain::Product(a, b))) << "case " << n;

        const cquat near = plain::Normalized({unitQ.x + 0.01f * unit(rng), unitQ.y, unitQ.z, unitQ.w});
        const cquat other = n % 3 == 0 ? near : plain::Normalized({unit(rng), unit(rng), unit(rng), unit(rng)});
        const float u = (unit(rng) + 1.0f) / 2.0f;
        ASSERT_TRUE(SameBits(Slerp(unitQ, other, u), plain::Slerp(unitQ, other, u))) << "case " << n;
    }
}

// A point through a placement, as every world write takes it into its parent's frame: the
// rows four columns at a time must round as the sums one coordinate at a time, also for far
// points, scaled rows and a general last column.
TEST(MathConventions, PointTimesMatrixGivesTheBitsOfTheTextbookSum) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    constexpr int kCases = 20000;
    for (int n = 0; n < kCases; ++n) {
        const cquat q = plain::Normalized({unit(rng), unit(rng), unit(rng), unit(rng)});
        cmatrix4 m = plain::RotationMatrix(q);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) m.m[i][j] *= 1.0f + 2.0f * unit(rng);
        const float reach = n % 2 ? 1000.0f : 1.0f;
        m.SetTrans({reach * unit(rng), reach * unit(rng), reach * unit(rng)});
        if (n % 7 == 0)
            for (int i = 0; i < 4; ++i) m.m[i][3] = unit(rng);
        const float z = n % 5 == 0 ? -0.0f : reach * unit(rng);
        const cpoint3 p{reach * unit(rng), reach * unit(rng), z};
        ASSERT_TRUE(SameBits(p * m, plain::PointTimes(p, m))) << "case " << n;
    }
}
