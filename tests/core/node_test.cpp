// Nodes: world evaluation through the hierarchy, world writes under the recording rule,
// attaching with kept placement, disposal; picking in a view; skins following their bones;
// assertion reports.
#include "core_test_support.h"

namespace {

const cpoint3 kX{1, 0, 0}, kZ{0, 0, 1};

void SetLocal(cnode* n, int t, cpoint3 pos, cquat rot = {}, cpoint3 scale = {1, 1, 1}) {
    ckey k;
    k.time = t;
    k.pos = pos;
    k.rot = rot;
    k.scale = scale;
    n->anim.SetKey(k);
}

cskinvertex Vertex(std::initializer_list<cskinweight> weights) {
    cskinvertex v;
    for (const cskinweight& w : weights) v.weights[v.numWeights++] = w;
    return v;
}

ckey KeyAtIndex(cnode* n, int i) {
    ckey k;
    EXPECT_TRUE(n->anim.GetKeyAt(i, k));
    return k;
}

using Skin = SceneTest;
using HitTest = SceneTest;
using NodeHierarchy = SceneTest;
using NodeWrites = SceneTest;

// A front view: scene x to the right, scene z up, 10 pixels per host unit, the scene origin
// at window (100, 100); y is depth.
class FrontView : public CGLWindow {
public:
    static constexpr float kPixelsPerUnit = 10.0f;
    static constexpr float kOrigin = 100.0f;
    void Project(const cpoint3* in, cpoint3* out, int n) override {
        for (int i = 0; i < n; ++i) Project(out[i], in[i].x, in[i].y, in[i].z);
    }
    void Project(cpoint3& out, float x, float y, float z) override {
        out = {kOrigin + x * kPixelsPerUnit, kOrigin - z * kPixelsPerUnit, 0.5f + y * 0.001f};
    }
    void Begin2D() override {}
    void End2D() override {}
    int Width() const override { return 200; }
    int Height() const override { return 200; }
};

}  // namespace

TEST_F(NodeHierarchy, WorldIsLocalThenParentThreeLevelsDeep) {
    cbone* root = AddBone("root");
    cbone* mid = AddBone("mid", root);
    cbone* tip = AddBone("tip", mid);
    SetLocal(root, 0, {1, 0, 0}, QuatFromAngleAxis(90, kZ));
    SetLocal(mid, 0, {2, 0, 0}, QuatFromAngleAxis(90, kX));
    SetLocal(tip, 0, {0, 3, 0});
    // mid: (2,0,0) turned by the root's z quarter → (0,-2,0), + (1,0,0).
    EXPECT_TRUE(PointNear(mid->GetPosition(0), {1, -2, 0}, kFloatTol));
    // tip: (0,3,0) under mid's x quarter → (0,0,-3), root's z quarter keeps z → (1,-2,-3).
    EXPECT_TRUE(PointNear(tip->GetPosition(0), {1, -2, -3}, kFloatTol));
    cquat midWorld = QuatFromAngleAxis(90, kX) * QuatFromAngleAxis(90, kZ);
    EXPECT_TRUE(SameRotation(mid->GetRotation(0), midWorld, 1e-6f));
    EXPECT_TRUE(SameRotation(tip->GetRotation(0), midWorld, 1e-6f));
    EXPECT_TRUE(PointNear(tip->GetNodeTM(0).GetTrans(), tip->GetPosition(0), 0.0f));
    // Evaluation follows a later change of an ancestor's key.
    SetLocal(root, 0, {1, 5, 0}, QuatFromAngleAxis(90, kZ));
    EXPECT_TRUE(PointNear(mid->GetPosition(0), {1, 3, 0}, kFloatTol));
}

TEST_F(NodeHierarchy, ParentScaleMovesChildrenButStaysOutOfRotation) {
    cbone* root = AddBone("root");
    cbone* child = AddBone("child", root);
    SetLocal(root, 0, {}, QuatFromAngleAxis(30, kZ), {2, 2, 2});
    SetLocal(child, 0, {1, 0, 0});
    EXPECT_NEAR(Length(child->GetPosition(0)), 2.0f, kFloatTol);
    EXPECT_TRUE(SameRotation(child->GetRotation(0), QuatFromAngleAxis(30, kZ), 1e-6f));
    EXPECT_TRUE(PointNear(child->GetScale(0), {1, 1, 1}, 0.0f));
    EXPECT_TRUE(PointNear(root->GetScale(0), {2, 2, 2}, 0.0f));
}

TEST_F(NodeWrites, WorldValuesAreStoredParentRelative) {
    Interface::SetAnimOn(1);
    cbone* root = AddBone("root");
    cbone* child = AddBone("child", root);
    SetLocal(root, 0, {10, 0, 0}, QuatFromAngleAxis(90, kZ));
    child->SetPosition(0, {10, -4, 0});
    EXPECT_TRUE(PointNear(KeyAtIndex(child, 0).pos, {4, 0, 0}, kFloatTol));  // (4,0,0) turned
    cquat world = QuatFromAngleAxis(25, {1, 1, 0});
    child->SetRotation(0, world);
    EXPECT_TRUE(SameRotation(child->GetRotation(0), world, 1e-6f));
    EXPECT_TRUE(SameRotation(KeyAtIndex(child, 0).rot, world * Inverse(QuatFromAngleAxis(90, kZ)),
                             1e-6f));
    EXPECT_TRUE(PointNear(child->GetPosition(0), {10, -4, 0}, kFloatTol));
}

// Recording on: a key at the time. Off: the key at the time alone changes, or, with no key
// there, every key gets the change.
TEST_F(NodeWrites, RecordingRule) {
    cbone* n = AddBone("n");
    SetLocal(n, 10, {10, 0, 0});
    n->SetPosition(10, {10, 1, 0});
    ASSERT_EQ(n->anim.NumKeys(), 2);
    EXPECT_TRUE(PointNear(KeyAtIndex(n, 0).pos, {0, 0, 0}, 0.0f));
    EXPECT_TRUE(PointNear(KeyAtIndex(n, 1).pos, {10, 1, 0}, 0.0f));

    n->SetPosition(5, {5, 3.5f, 0});  // interpolated (5,0.5,0) → delta (0,3,0) on every key
    ASSERT_EQ(n->anim.NumKeys(), 2);
    EXPECT_TRUE(PointNear(KeyAtIndex(n, 0).pos, {0, 3, 0}, kFloatTol));
    EXPECT_TRUE(PointNear(KeyAtIndex(n, 1).pos, {10, 4, 0}, kFloatTol));
    cquat turn = QuatFromAngleAxis(40, kZ);
    n->SetRotation(5, turn);
    EXPECT_TRUE(SameRotation(KeyAtIndex(n, 0).rot, turn, 1e-6f));
    EXPECT_TRUE(SameRotation(KeyAtIndex(n, 1).rot, turn, 1e-6f));
    n->SetScale(5, {2, 1, 1});
    EXPECT_TRUE(PointNear(KeyAtIndex(n, 1).scale, {2, 1, 1}, kFloatTol));
    EXPECT_EQ(n->anim.NumKeys(), 2);

    Interface::SetAnimOn(1);
    n->SetPosition(5, {0, 7, 0});
    ASSERT_EQ(n->anim.NumKeys(), 3);
    EXPECT_EQ(KeyAtIndex(n, 1).time, 5);
    EXPECT_TRUE(PointNear(KeyAtIndex(n, 1).pos, {0, 7, 0}, 0.0f));
    EXPECT_TRUE(PointNear(KeyAtIndex(n, 2).pos, {10, 4, 0}, kFloatTol));
    n->SnapKey(7);  // a key holding the interpolated value
    EXPECT_TRUE(PointNear(KeyAtIndex(n, 2).pos, {4, 5.8f, 0}, kFloatTol));
    n->SnapKey(7);
    EXPECT_EQ(n->anim.NumKeys(), 4);
}

TEST_F(NodeHierarchy, AttachAndDetachKeepWorldPlacement) {
    cbone* parent = AddBone("parent");
    SetLocal(parent, 0, {3, 4, 5}, QuatFromAngleAxis(60, {1, 2, 3}));
    cbone* n = AddBone("n");
    SetLocal(n, 0, {1, 0, 0}, QuatFromAngleAxis(20, kX));
    SetLocal(n, 20, {0, 6, 0}, QuatFromAngleAxis(80, kZ));
    cpoint3 p0 = n->GetPosition(0), p20 = n->GetPosition(20);
    cquat r0 = n->GetRotation(0);
    parent->Attach(n, 1);
    EXPECT_EQ(n->GetParent(), parent);
    EXPECT_TRUE(PointNear(n->GetPosition(0), p0, kFloatTol));
    EXPECT_TRUE(PointNear(n->GetPosition(20), p20, kFloatTol));  // the parent does not move
    EXPECT_TRUE(SameRotation(n->GetRotation(0), r0, 1e-6f));
    EXPECT_EQ(n->anim.NumKeys(), 2);
    parent->Detach(n, 1);
    EXPECT_EQ(n->GetParent(), nullptr);
    EXPECT_EQ(parent->NumChildren(), 0);
    EXPECT_TRUE(PointNear(n->GetPosition(20), p20, kFloatTol));
    EXPECT_TRUE(SameRotation(n->GetRotation(0), r0, 1e-6f));
    cbone* m = AddBone("m", nullptr, {1, 0, 0});
    parent->Attach(m, 0);  // without keeping: moves with the parent
    const cpoint3 expected = parent->GetPosition(0) + kX * parent->GetRotation(0);
    EXPECT_TRUE(PointNear(m->GetPosition(0), expected, kFloatTol));
}

TEST_F(NodeHierarchy, ReparentingMovesTheChildAndRefusesCycles) {
    cbone* a = AddBone("a");
    cbone* b = AddBone("b");
    cbone* n = AddBone("n", a);
    b->Attach(n, 1);
    EXPECT_EQ(a->NumChildren(), 0);
    ASSERT_EQ(b->NumChildren(), 1);
    EXPECT_EQ(b->GetChild(0), n);
    EXPECT_EQ(b->GetChild(1), nullptr);
    n->Attach(b, 1);  // b is n's parent: would make a loop
    EXPECT_EQ(b->GetParent(), nullptr);
    EXPECT_EQ(n->NumChildren(), 0);
    n->Attach(n, 1);
    EXPECT_EQ(n->GetParent(), b);
}

TEST_F(NodeHierarchy, DeleteThisLeavesNoDanglingPointers) {
    cbone* parent = AddBone("parent");
    SetLocal(parent, 0, {0, 0, 5});
    cbone* n = AddBone("n", parent, {1, 0, 0});
    cbone* child = AddBone("child", n, {0, 2, 0});
    Interface::Select(n);
    Interface::DeselectAll();  // this level remembers n as the selection before it
    Interface::Select(n);
    cpoint3 childWorld = child->GetPosition(0);
    n->DeleteThis();
    EXPECT_EQ(parent->NumChildren(), 0);
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_TRUE(PointNear(child->GetPosition(0), childWorld, kFloatTol));
    EXPECT_EQ(Interface::NumNodes(), 2);
    EXPECT_EQ(Interface::FindNode("n"), nullptr);
    EXPECT_EQ(Interface::NumSelNodes(), 0);
    // Undoing the levels that remember n does not bring the disposed node back.
    EXPECT_EQ(theUndo.Undo(), 1);
    EXPECT_EQ(theUndo.Undo(), 1);
    EXPECT_EQ(Interface::NumSelNodes(), 0);
    EXPECT_EQ(theUndo.Redo(), 1);
    EXPECT_EQ(Interface::NumSelNodes(), 0);
}

TEST_F(NodeHierarchy, FlagsKeepTheSelectedBitInStepWithTheSelection) {
    cbone* n = AddBone("n");
    n->SetFlags(QV_FLAG_SELECTED | QV_FLAG_HIDDEN);
    EXPECT_EQ(n->GetFlags(), unsigned(QV_FLAG_HIDDEN));
    Interface::Select(n);
    n->SetFlags(0);
    EXPECT_EQ(n->GetFlags(), unsigned(QV_FLAG_SELECTED));
    Interface::DeselectAll();
    EXPECT_EQ(n->GetFlags(), 0u);
}

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

TEST_F(HitTest, PicksTheNearestBoneSegmentWithinTheRadius) {
    FrontView view;
    cbone* thigh = AddBone("thigh", nullptr, {0, 0, 10});
    cbone* calf = AddBone("calf", thigh, {0, 0, -5});  // segment (100,0)..(100,50) in window
    cbone* other = AddBone("other", nullptr, {3, 0, 10});  // end bone: stub to x = 3.2
    HitTestTool tool;
    tool.radius = 4;
    HitTestRes res;
    ASSERT_TRUE(Interface::HitTestObjects(0, &view, 103, 25, tool, nullptr, &res));
    EXPECT_EQ(res.node, thigh);
    EXPECT_NEAR(res.distance, 3.0f, kFloatTol);
    // Halfway between the thigh (x 100) and the other bone's stub (x 130..132): nothing.
    EXPECT_FALSE(Interface::HitTestObjects(0, &view, 115, 0, tool, nullptr, &res));
    ASSERT_TRUE(Interface::HitTestObjects(0, &view, 131, 2, tool, nullptr, &res));
    EXPECT_EQ(res.node, other);
    // The calf is an end bone too: its stub runs from (100,50) along x.
    ASSERT_TRUE(Interface::HitTestObjects(0, &view, 101, 52, tool, nullptr, &res));
    EXPECT_EQ(res.node, calf);
    // Neither excluded nor hidden nodes are picked.
    cbooleanarray exclude(3);
    exclude.Set(0, true);
    EXPECT_FALSE(Interface::HitTestObjects(0, &view, 101, 25, tool, &exclude, &res));
    thigh->SetFlags(QV_FLAG_HIDDEN);
    EXPECT_FALSE(Interface::HitTestObjects(0, &view, 101, 25, tool, nullptr, &res));
}
