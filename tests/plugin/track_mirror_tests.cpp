// "Symmetrical Rotation" and "Opposite Rotation": a rotation of one arm or leg bone repeats,
// reflected, on its mirror bone, step by step, inside one undo level of the tool's own.
#include <cmath>

#include "track_fixture.h"

namespace tracktest {
namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;

// Quaternion of a rotation by deg about one coordinate axis (0 x, 1 y, 2 z).
cquat AboutAxis(int axis, float deg) {
    const float s = std::sin(deg * kDegToRad / 2.0f), c = std::cos(deg * kDegToRad / 2.0f);
    return {axis == 0 ? s : 0.0f, axis == 1 ? s : 0.0f, axis == 2 ? s : 0.0f, c};
}

class MirrorRotation : public TrackedBiped {
protected:
    // Binds to R UpperArm and remembers both upper arms' parent-relative rotations.
    void BindRightUpperArm() {
        BindTool("Bip01", kSlotRUpperArm);
        ASSERT_EQ(bipani.mirrorSlot, kSlotLUpperArm);
        selBefore_ = LocalRot(Bone(kSlotRUpperArm));
        mirBefore_ = LocalRot(Bone(kSlotLUpperArm));
    }

    // The world step that changes the selected bone's parent-relative rotation by `change`:
    // with world W, local' × Inverse(local) = W × q × Inverse(W), so q = Inverse(W) × change × W.
    static cquat StepFor(const cquat& change) {
        const cquat w = Bone(kSlotRUpperArm)->GetRotation(GetAnimTime());
        return Normalize((Inverse(w) * change) * w);
    }

    cquat SelChange() const { return LocalRot(Bone(kSlotRUpperArm)) * Inverse(selBefore_); }
    cquat MirChange() const { return LocalRot(Bone(kSlotLUpperArm)) * Inverse(mirBefore_); }

    cquat selBefore_, mirBefore_;
};

TEST_F(MirrorRotation, OppositeNegatesTheChangesZ) {
    BindRightUpperArm();
    bipani.oppRotation = 1;
    RotateDrag(StepFor(AboutAxis(2, 30.0f)), 1);
    EXPECT_SAME_ROTATION(SelChange(), AboutAxis(2, 30.0f), kRotTol);
    EXPECT_SAME_ROTATION(MirChange(), AboutAxis(2, -30.0f), kRotTol);
}

TEST_F(MirrorRotation, OppositeKeepsXAndY) {
    BindRightUpperArm();
    bipani.oppRotation = 1;
    RotateDrag(StepFor(AboutAxis(0, 25.0f)), 1);
    EXPECT_SAME_ROTATION(MirChange(), AboutAxis(0, 25.0f), kRotTol);
}

TEST_F(MirrorRotation, SymmetricalNegatesTheChangesXAndY) {
    BindRightUpperArm();
    bipani.symRotation = 1;
    RotateDrag(StepFor(AboutAxis(0, 25.0f)), 1);
    EXPECT_SAME_ROTATION(MirChange(), AboutAxis(0, -25.0f), kRotTol);
}

TEST_F(MirrorRotation, SymmetricalKeepsZ) {
    BindRightUpperArm();
    bipani.symRotation = 1;
    RotateDrag(StepFor(AboutAxis(2, 40.0f)), 1);
    EXPECT_SAME_ROTATION(MirChange(), AboutAxis(2, 40.0f), kRotTol);
}

// A general axis: the reflected change is the selected bone's change component by component.
TEST_F(MirrorRotation, GeneralChangeIsReflectedComponentWise) {
    BindRightUpperArm();
    bipani.symRotation = 1;
    RotateDrag(Normalize(cquat{0.2f, -0.3f, 0.4f, 0.85f}), 1);
    const cquat d = SelChange();
    EXPECT_SAME_ROTATION(MirChange(), (cquat{-d.x, -d.y, d.z, d.w}), kRotTol);
}

// Ten steps of 3 degrees give the one step of 30 degrees, not 3 + 6 + ... + 30.
TEST_F(MirrorRotation, SmallStepsSumToTheWholeTurn) {
    BindRightUpperArm();
    bipani.oppRotation = 1;
    RotateDrag(StepFor(AboutAxis(2, 3.0f)), 10);
    EXPECT_SAME_ROTATION(SelChange(), AboutAxis(2, 30.0f), kRotTol);
    EXPECT_SAME_ROTATION(MirChange(), AboutAxis(2, -30.0f), kRotTol);
}

TEST_F(MirrorRotation, OnlyTheMirrorBoneFollows) {
    BindRightUpperArm();
    bipani.symRotation = 1;
    const auto before = AllKeys();
    RotateDrag(StepFor(AboutAxis(1, 20.0f)), 3);
    const auto after = AllKeys();
    for (int s = 0; s < kNumSlots; ++s) {
        const bool moved = s == kSlotRUpperArm || s == kSlotLUpperArm;
        EXPECT_EQ(SameKeys(before[s], after[s]), !moved) << "slot " << s;
    }
}

TEST_F(MirrorRotation, BoneWithoutMirrorChangesNothingElse) {
    BindTool("Bip01", kSlotPelvis);
    bipani.symRotation = 1;
    const auto before = AllKeys();
    RotateDrag(AboutAxis(2, 45.0f), 2);
    const auto after = AllKeys();
    EXPECT_FALSE(SameKeys(before[kSlotPelvis], after[kSlotPelvis]));
    for (int s = 0; s < kNumSlots; ++s) {
        if (s == kSlotPelvis) continue;
        EXPECT_TRUE(SameKeys(before[s], after[s])) << "slot " << s;
    }
}

TEST_F(MirrorRotation, MissingMirrorBoneIsSkipped) {
    BindRightUpperArm();
    bipani.bones[kSlotLUpperArm] = nullptr;  // as for a biped that lacks the bone
    bipani.oppRotation = 1;
    cnode* leftArm = Interface::FindNode("Bip01 L UpperArm");
    const auto before = KeysOf(leftArm);
    RotateDrag(StepFor(AboutAxis(2, 30.0f)), 2);
    EXPECT_TRUE(SameKeys(KeysOf(leftArm), before));
    EXPECT_SAME_ROTATION(SelChange(), AboutAxis(2, 60.0f), kRotTol);
}

// Typed rotations take fresh references before the host's change.
TEST_F(MirrorRotation, TypedRotationIsMirroredWithoutAnUndoLevel) {
    BindRightUpperArm();
    bipani.oppRotation = 1;
    const int levels = theUndo.NumLevels();
    Interface::GetTransformCallback()->SetRotation({30.0f, 20.0f, 60.0f}, 0);
    const cquat d = SelChange();
    EXPECT_SAME_ROTATION(MirChange(), (cquat{d.x, d.y, -d.z, d.w}), kRotTol);
    EXPECT_GT(std::fabs(d.z), 0.05f);  // the change has a z part for the reflection to act on
    EXPECT_EQ(theUndo.NumLevels(), levels);
}

// A move goes to the host's own transform; the bone's rotation is unchanged, so the mirror step
// after each move step finds no change to repeat.
TEST_F(MirrorRotation, MoveKeepsTheMirrorAsTheLastRotationLeftIt) {
    BindRightUpperArm();
    bipani.oppRotation = 1;
    RotateDrag(StepFor(AboutAxis(2, 30.0f)), 1);
    const cquat mirAfterTurn = LocalRot(Bone(kSlotLUpperArm));
    MoveDrag({0.5f, 0.0f, 0.0f}, 4);
    EXPECT_STREQ(NewestLevelName(), "Move");
    EXPECT_SAME_ROTATION(LocalRot(Bone(kSlotLUpperArm)), mirAfterTurn, kRotTol);
}

TEST_F(MirrorRotation, UndoLevelsAreNamedForTheMode) {
    BindRightUpperArm();
    bipani.symRotation = 1;
    RotateDrag(AboutAxis(2, 10.0f), 1);
    EXPECT_STREQ(NewestLevelName(), "Biped Symmetrical Rotation");
    EXPECT_EQ(theUndo.GetLevelType(theUndo.NumLevels() - 1), 1000);
    EXPECT_FALSE(theUndo.IsOpen());
    bipani.symRotation = 0;
    bipani.oppRotation = 1;
    RotateDrag(AboutAxis(2, 10.0f), 1);
    EXPECT_STREQ(NewestLevelName(), "Biped Opposite Rotation");
    bipani.oppRotation = 0;
    RotateDrag(AboutAxis(2, 10.0f), 1);
    EXPECT_STREQ(NewestLevelName(), "Rotate");
}

TEST_F(MirrorRotation, UndoPutsBothArmsBackAndRedoTurnsThemAgain) {
    BindRightUpperArm();
    bipani.oppRotation = 1;
    const auto before = AllKeys();
    RotateDrag(StepFor(AboutAxis(2, 30.0f)), 5);
    const auto after = AllKeys();
    ASSERT_EQ(theUndo.Undo(), 1);
    const auto undone = AllKeys();
    EXPECT_FALSE(SameKeys(after[kSlotLUpperArm], before[kSlotLUpperArm]));
    for (int s : {kSlotRUpperArm, kSlotLUpperArm})
        EXPECT_TRUE(SameKeys(undone[s], before[s])) << "slot " << s;
    ASSERT_EQ(theUndo.Redo(), 1);
    EXPECT_TRUE(SameKeys(KeysOf(Bone(kSlotLUpperArm)), after[kSlotLUpperArm]));
    EXPECT_TRUE(SameKeys(KeysOf(Bone(kSlotRUpperArm)), after[kSlotRUpperArm]));
}

TEST_F(MirrorRotation, ScalingPassesToTheHostUntouched) {
    BindRightUpperArm();
    bipani.symRotation = 1;
    const auto before = AllKeys();
    TransformCallback* cb = Interface::GetTransformCallback();
    cb->StartTransform(QV_XFORM_SCALE);
    cb->Scale({2.0f, 2.0f, 2.0f});
    cb->EndTransform(QV_XFORM_SCALE);
    EXPECT_STREQ(NewestLevelName(), "Scale");
    const cpoint3 scale = Bone(kSlotRUpperArm)->GetScale(GetAnimTime());
    EXPECT_FLOAT_EQ(scale.x, 2.0f * before[kSlotRUpperArm][0].scale.x);
    const auto after = AllKeys();
    for (int s = 0; s < kNumSlots; ++s) {
        if (s == kSlotRUpperArm) continue;
        EXPECT_TRUE(SameKeys(before[s], after[s])) << "slot " << s;
    }
}

// Bound by the tool's own Init from the scene's selection, as the host opens the panel.
TEST_F(MirrorRotation, WorksThroughTheToolsOwnBinding) {
    Interface::DeselectAll();
    Interface::Select(Interface::FindNode("Bip01 R UpperArm"));
    bipani.keepBinding = 0;
    ASSERT_EQ(bipani.IsOkToModify(Interface::GetSelNode()), 1);
    bipani.Init();
    ASSERT_EQ(Interface::GetTransformCallback(), &cbipanim::trnsClbk);
    ASSERT_EQ(bipani.selSlot, kSlotRUpperArm);
    selBefore_ = LocalRot(Bone(kSlotRUpperArm));
    mirBefore_ = LocalRot(Bone(kSlotLUpperArm));
    bipani.oppRotation = 1;
    RotateDrag(StepFor(AboutAxis(2, 30.0f)), 3);
    EXPECT_SAME_ROTATION(MirChange(), AboutAxis(2, -90.0f), kRotTol);
    bipani.Done();
    EXPECT_EQ(Interface::GetTransformCallback(), nullptr);
}

}  // namespace
}  // namespace tracktest
