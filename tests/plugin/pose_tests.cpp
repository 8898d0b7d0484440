// The default poses on bipeds of the scene: a rotation key at the current time on every bone a
// pose covers, positions and scales as the animation gives them there, the left hand mirrored,
// missing bones skipped, each pose one undo step.
#include "Skeleton/Bip/BipHand.h"
#include "Skeleton/Bip/BipPoseTables.h"
#include "plugin_support.h"

namespace pt {
namespace {

ckey KeyAt(cnode* n, int t) {
    ckey k;
    EXPECT_EQ(n->anim.GetKey(t, k), 1) << NameOf(n) << " has no key at " << t;
    return k;
}

bool SameQuat(const cquat& a, const cquat& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}

class Poses : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        MakeBiped();
        ASSERT_EQ(Open(Node("Bip01 R Forearm")), 1);
    }
};

// Keys at 0 and 20 that differ in position and scale: at 10 the pose keeps the halfway values.
TEST_F(Poses, BodyPoseKeysRotationsAtNowWithInterpolatedPositionsAndScales) {
    cnode* forearm = Node("Bip01 L Forearm");
    ckey late = KeyAt(forearm, 0);
    late.time = 20;
    late.pos.x += 2.0f;
    late.scale = {1.0f, 3.0f, 1.0f};
    forearm->anim.SetKey(late);
    const ckey first = KeyAt(forearm, 0);
    const int rootKeys = bipani.bones[kSlotRoot]->anim.NumKeys();
    Interface::SetAnimTime(10);
    bipani.Pose(kBodyPoseSkin, 1);
    const ckey posed = KeyAt(forearm, 10);
    EXPECT_TRUE(PointNear(posed.pos, (first.pos + late.pos) * 0.5f, 1e-5f));
    EXPECT_TRUE(PointNear(posed.scale, {1.0f, 2.0f, 1.0f}, 1e-6f));
    for (int s = 1; s < kNumSlots; ++s) {  // every covered bone, the table's row as it stands
        if (!bipani.bones[s]) continue;
        EXPECT_TRUE(SameQuat(KeyAt(bipani.bones[s], 10).rot, bodyPoseTables[kBodyPoseSkin][s].rot))
            << FullName(s);
    }
    EXPECT_EQ(bipani.bones[kSlotRoot]->anim.NumKeys(), rootKeys)
        << "the panel's pose keyed the root";
    EXPECT_EQ(NewestLevelName(), "Biped Pose");
}

// The import's call includes the root; "Idle" at a key time replaces the key there.
TEST_F(Poses, BodyPoseWithTheRootKeysTheRootToo) {
    Interface::SetAnimTime(5);
    bipani.Pose(kBodyPoseIdle, 0);
    EXPECT_TRUE(SameQuat(KeyAt(bipani.bones[kSlotRoot], 5).rot,
                         bodyPoseTables[kBodyPoseIdle][kSlotRoot].rot));
    bipani.Pose(kBodyPoseIdle, 0);
    EXPECT_EQ(bipani.bones[kSlotPelvis]->anim.NumKeys(), 2);  // frame 0 and 5, no duplicate
}

TEST_F(Poses, HandPoseGivesTheLeftHandTheRightRowsMirrored) {
    Interface::SetAnimTime(3);
    constexpr int kFist = 3;
    ASSERT_EQ(bipani.PoseHand(kHandBoth, kFist), 1);
    for (const ckey& row : handPoseTables[kFist]) {
        const cquat r = KeyAt(bipani.bones[kSlotRHand + row.time], 3).rot;
        const cquat l = KeyAt(bipani.bones[kSlotLHand + row.time], 3).rot;
        EXPECT_TRUE(SameQuat(r, row.rot)) << "row " << row.time;
        EXPECT_TRUE(SameQuat(l, {-row.rot.x, -row.rot.y, row.rot.z, row.rot.w}))
            << "row " << row.time;
    }
    EXPECT_EQ(NewestLevelName(), "Biped Hand(s) Pose");
    // One hand only leaves the other without a key at the time.
    Interface::SetAnimTime(6);
    ASSERT_EQ(bipani.PoseHand(kHandLeft, kFist), 1);
    ckey none;
    EXPECT_EQ(Node("Bip01 R Finger12")->anim.GetKey(6, none), 0);
    EXPECT_EQ(Node("Bip01 L Finger12")->anim.GetKey(6, none), 1);
}

TEST_F(Poses, HandPoseOnASmallerHandSkipsTheFingersAndLinksItLacks) {
    ResetTool();
    qv::ResetScene();
    ApplyCounts({1, 2, 2, 1, 1});  // two fingers of two links
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01 R Hand")), 1);
    Interface::SetAnimTime(4);
    ASSERT_EQ(bipani.PoseHand(kHandBoth, 3), 1);
    int keyed = 0;
    for (int s = kSlotRHand; s <= kSlotLast; ++s) {
        if (s >= kSlotLClavicle && s < kSlotLHand) continue;
        ckey k;
        if (bipani.bones[s] && bipani.bones[s]->anim.GetKey(4, k)) ++keyed;
    }
    EXPECT_EQ(keyed, 2 * (1 + 2 * 2));  // each hand and its four finger links
}

TEST_F(Poses, CancelledHandOrUnknownPoseChangesNothing) {
    const auto before = AllKeys();
    const int levels = theUndo.NumLevels();
    EXPECT_EQ(bipani.PoseHand(kHandNone, 3), 0);
    EXPECT_EQ(bipani.PoseHand(kHandRight, kNumHandPoses), 0);
    EXPECT_EQ(bipani.PoseHand(kHandRight, -1), 0);
    bipani.Pose(2, 1);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    EXPECT_EQ(theUndo.NumLevels(), levels);
}

// With nothing bound every command keeps away from the scene and the undo history.
TEST_F(Poses, CommandsWithoutABoundBipedDoNothing) {
    ResetTool();
    const int levels = theUndo.NumLevels();
    const int mask[kNumSlots] = {1};
    bipani.Pose(kBodyPoseSkin, 1);
    EXPECT_EQ(bipani.PoseHand(kHandBoth, 3), 0);
    bipani.CopyPosture();
    bipani.PastePosture(mask, 1, 1, 1);
    bipani.SetPosture(mask);
    bipani.SymBones(0, kSlotRHand, kSlotLHand, 1, 1, 1);
    bipani.SwapBoneKeys(kSlotLHand, kSlotRHand);
    bipani.Align(kSlotRFoot, 5, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(theUndo.NumLevels(), levels);
}

}  // namespace
}  // namespace pt
