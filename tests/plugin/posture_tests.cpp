// The posture clipboard on a biped of the scene: copied at one frame and pasted at another,
// the root's position on the chosen components only, the mirrored paste carrying one side's
// rotations reflected (-x, -y, z, w) to the other.
#include "Skeleton/Bip/BipPosture.h"
#include "plugin_support.h"

namespace pt {
namespace {

constexpr float kKeyTol = 1e-5f;  // a key copied through one interpolation at a key time

std::vector<int> AllBones() { return std::vector<int>(kNumSlots, 1); }

class Posture : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        postureValid = 0;
        MakeBiped();
        ASSERT_EQ(Open(Node("Bip01 R Forearm")), 1);
    }
    // A key at t on the slot's bone turning it by deg about the axis, on top of its rest key.
    void Bend(int slot, int t, float deg, cpoint3 axis = {0.0f, 0.0f, 1.0f}) {
        cnode* b = bipani.bones[slot];
        ckey k;
        b->anim.GetInterpolateKey(t, k);
        k.time = t;
        k.rot = QuatFromAngleAxis(deg, axis) * k.rot;
        b->anim.SetKey(k);
    }
    ckey KeyAt(int slot, int t) {
        ckey k;
        EXPECT_EQ(bipani.bones[slot]->anim.GetKey(t, k), 1) << FullName(slot) << " at " << t;
        return k;
    }
};

TEST_F(Posture, CopyAtOneFramePastesTheSameRotationsAndRootPlacementAtAnother) {
    for (int s : {kSlotRForearm, kSlotLThigh, kSlotSpine, kSlotHead}) Bend(s, 10, 30.0f + s);
    cnode* root = bipani.bones[kSlotRoot];
    Interface::SetAnimTime(10);
    Interface::SetAnimOn(1);
    root->SetPosition(10, {1.0f, 2.0f, 3.0f});
    root->SetRotation(10, QuatFromAngleAxis(40.0f, {0.0f, 0.0f, 1.0f}));
    Interface::SetAnimOn(0);
    bipani.CopyPosture();
    ASSERT_EQ(postureValid, 1);
    Interface::SetAnimTime(20);
    const auto mask = AllBones();
    bipani.PastePosture(mask.data(), 1, 1, 1);
    EXPECT_EQ(Interface::IsAnimOn(), 0) << "the animate mode was not put back";
    for (int s = 1; s < kNumSlots; ++s) {
        if (!bipani.bones[s]) continue;
        ckey copied;
        bipani.bones[s]->anim.GetInterpolateKey(10, copied);
        EXPECT_TRUE(SameRotation(KeyAt(s, 20).rot, copied.rot, kKeyTol)) << FullName(s);
    }
    EXPECT_TRUE(PointNear(root->GetPosition(20), root->GetPosition(10), kKeyTol));
    EXPECT_TRUE(SameRotation(root->GetRotation(20), root->GetRotation(10), kKeyTol));
    EXPECT_EQ(NewestLevelName(), "Biped Paste Posture");
}

// Y only moves the root along y; with no flag only its rotation is pasted.
TEST_F(Posture, RootPositionIsPastedOnTheChosenComponentsOnly) {
    cnode* root = bipani.bones[kSlotRoot];
    const cpoint3 start = root->GetPosition(0);
    bipani.CopyPosture();
    Interface::SetAnimOn(1);
    Interface::SetAnimTime(15);
    root->SetPosition(15, start + cpoint3{2.0f, 3.0f, 4.0f});
    Interface::SetAnimOn(0);
    const auto mask = AllBones();
    bipani.PastePosture(mask.data(), 0, 1, 0);
    EXPECT_TRUE(PointNear(root->GetPosition(15), start + cpoint3{2.0f, 0.0f, 4.0f}, kKeyTol));
    bipani.PastePosture(mask.data(), 0, 0, 0);
    EXPECT_TRUE(PointNear(root->GetPosition(15), start + cpoint3{2.0f, 0.0f, 4.0f}, kKeyTol));
}

// A bent right forearm and straight left arm become a bent left forearm and straight right arm.
TEST_F(Posture, PasteMirroredCarriesTheRightArmReflectedToTheLeft) {
    Bend(kSlotRForearm, 0, 50.0f);
    const cquat bent = KeyAt(kSlotRForearm, 0).rot;
    const cquat straightLeft = KeyAt(kSlotLForearm, 0).rot;
    bipani.CopyPosture();
    Interface::SetAnimTime(8);
    const auto mask = AllBones();
    bipani.PastePostureMirrored(mask.data(), 1, 1, 1);
    EXPECT_TRUE(
        SameRotation(KeyAt(kSlotLForearm, 8).rot, {-bent.x, -bent.y, bent.z, bent.w}, 0.0f));
    EXPECT_TRUE(SameRotation(KeyAt(kSlotRForearm, 8).rot,
                             {-straightLeft.x, -straightLeft.y, straightLeft.z, straightLeft.w},
                             0.0f));
    EXPECT_EQ(NewestLevelName(), "Biped Paste Posture Mirrored");
}

// The default biped is its own mirror image on every bone but the root, whose reflection turns
// it about z: the limb reflection, the pelvis reference and the centre reflections agree with
// the builder's two sides.
TEST_F(Posture, MirroredPasteOfTheRestPoseIsTheRestPoseBelowTheRoot) {
    constexpr float kRestTol = 2e-3f;  // the builder's tables carry five-digit residues
    const auto rest = AllKeys();
    bipani.CopyPosture();
    Interface::SetAnimTime(6);
    const auto mask = AllBones();
    bipani.PastePostureMirrored(mask.data(), 1, 1, 1);
    for (int s = 1; s < kNumSlots; ++s) {
        if (!bipani.bones[s]) continue;
        EXPECT_TRUE(SameRotation(KeyAt(s, 6).rot, rest[s][0].rot, kRestTol)) << FullName(s);
    }
}

TEST_F(Posture, MirroredPasteOfTheLeftArmGroupsOnlyLeavesTheRightArm) {
    Bend(kSlotRUpperArm, 0, 35.0f, {1.0f, 0.0f, 0.0f});
    bipani.CopyPosture();
    const auto rightBefore = bipani.bones[kSlotRUpperArm]->anim.Keys();
    Interface::SetAnimTime(4);
    std::vector<int> mask(kNumSlots, 0);
    for (int s = kSlotLClavicle; s <= kSlotLast; ++s) mask[s] = 1;
    bipani.PastePostureMirrored(mask.data(), 1, 1, 1);
    const cquat r = KeyAt(kSlotRUpperArm, 0).rot;
    EXPECT_TRUE(SameRotation(KeyAt(kSlotLUpperArm, 4).rot, {-r.x, -r.y, r.z, r.w}, 0.0f));
    EXPECT_TRUE(SameKeys(bipani.bones[kSlotRUpperArm]->anim.Keys(), rightBefore));
    ckey none;
    EXPECT_EQ(bipani.bones[kSlotRoot]->anim.GetKey(4, none), 0);
}

// Nothing copied, or the chosen bones missing on this biped: nothing changes.
TEST_F(Posture, PasteWithNothingCopiedOrMissingBonesChangesNothing) {
    const auto before = AllKeys();
    const int levels = theUndo.NumLevels();
    const auto mask = AllBones();
    bipani.PastePosture(mask.data(), 1, 1, 1);
    bipani.PastePostureMirrored(mask.data(), 1, 1, 1);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    EXPECT_EQ(theUndo.NumLevels(), levels);
    // A one-finger biped takes a five-finger posture: the fingers it lacks are skipped.
    bipani.CopyPosture();
    ResetTool();
    ApplyCounts({1, 1, 1, 1, 1});
    MakeBiped({4.0f, 0.0f, 0.0f});
    ASSERT_EQ(Open(Node("Bip02 R Hand")), 1);
    Interface::SetAnimTime(3);
    bipani.PastePosture(mask.data(), 0, 0, 0);
    ckey k;
    EXPECT_EQ(Node("Bip02 R Finger0")->anim.GetKey(3, k), 1);
    EXPECT_EQ(Node("Bip02 R Finger1"), nullptr);
}

// "Set" keys the chosen bones where they stand: no visible change, one key more.
TEST_F(Posture, SetKeysTheChosenBonesWhereTheyStand) {
    Bend(kSlotLCalf, 20, 40.0f);
    Interface::SetAnimTime(10);
    const cquat between = bipani.bones[kSlotLCalf]->GetRotation(10);
    std::vector<int> mask(kNumSlots, 0);
    mask[kSlotLCalf] = 1;
    bipani.SetPosture(mask.data());
    EXPECT_TRUE(SameRotation(bipani.bones[kSlotLCalf]->GetRotation(10), between, kKeyTol));
    EXPECT_EQ(bipani.bones[kSlotLCalf]->anim.NumKeys(), 3);
    EXPECT_EQ(bipani.bones[kSlotRCalf]->anim.NumKeys(), 1);
    EXPECT_EQ(NewestLevelName(), "Biped Set Posture");
}

}  // namespace
}  // namespace pt
