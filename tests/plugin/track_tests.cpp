// Transforms through the modify tool's callback. "Symmetrical Rotation" and "Opposite Rotation"
// repeat a rotation of one arm or leg bone, reflected, on its mirror bone, step by step;
// "Transform" carries a move or turn at the current time over every key of the track, and
// turning the root also swings its path. Each drag is one undo level of the tool's own; without
// a mode every transform is the host's.
#include "plugin_support.h"

namespace pt {
namespace {

constexpr float kRotTol = 2e-4f;  // a few unit quaternions multiplied in floats
constexpr float kPosTol = 1e-3f;  // host units, for positions of size up to ~20

cquat AboutAxis(int axis, float deg) {  // 0 x, 1 y, 2 z
    return QuatFromAngleAxis(
        deg, {axis == 0 ? 1.0f : 0.0f, axis == 1 ? 1.0f : 0.0f, axis == 2 ? 1.0f : 0.0f});
}

// Parent-relative rotation at the current time: world × Inverse(parentWorld).
cquat LocalRot(cnode* n) {
    const int t = GetAnimTime();
    return n->GetParent() ? n->GetRotation(t) * Inverse(n->GetParent()->GetRotation(t))
                          : n->GetRotation(t);
}

// A default biped in the scene, the tool opened on its right upper arm as the host does it.
class MirrorRotation : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        MakeBiped();
        ASSERT_EQ(Open(Node("Bip01 R UpperArm")), 1);
        ASSERT_EQ(bipani.mirrorSlot, kSlotLUpperArm);
        sel = bipani.bones[kSlotRUpperArm];
        mir = bipani.bones[kSlotLUpperArm];
        selBefore = LocalRot(sel);
        mirBefore = LocalRot(mir);
    }
    // The world step that changes the selected bone's parent-relative rotation by `change`:
    // with world W, local' × Inverse(local) = W × q × Inverse(W), so q = Inverse(W) × change × W.
    cquat StepFor(const cquat& change) const {
        const cquat w = sel->GetRotation(GetAnimTime());
        return Normalize((Inverse(w) * change) * w);
    }
    cquat SelChange() const { return LocalRot(sel) * Inverse(selBefore); }
    cquat MirChange() const { return LocalRot(mir) * Inverse(mirBefore); }
    cnode *sel = nullptr, *mir = nullptr;
    cquat selBefore, mirBefore;
};

TEST_F(MirrorRotation, OppositeNegatesZAndSymmetricalNegatesXAndY) {
    struct Case { int* mode; int axis; float mirroredDeg; };
    const Case cases[] = {{&bipani.oppRotation, 2, -30}, {&bipani.oppRotation, 0, 30},
                          {&bipani.symRotation, 0, -30}, {&bipani.symRotation, 2, 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode == &bipani.oppRotation ? "opposite" : "symmetrical") +
                     " axis " + std::to_string(c.axis));
        bipani.oppRotation = bipani.symRotation = 0;
        *c.mode = 1;
        selBefore = LocalRot(sel);
        mirBefore = LocalRot(mir);
        RotateDrag(StepFor(AboutAxis(c.axis, 30.0f)), 1);
        EXPECT_TRUE(SameRotation(SelChange(), AboutAxis(c.axis, 30.0f), kRotTol));
        EXPECT_TRUE(SameRotation(MirChange(), AboutAxis(c.axis, c.mirroredDeg), kRotTol));
    }
    // A general axis: the reflected change is the selected bone's change component by component.
    selBefore = LocalRot(sel);
    mirBefore = LocalRot(mir);
    RotateDrag(Normalize(cquat{0.2f, -0.3f, 0.4f, 0.85f}), 1);
    const cquat d = SelChange();
    EXPECT_TRUE(SameRotation(MirChange(), (cquat{-d.x, -d.y, d.z, d.w}), kRotTol));
}

// Ten steps of 3 degrees give the one step of 30 degrees, not 3 + 6 + ... + 30; only the two
// arms change, in one undo level named for the mode, undone and redone whole.
TEST_F(MirrorRotation, SmallStepsSumToTheWholeTurnInOneUndoLevel) {
    bipani.oppRotation = 1;
    const auto before = AllKeys();
    RotateDrag(StepFor(AboutAxis(2, 3.0f)), 10);
    EXPECT_TRUE(SameRotation(SelChange(), AboutAxis(2, 30.0f), kRotTol));
    EXPECT_TRUE(SameRotation(MirChange(), AboutAxis(2, -30.0f), kRotTol));
    EXPECT_EQ(NewestLevelName(), "Biped Opposite Rotation");
    EXPECT_EQ(theUndo.GetLevelType(theUndo.NumLevels() - 1), 1000);
    EXPECT_FALSE(theUndo.IsOpen());
    const auto after = AllKeys();
    for (int s = 0; s < kNumSlots; ++s)
        EXPECT_EQ(SameKeys(before[s], after[s]), s != kSlotRUpperArm && s != kSlotLUpperArm) << s;
    ASSERT_EQ(theUndo.Undo(), 1);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    ASSERT_EQ(theUndo.Redo(), 1);
    EXPECT_TRUE(SameKeys(AllKeys(), after));
    bipani.oppRotation = 0;
    bipani.symRotation = 1;
    RotateDrag(AboutAxis(2, 10.0f), 1);
    EXPECT_EQ(NewestLevelName(), "Biped Symmetrical Rotation");
}

TEST_F(MirrorRotation, BoneWithoutMirrorOrMissingMirrorBoneChangesNothingElse) {
    bipani.symRotation = 1;
    bipani.bones[kSlotLUpperArm] = nullptr;  // as for a biped that lacks the bone
    const auto mirKeys = mir->anim.Keys();
    RotateDrag(StepFor(AboutAxis(2, 30.0f)), 2);
    EXPECT_TRUE(SameKeys(mir->anim.Keys(), mirKeys));
    EXPECT_TRUE(SameRotation(SelChange(), AboutAxis(2, 60.0f), kRotTol));
    ASSERT_EQ(Open(Node("Bip01 Pelvis")), 1);
    bipani.symRotation = 1;
    const auto before = AllKeys();
    RotateDrag(AboutAxis(2, 45.0f), 2);
    const auto after = AllKeys();
    for (int s = 0; s < kNumSlots; ++s)
        EXPECT_EQ(SameKeys(before[s], after[s]), s != kSlotPelvis) << s;
}

// Typed rotations take fresh references before the host's change and make no undo level.
TEST_F(MirrorRotation, TypedRotationIsMirroredWithoutAnUndoLevel) {
    bipani.oppRotation = 1;
    const int levels = theUndo.NumLevels();
    Interface::GetTransformCallback()->SetRotation({30.0f, 20.0f, 60.0f}, 0);
    const cquat d = SelChange();
    EXPECT_TRUE(SameRotation(MirChange(), (cquat{d.x, d.y, -d.z, d.w}), kRotTol));
    EXPECT_GT(std::fabs(d.z), 0.05f);  // the change has a z part for the reflection to act on
    EXPECT_EQ(theUndo.NumLevels(), levels);
}

// Moves and scales go to the host's own transform: the mirror keeps what the last turn left.
TEST_F(MirrorRotation, MovesAndScalesPassToTheHostUntouched) {
    bipani.oppRotation = 1;
    RotateDrag(StepFor(AboutAxis(2, 30.0f)), 1);
    const cquat mirAfterTurn = LocalRot(mir);
    MoveDrag({0.5f, 0.0f, 0.0f}, 4);
    EXPECT_EQ(NewestLevelName(), "Move");
    EXPECT_TRUE(SameRotation(LocalRot(mir), mirAfterTurn, kRotTol));
    const auto before = AllKeys();
    TransformCallback* cb = Interface::GetTransformCallback();
    cb->StartTransform(QV_XFORM_SCALE);
    cb->Scale({2.0f, 2.0f, 2.0f});
    cb->EndTransform(QV_XFORM_SCALE);
    EXPECT_EQ(NewestLevelName(), "Scale");
    EXPECT_FLOAT_EQ(sel->GetScale(GetAnimTime()).x, 2.0f * before[kSlotRUpperArm][0].scale.x);
    const auto after = AllKeys();
    for (int s = 0; s < kNumSlots; ++s)
        EXPECT_EQ(SameKeys(before[s], after[s]), s != kSlotRUpperArm) << s;
    bipani.oppRotation = 0;
    RotateDrag(AboutAxis(2, 10.0f), 1);
    EXPECT_EQ(NewestLevelName(), "Rotate");
}

// --- "Transform": the whole animation ------------------------------------------------------------

constexpr int kNow = 10;  // frames; the root has a key here
const cquat kQuarterZ{0.0f, 0.0f, 0.70710678f, 0.70710678f};  // 90 degrees about +z
const cquat kStepZ{0.0f, 0.0f, 0.25881905f, 0.96592583f};     // 30 degrees about +z
const cquat kTiltX{0.13052619f, 0.0f, 0.0f, 0.99144486f};     // 15 degrees about +x
const cquat kTurnZ{0.0f, 0.0f, 0.08715574f, 0.99619470f};     // 10 degrees about +z

class WholeAnimation : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        root = MakeBiped();
        root->anim.Clear();  // root keys are world values: it has no parent
        for (auto [time, pos, rot] : {std::tuple{0, cpoint3{1, 2, 3}, kTurnZ},
                                      {kNow, {4, 2, 3}, kTiltX},
                                      {20, {6, 5, 3}, cquat{}}}) {
            ckey k;
            k.time = time;
            k.pos = pos;
            k.rot = rot;
            root->anim.SetKey(k);
        }
        root->UpdateTimeIdle();
        Interface::SetAnimTime(kNow);
        ASSERT_EQ(Open(root), 1);
        bipani.animTransform = 1;
    }
    ckey RootKey(int i) const {
        ckey k;
        EXPECT_EQ(root->anim.GetKeyAt(i, k), 1) << "key " << i;
        return k;
    }
    cnode* root = nullptr;
};

TEST_F(WholeAnimation, MoveShiftsEveryKeyOfTheRootOnly) {
    const auto before = AllKeys();
    MoveDrag({2.5f, 0.0f, 0.0f}, 4);
    ASSERT_EQ(root->anim.NumKeys(), 3);
    EXPECT_TRUE(PointNear(RootKey(0).pos, {11, 2, 3}, kPosTol));
    EXPECT_TRUE(PointNear(RootKey(2).pos, {16, 5, 3}, kPosTol));
    // Four host steps of 2.5 land on 14 exactly; the key at now is the dragged position.
    EXPECT_EQ(RootKey(1).pos, (cpoint3{14, 2, 3}));
    EXPECT_TRUE(SameRotation(RootKey(0).rot, kTurnZ, kRotTol));
    EXPECT_TRUE(SameRotation(RootKey(1).rot, kTiltX, kRotTol));
    EXPECT_TRUE(SameRotation(RootKey(2).rot, cquat{}, kRotTol));
    const auto after = AllKeys();
    for (int s = 1; s < kNumSlots; ++s) EXPECT_TRUE(SameKeys(before[s], after[s])) << "slot " << s;
    // Recording is switched on for the pass and put back as it was, on or off.
    EXPECT_EQ(Interface::IsAnimOn(), 0);
    Interface::SetAnimOn(1);
    MoveDrag({1.0f, 0.0f, 0.0f}, 1);
    EXPECT_EQ(Interface::IsAnimOn(), 1);
    EXPECT_TRUE(PointNear(RootKey(0).pos, {12, 2, 3}, kPosTol));
    EXPECT_TRUE(PointNear(RootKey(2).pos, {17, 5, 3}, kPosTol));
}

// The step turns every key's rotation by the same world change and swings every position about
// the root's position now, (4, 2, 3). The quarter turn about +z takes +x to -y and +y to +x.
TEST_F(WholeAnimation, RotateTurnsEveryKeyAndSwingsThePath) {
    RotateDrag(kStepZ, 3);
    ASSERT_EQ(root->anim.NumKeys(), 3);
    EXPECT_TRUE(PointNear(RootKey(0).pos, {4, 5, 3}, kPosTol));  // (-3, 0, 0) → (0, 3, 0)
    EXPECT_TRUE(PointNear(RootKey(1).pos, {4, 2, 3}, kPosTol));
    EXPECT_TRUE(PointNear(RootKey(2).pos, {7, 0, 3}, kPosTol));  // (2, 3, 0) → (3, -2, 0)
    EXPECT_TRUE(SameRotation(RootKey(2).rot, kQuarterZ, kRotTol));
    EXPECT_TRUE(SameRotation(RootKey(0).rot, kTurnZ * kQuarterZ, kRotTol));
    EXPECT_TRUE(SameRotation(RootKey(1).rot, kTiltX * kQuarterZ, kRotTol));
}

// With recording off the host already carries a change at a frame without a key over every
// key; "Transform" must still change each key once, by exactly the drag, and add no key,
// whatever the recording state and whether the frame has a key.
TEST_F(WholeAnimation, EveryKeyChangesOnceWhateverRecordingAndKeyAtTheFrame) {
    const std::vector<ckey> original = root->anim.Keys();
    const cpoint3 shift{1.5f, 0.0f, -0.75f};
    for (int time : {kNow, 15})
        for (int recording : {0, 1})
            for (bool turn : {false, true}) {
                SCOPED_TRACE("frame " + std::to_string(time) + (recording ? ", recording" : "") +
                             (turn ? ", turn" : ", move"));
                root->anim.SetNumKeys(static_cast<int>(original.size()), 1);
                for (size_t i = 0; i < original.size(); ++i)
                    root->anim.SetKeyAt(static_cast<int>(i), original[i], 0);
                Interface::SetAnimTime(time);
                Interface::SetAnimOn(recording);
                const cpoint3 pivot = root->GetPosition(time);
                if (turn) RotateDrag(kStepZ, 3);
                else MoveDrag(shift / 3.0f, 3);
                EXPECT_EQ(Interface::IsAnimOn(), recording);
                ASSERT_EQ(root->anim.NumKeys(), 3);
                for (int i = 0; i < 3; ++i) {
                    const ckey& was = original[i];
                    const ckey now = RootKey(i);
                    EXPECT_EQ(now.time, was.time);
                    // Turned: swung about the root's position at the frame, rotation × turn.
                    const cpoint3 pos = turn ? pivot + (was.pos - pivot) * kQuarterZ
                                             : was.pos + shift;
                    const cquat rot = turn ? was.rot * kQuarterZ : was.rot;
                    EXPECT_TRUE(PointNear(now.pos, pos, kPosTol)) << "key " << i;
                    EXPECT_TRUE(SameRotation(now.rot, rot, kRotTol)) << "key " << i;
                }
            }
}

// A bone other than the root turns its keys but keeps its path.
TEST_F(WholeAnimation, RotatingThePelvisTurnsItsKeysOnly) {
    cnode* pelvis = bipani.bones[kSlotPelvis];
    ckey first;
    ASSERT_EQ(pelvis->anim.GetKeyAt(0, first), 1);
    const int times[] = {0, kNow, 20};
    for (int time : times) {
        first.time = time;
        pelvis->anim.SetKey(first);
    }
    pelvis->UpdateTimeIdle();
    ASSERT_EQ(Open(pelvis), 1);
    bipani.animTransform = 1;
    std::vector<cpoint3> posBefore;
    std::vector<cquat> rotBefore;
    for (int time : times) {
        posBefore.push_back(pelvis->GetPosition(time));
        rotBefore.push_back(pelvis->GetRotation(time));
    }
    RotateDrag(kStepZ, 3);
    ASSERT_EQ(pelvis->anim.NumKeys(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(PointNear(pelvis->GetPosition(times[i]), posBefore[i], kPosTol)) << times[i];
        EXPECT_TRUE(SameRotation(pelvis->GetRotation(times[i]), rotBefore[i] * kQuarterZ, kRotTol))
            << times[i];
    }
}

// Typed values apply the mode without opening a level of their own, from fresh references.
TEST_F(WholeAnimation, TypedValuesTakeFreshReferencesAndMakeNoUndoLevel) {
    const int levels = theUndo.NumLevels();
    trackPos = {100.0f, 100.0f, 100.0f};  // left over from some earlier transform
    TransformCallback* cb = Interface::GetTransformCallback();
    cb->SetPosition({4.0f, 2.0f, 8.0f}, 0, 1, 0.0f);
    EXPECT_TRUE(PointNear(RootKey(0).pos, {1, 2, 8}, kPosTol));
    EXPECT_TRUE(PointNear(RootKey(1).pos, {4, 2, 8}, kPosTol));
    EXPECT_TRUE(PointNear(RootKey(2).pos, {6, 5, 8}, kPosTol));
    cb->SetRotation({0, 0, 20}, 0);
    cb->SetScale({2, 2, 2}, 1);
    EXPECT_EQ(theUndo.NumLevels(), levels);
    EXPECT_FLOAT_EQ(root->GetScale(GetAnimTime()).y, 2.0f);
}

TEST_F(WholeAnimation, UndoRestoresEveryKeyAndRedoReapplies) {
    const auto before = AllKeys();
    RotateDrag(kStepZ, 2);
    MoveDrag({0.0f, 0.0f, 2.0f}, 2);
    EXPECT_EQ(NewestLevelName(), "Biped Move Animation");
    EXPECT_STREQ(theUndo.GetLevelName(theUndo.NumLevels() - 2), "Biped Rotate Animation");
    EXPECT_FALSE(theUndo.IsOpen());
    const auto after = AllKeys();
    ASSERT_EQ(theUndo.Undo(), 1);
    ASSERT_EQ(theUndo.Undo(), 1);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    ASSERT_EQ(theUndo.Redo(), 1);
    ASSERT_EQ(theUndo.Redo(), 1);
    EXPECT_TRUE(SameKeys(AllKeys(), after));
}

// "Transform" wins over the mirror modes for rotations; scaling stays the host's; a selected
// node outside the biped is the host's alone.
TEST_F(WholeAnimation, TransformWinsOverMirrorModesAndLeavesOtherNodesToTheHost) {
    bipani.symRotation = 1;
    RotateDrag(kStepZ, 1);
    EXPECT_EQ(NewestLevelName(), "Biped Rotate Animation");
    TransformCallback* cb = Interface::GetTransformCallback();
    for (auto [type, level] : {std::pair{QV_XFORM_TYPED_MOVE, "Biped Move Animation"},
                               {QV_XFORM_TYPED_ROTATE, "Biped Rotate Animation"},
                               {QV_XFORM_TYPED_SCALE, "Scale"}}) {
        cb->StartTransform(type);  // typed transforms group with the drags
        if (type == QV_XFORM_TYPED_MOVE) cb->Move({0.5f, 0, 0}, 0, 0.0f);
        if (type == QV_XFORM_TYPED_ROTATE) cb->Rotate(kTurnZ);
        if (type == QV_XFORM_TYPED_SCALE) cb->Scale({1.5f, 1.5f, 1.5f});
        cb->EndTransform(type);
        EXPECT_EQ(NewestLevelName(), level);
        EXPECT_FALSE(theUndo.IsOpen());
    }
    cbone* extra = CreateNewBone();
    extra->SetName("Bip01 Extra");
    Interface::AddToScene(extra, 0);
    SelectOnly(extra);
    bipani.selSlot = bipani.mirrorSlot = -1;
    const auto before = AllKeys();
    MoveDrag({1.0f, 0.0f, 0.0f}, 2);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    EXPECT_TRUE(PointNear(extra->GetPosition(kNow), {2, 0, 0}, kPosTol));
}

}  // namespace
}  // namespace pt
