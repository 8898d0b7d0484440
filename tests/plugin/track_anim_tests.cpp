// "Transform" of the Animation group: a move or turn of the selected bone at the current time is
// carried over every key of its track; turning the root also swings its path about its present
// position. One undo level of the tool's own covers the drag.
#include "track_fixture.h"

namespace tracktest {
namespace {

constexpr int kNow = 10;  // frames; the root has a key here

const cquat kQuarterZ{0.0f, 0.0f, 0.70710678f, 0.70710678f};  // 90 degrees about +z
const cquat kStepZ{0.0f, 0.0f, 0.25881905f, 0.96592583f};     // 30 degrees about +z
const cquat kTiltX{0.13052619f, 0.0f, 0.0f, 0.99144486f};     // 15 degrees about +x
const cquat kTurnZ{0.0f, 0.0f, 0.08715574f, 0.99619470f};     // 10 degrees about +z

ckey Key(int time, cpoint3 pos, cquat rot) {
    ckey k;
    k.time = time;
    k.pos = pos;
    k.rot = rot;
    return k;
}

class WholeAnimation : public TrackedBiped {
protected:
    void SetUp() override {
        TrackedBiped::SetUp();
        root_ = Interface::FindNode("Bip01");
        ASSERT_NE(root_, nullptr);
        ASSERT_EQ(root_->GetParent(), nullptr);  // root keys are world values
        root_->anim.Clear();
        root_->anim.SetKey(Key(0, {1, 2, 3}, kTurnZ));
        root_->anim.SetKey(Key(kNow, {4, 2, 3}, kTiltX));
        root_->anim.SetKey(Key(20, {6, 5, 3}, cquat{}));
        root_->UpdateTimeIdle();
        Interface::SetAnimTime(kNow);
        BindTool("Bip01", kSlotRoot);
        bipani.animTransform = 1;
    }
    void TearDown() override {
        Interface::SetAnimOn(0);
        TrackedBiped::TearDown();
    }
    ckey RootKey(int i) const {
        ckey k;
        EXPECT_EQ(root_->anim.GetKeyAt(i, k), 1) << "key " << i;
        return k;
    }
    cnode* root_ = nullptr;
};

TEST_F(WholeAnimation, MoveShiftsEveryKeyOfTheRoot) {
    MoveDrag({2.5f, 0.0f, 0.0f}, 4);
    ASSERT_EQ(root_->anim.NumKeys(), 3);
    EXPECT_POINT_NEAR(RootKey(0).pos, (cpoint3{11, 2, 3}), kPosTol);
    EXPECT_POINT_NEAR(RootKey(2).pos, (cpoint3{16, 5, 3}), kPosTol);
    // Four host steps of 2.5 land on 14 exactly; the key at now is the dragged position.
    EXPECT_EQ(RootKey(1).pos, (cpoint3{14, 2, 3}));
    EXPECT_SAME_ROTATION(RootKey(0).rot, kTurnZ, kRotTol);
    EXPECT_SAME_ROTATION(RootKey(1).rot, kTiltX, kRotTol);
    EXPECT_SAME_ROTATION(RootKey(2).rot, cquat{}, kRotTol);
}

TEST_F(WholeAnimation, MoveLeavesTheOtherBonesKeys) {
    const auto before = AllKeys();
    MoveDrag({0.0f, 3.0f, 0.0f}, 2);
    const auto after = AllKeys();
    for (int s = 1; s < kNumSlots; ++s) EXPECT_TRUE(SameKeys(before[s], after[s])) << "slot " << s;
}

// The step turns every key's rotation by the same world change and swings every position
// about the root's position now, (4, 2, 3). The quarter turn about +z takes +x to -y and
// +y to +x.
TEST_F(WholeAnimation, RotateTurnsEveryKeyAndSwingsThePath) {
    RotateDrag(kStepZ, 3);
    ASSERT_EQ(root_->anim.NumKeys(), 3);
    EXPECT_POINT_NEAR(RootKey(0).pos, (cpoint3{4, 5, 3}), kPosTol);  // (-3, 0, 0) → (0, 3, 0)
    EXPECT_POINT_NEAR(RootKey(1).pos, (cpoint3{4, 2, 3}), kPosTol);
    EXPECT_POINT_NEAR(RootKey(2).pos, (cpoint3{7, 0, 3}), kPosTol);  // (2, 3, 0) → (3, -2, 0)
    EXPECT_SAME_ROTATION(RootKey(2).rot, kQuarterZ, kRotTol);
    EXPECT_SAME_ROTATION(RootKey(0).rot, kTurnZ * kQuarterZ, kRotTol);
    EXPECT_SAME_ROTATION(RootKey(1).rot, kTiltX * kQuarterZ, kRotTol);
}

// A bone other than the root turns its keys but keeps its path.
TEST_F(WholeAnimation, RotatingThePelvisTurnsItsKeysOnly) {
    cnode* pelvis = Bone(kSlotPelvis);
    ckey first;
    ASSERT_EQ(pelvis->anim.GetKeyAt(0, first), 1);
    for (int time : {0, kNow, 20}) {
        first.time = time;
        pelvis->anim.SetKey(first);
    }
    pelvis->UpdateTimeIdle();
    BindTool("Bip01", kSlotPelvis);
    std::vector<cpoint3> posBefore;
    std::vector<cquat> rotBefore;
    for (int time : {0, kNow, 20}) {
        posBefore.push_back(pelvis->GetPosition(time));
        rotBefore.push_back(pelvis->GetRotation(time));
    }
    RotateDrag(kStepZ, 3);
    ASSERT_EQ(pelvis->anim.NumKeys(), 3);
    int i = 0;
    for (int time : {0, kNow, 20}) {
        EXPECT_POINT_NEAR(pelvis->GetPosition(time), posBefore[i], kPosTol) << "frame " << time;
        EXPECT_SAME_ROTATION(pelvis->GetRotation(time), rotBefore[i] * kQuarterZ, kRotTol)
            << "frame " << time;
        ++i;
    }
}

TEST_F(WholeAnimation, RecordingIsSwitchedOnForThePassAndPutBack) {
    Interface::SetAnimOn(0);
    MoveDrag({1.0f, 0.0f, 0.0f}, 1);
    EXPECT_EQ(Interface::IsAnimOn(), 0);
    EXPECT_POINT_NEAR(RootKey(0).pos, (cpoint3{2, 2, 3}), kPosTol);
    EXPECT_POINT_NEAR(RootKey(2).pos, (cpoint3{7, 5, 3}), kPosTol);

    Interface::SetAnimOn(1);
    MoveDrag({1.0f, 0.0f, 0.0f}, 1);
    EXPECT_EQ(Interface::IsAnimOn(), 1);
    EXPECT_POINT_NEAR(RootKey(0).pos, (cpoint3{3, 2, 3}), kPosTol);
}

TEST_F(WholeAnimation, TypedPositionTakesFreshReferences) {
    trackPos = {100.0f, 100.0f, 100.0f};  // left over from some earlier transform
    Interface::GetTransformCallback()->SetPosition({4.0f, 2.0f, 8.0f}, 0, 1, 0.0f);
    EXPECT_POINT_NEAR(RootKey(0).pos, (cpoint3{1, 2, 8}), kPosTol);
    EXPECT_POINT_NEAR(RootKey(1).pos, (cpoint3{4, 2, 8}), kPosTol);
    EXPECT_POINT_NEAR(RootKey(2).pos, (cpoint3{6, 5, 8}), kPosTol);
}

TEST_F(WholeAnimation, UndoRestoresEveryKeyAndRedoReapplies) {
    const auto before = AllKeys();
    RotateDrag(kStepZ, 2);
    MoveDrag({0.0f, 0.0f, 2.0f}, 2);
    EXPECT_STREQ(NewestLevelName(), "Biped Move Animation");
    EXPECT_STREQ(theUndo.GetLevelName(theUndo.NumLevels() - 2), "Biped Rotate Animation");
    EXPECT_FALSE(theUndo.IsOpen());
    const auto after = AllKeys();
    ASSERT_EQ(theUndo.Undo(), 1);
    ASSERT_EQ(theUndo.Undo(), 1);
    const auto undone = AllKeys();
    for (int s = 0; s < kNumSlots; ++s) EXPECT_TRUE(SameKeys(undone[s], before[s])) << "slot " << s;
    ASSERT_EQ(theUndo.Redo(), 1);
    ASSERT_EQ(theUndo.Redo(), 1);
    const auto redone = AllKeys();
    for (int s = 0; s < kNumSlots; ++s) EXPECT_TRUE(SameKeys(redone[s], after[s])) << "slot " << s;
}

// A selected node that is none of the biped's bones: the host moves it, no key of the biped
// changes.
TEST_F(WholeAnimation, NodeOutsideTheBipedIsTheHostsAlone) {
    cbone* extra = CreateNewBone();
    extra->SetName("Bip01 Extra");
    Interface::AddToScene(extra, 0);
    Interface::DeselectAll();
    Interface::Select(extra);
    bipani.selSlot = bipani.mirrorSlot = -1;
    const auto before = AllKeys();
    MoveDrag({1.0f, 0.0f, 0.0f}, 2);
    const auto after = AllKeys();
    for (int s = 0; s < kNumSlots; ++s) EXPECT_TRUE(SameKeys(before[s], after[s])) << "slot " << s;
    EXPECT_POINT_NEAR(extra->GetPosition(kNow), (cpoint3{2, 0, 0}), kPosTol);
}

}  // namespace
}  // namespace tracktest
