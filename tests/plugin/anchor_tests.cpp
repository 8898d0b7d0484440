// Foot and hand anchors: a limb re-solved on a notification brings its end back onto the
// anchor when it can reach it, keeps its bend when it cannot, and never breaks on the
// degenerate cases (anchor at the hip, directions exactly opposite or of no length).
#include <algorithm>

#include "Skeleton/Bip/BipAnchors.h"
#include "plugin_support.h"

namespace pt {
namespace {

constexpr int kNow = 0;  // frame the scene is posed at
// Floats of positions a few host units from the origin, carried through a handful of
// rotations: errors stay far below a thousandth of a unit.
constexpr float kExactTol = 1e-3f;
// A foot brought back onto its anchor on the default biped (height 8): thigh and calf are not
// of exactly equal length, so the bend is approximate by design; 0.02 units is a quarter of a
// percent of the height.
constexpr float kBipedReachTol = 0.02f;

cpoint3 Pos(cnode* n) { return n->GetPosition(kNow); }

// Angle in degrees between the two bones of a limb: 0 when straight.
float BendDeg(cnode* upper, cnode* middle, cnode* end) {
    const cpoint3 a = Normalize(Pos(middle) - Pos(upper));
    const cpoint3 b = Normalize(Pos(end) - Pos(middle));
    return std::acos(std::clamp(DotProd(a, b), -1.0f, 1.0f)) * 57.29578f;
}

void MoveRoot(const cpoint3& delta) {
    cnode* root = bipani.bones[kSlotRoot];
    root->SetPosition(kNow, Pos(root) + delta);
}

void AnchorHere(int k) {
    bipani.anchorOn[k] = 1;
    bipani.anchorPos[k] = Pos(bipani.bones[kAnchorLimbs[k].end]);
}

class Anchors : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        MakeBiped();
        ASSERT_EQ(Open(Node("Bip01 Pelvis")), 1);
        thigh = bipani.bones[kSlotRThigh];
        calf = bipani.bones[kSlotRCalf];
        foot = bipani.bones[kSlotRFoot];
    }
    cnode* thigh = nullptr;
    cnode* calf = nullptr;
    cnode* foot = nullptr;
};

TEST_F(Anchors, LoweredRootBendsTheKneeAndKeepsTheFootOnItsAnchor) {
    AnchorHere(0);
    const cpoint3 anchor = bipani.anchorPos[0];
    const float bendBefore = BendDeg(thigh, calf, foot);
    MoveRoot(MakePt3(0.0f, 0.0f, -0.6f));
    EXPECT_FALSE(PointNear(Pos(foot), anchor, kBipedReachTol));  // the move took it away
    bipani.Notify(QV_EVENT_SCENE_CHANGED, 0, 0, nullptr);
    EXPECT_TRUE(PointNear(Pos(foot), anchor, kBipedReachTol));
    EXPECT_GT(BendDeg(thigh, calf, foot), bendBefore + 5.0f);
}

TEST_F(Anchors, RaisedRootOutOfReachKeepsTheBendAndPointsTheLegAtTheAnchor) {
    AnchorHere(0);
    const cpoint3 anchor = bipani.anchorPos[0];
    const cquat kneeBefore = calf->GetRotation(kNow) * Inverse(thigh->GetRotation(kNow));
    MoveRoot(MakePt3(0.0f, 0.0f, 3.0f));
    bipani.Notify(QV_EVENT_SCENE_CHANGED, 0, 0, nullptr);
    const cquat kneeAfter = calf->GetRotation(kNow) * Inverse(thigh->GetRotation(kNow));
    EXPECT_TRUE(SameRotation(kneeAfter, kneeBefore, 1e-4f));
    const cpoint3 toFoot = Normalize(Pos(foot) - Pos(thigh));
    const cpoint3 toAnchor = Normalize(anchor - Pos(thigh));
    EXPECT_GT(DotProd(toFoot, toAnchor), 0.99999f);
    EXPECT_GT(Length(Pos(foot) - anchor), 1.0f);  // it cannot reach
}

TEST_F(Anchors, AnyEventResolvesAndNothingMovesWithoutAnchors) {
    const cquat thighBefore = thigh->GetRotation(kNow);
    MoveRoot(MakePt3(0.0f, 0.0f, -0.4f));
    bipani.Notify(QV_EVENT_SCENE_CHANGED, 0, 0, nullptr);
    EXPECT_TRUE(SameRotation(thigh->GetRotation(kNow), thighBefore, 1e-6f));

    MoveRoot(MakePt3(0.0f, 0.0f, 0.4f));
    AnchorHere(0);
    MoveRoot(MakePt3(0.0f, 0.0f, -0.4f));
    bipani.Notify(999, 0, 0, nullptr);  // an event the tool does not know
    EXPECT_TRUE(PointNear(Pos(foot), bipani.anchorPos[0], kBipedReachTol));
}

// A limb on its anchor is left alone, and solving a solved limb again writes nothing: no float
// drift and no sign flips, so undo and redo give back exactly what they saved.
TEST_F(Anchors, SettledLimbKeepsItsKeysBitForBit) {
    AnchorHere(0);
    const auto justAnchored = AllKeys();
    bipani.Notify(QV_EVENT_SCENE_CHANGED, 0, 0, nullptr);
    EXPECT_TRUE(SameKeys(AllKeys(), justAnchored));
    MoveRoot(MakePt3(0.0f, 0.0f, -0.6f));
    bipani.Notify(QV_EVENT_SCENE_CHANGED, 0, 0, nullptr);
    const auto solved = AllKeys();
    EXPECT_FALSE(SameKeys(solved, justAnchored));
    for (unsigned long event : {QV_EVENT_UNDO_BEGIN, QV_EVENT_UNDO_END, QV_EVENT_SCENE_CHANGED})
        bipani.Notify(event, 0, 0, nullptr);
    EXPECT_TRUE(SameKeys(AllKeys(), solved));
}

TEST_F(Anchors, LimbWithAMissingBoneIsNeverSolved) {
    Node("Bip01 L Hand")->DeleteThis();
    ASSERT_EQ(Open(Node("Bip01 Pelvis")), 1);
    ASSERT_EQ(AnchorLimbPresent(bipani, 3), 0);
    EXPECT_EQ(AnchorLimbPresent(bipani, 2), 1);
    cnode* upperArm = bipani.bones[kSlotLUpperArm];
    const cquat before = upperArm->GetRotation(kNow);
    bipani.anchorOn[3] = 1;
    bipani.anchorPos[3] = MakePt3(3.0f, 3.0f, 3.0f);
    bipani.Notify(QV_EVENT_SCENE_CHANGED, 0, 0, nullptr);
    EXPECT_TRUE(SameRotation(upperArm->GetRotation(kNow), before, 1e-6f));
}

TEST_F(Anchors, AnchorAtTheHipFoldsTheLegWithoutNaN) {
    bipani.anchorOn[0] = 1;
    bipani.anchorPos[0] = Pos(thigh);
    bipani.Notify(QV_EVENT_SCENE_CHANGED, 0, 0, nullptr);
    for (cnode* n : {thigh, calf, foot}) {
        EXPECT_TRUE(Finite(n->GetRotation(kNow))) << n->GetName();
        const cpoint3 p = Pos(n);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) << n->GetName();
    }
    // Folded by 180 degrees: the foot comes back towards the hip.
    EXPECT_GT(BendDeg(thigh, calf, foot), 150.0f);
}

// A bare bone with its parent-relative key, in the scene.
cnode* Bone(const char* name, cnode* parent, const cpoint3& pos, const cquat& rot = {}) {
    cnode* b = CreateNewBone();
    b->SetName(name);
    Interface::AddToScene(b, 0);
    if (parent) parent->Attach(b, 0);
    ckey k;
    k.pos = pos;
    k.rot = rot;
    b->anim.SetKeyAt(0, k, 0);
    return b;
}

using Aim = ToolScene;

// On a bone with a child one unit along its x axis: a quarter turn carries the x axis onto y,
// about the bone's own position; opposite directions turn half way round; directions of no
// length change nothing.
TEST_F(Aim, TurnsTheCurrentDirectionOntoTheTarget) {
    cnode* bone = Bone("Aimed", nullptr, {2.0f, -1.0f, 0.5f});
    cnode* tip = Bone("Tip", bone, {1.0f, 0.0f, 0.0f});
    auto tipDir = [&] { return Normalize(Pos(tip) - Pos(bone)); };
    const cpoint3 p = Pos(bone);
    EXPECT_EQ(AimBone(kNow, p + MakePt3(0, 3, 0), Pos(tip), bone), 1);
    EXPECT_TRUE(PointNear(tipDir(), MakePt3(0, 1, 0), kExactTol));
    EXPECT_TRUE(PointNear(Pos(bone), p, kExactTol));
    AimBone(kNow, p + MakePt3(0, -2, 0), Pos(tip), bone);
    EXPECT_TRUE(Finite(bone->GetRotation(kNow)));
    EXPECT_TRUE(PointNear(tipDir(), MakePt3(0, -1, 0), kExactTol));
    const cquat before = bone->GetRotation(kNow);
    AimBone(kNow, Pos(bone), Pos(tip), bone);                     // target at the bone itself
    AimBone(kNow, Pos(tip) + MakePt3(0, 1, 0), Pos(bone), bone);  // current at the bone
    EXPECT_TRUE(SameRotation(bone->GetRotation(kNow), before, 1e-6f));
}

using ChainedLegs = ToolScene;

// Right and left legs of equal bone lengths (2 units), the left thigh a child of the right foot:
// solving the left before the right would leave the left foot off its anchor.
TEST_F(ChainedLegs, RightFootIsSolvedBeforeTheLeft) {
    const cquat knee = QuatFromAngleAxis(25.0f, MakePt3(0, 0, 1));
    const cpoint3 along = MakePt3(2.0f, 0, 0);
    cnode* root = Bone("Bip01", nullptr, MakePt3(0, 0, 10));
    cnode* rThigh = Bone("Bip01 R Thigh", root, {}, QuatFromAngleAxis(80.0f, MakePt3(0, 1, 0)));
    cnode* rFoot = Bone("Bip01 R Foot", Bone("Bip01 R Calf", rThigh, along, knee), along);
    cnode* lThigh = Bone("Bip01 L Thigh", rFoot, {}, QuatFromAngleAxis(40.0f, MakePt3(1, 0, 0)));
    Bone("Bip01 L Foot", Bone("Bip01 L Calf", lThigh, along, knee), along);
    ASSERT_EQ(Open(root), 1);
    AnchorHere(0);
    AnchorHere(1);
    root->SetPosition(kNow, MakePt3(0.3f, -0.2f, 10.6f));
    bipani.Notify(QV_EVENT_SCENE_CHANGED, 0, 0, nullptr);
    EXPECT_TRUE(PointNear(Pos(bipani.bones[kSlotRFoot]), bipani.anchorPos[0], kExactTol));
    EXPECT_TRUE(PointNear(Pos(bipani.bones[kSlotLFoot]), bipani.anchorPos[1], kExactTol));
}

}  // namespace
}  // namespace pt
