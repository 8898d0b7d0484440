// Skin deformation by weighted bones, and the assertion reporter.
#include "core_test_support.h"

namespace {

using Skin = SceneTest;

cskinvertex Vertex(std::initializer_list<cskinweight> weights) {
    cskinvertex v;
    for (const cskinweight& w : weights) v.weights[v.numWeights++] = w;
    return v;
}

}  // namespace

TEST_F(Skin, VerticesFollowTheWeightedSumOfTheirBones) {
    cbone* a = AddBone("a", nullptr, {10, 0, 0});
    cbone* b = AddBone("b", nullptr, {0, 10, 0});
    cskin skin;
    EXPECT_EQ(skin.GetTypeID(), QV_TYPE_SKIN);
    skin.verts.resize(2);
    skin.numVerts = 2;
    ASSERT_TRUE(skin.SetVert(0, Vertex({{1.0f, {0, 0, 1}, a}})));
    ASSERT_TRUE(skin.SetVert(1, Vertex({{0.5f, {0, 0, 0}, a}, {0.5f, {0, 0, 0}, b}})));
    EXPECT_FALSE(skin.SetVert(2, Vertex({})));
    // Turn a a quarter about x at frame 0: its offset (0,0,1) goes to row 2 of M,
    // (2(xz - wy), 2(yz + wx), 1 - 2(x² + y²)) = (0, 1, 0).
    ckey k;
    a->anim.GetKey(0, k);
    k.rot = QuatFromAngleAxis(90, {1, 0, 0});
    a->anim.SetKey(k);
    skin.UpdateDeformers(0);
    cskinvertex v;
    ASSERT_TRUE(skin.GetVert(0, v));
    EXPECT_TRUE(PointNear(v.pos, {10, 1, 0}, kFloatTol));
    ASSERT_TRUE(skin.GetVert(1, v));
    EXPECT_TRUE(PointNear(v.pos, {5, 5, 0}, kFloatTol));
    EXPECT_FALSE(skin.GetVert(-1, v));
}

TEST(AssertionReports, PrintTextSourceAndLineAndCount) {
    int before = NumAssertsReported();
    testing::internal::CaptureStderr();
    MyAssertFailedLine("mn", "Skeleton/BipUndo", 42);
    EXPECT_EQ(array_assert(3, 3, "Skeleton/BipUndo", 7), 0);
    EXPECT_EQ(array_assert(2, 3, "Skeleton/BipUndo", 8), 1);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err,
              "assertion failed: mn (Skeleton/BipUndo:42)\n"
              "assertion failed: index out of range (Skeleton/BipUndo:7)\n");
    EXPECT_EQ(NumAssertsReported(), before + 2);
}
