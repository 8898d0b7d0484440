// The modify tool's undo items on a biped of the scene: whole tracks and single frames saved
// and written back exactly, more than once, and through the host's undo manager.
#include "Skeleton/BipUndo/BipUndo.h"
#include "plugin_support.h"
#include "quorvane/util.h"

namespace pt {
namespace {

ckey Key(int time, float x, float angleDeg) {
    ckey k;
    k.time = time;
    k.pos = MakePt3(x, 0.5f * x, -x);
    k.rot = QuatFromAngleAxis(angleDeg, MakePt3(0.3f, 0.4f, 0.5f));
    k.scale = MakePt3(1.0f, 1.0f + 0.01f * x, 1.0f);
    return k;
}

// What a whole-track command does: changes, adds and removes keys at several times.
void ScrambleTracks() {
    for (int s = 0; s < kNumSlots; ++s) {
        cnode* b = bipani.bones[s];
        if (!b) continue;
        b->anim.SetKey(Key(10, 9.0f, 40.0f));
        b->anim.SetKey(Key(40 + s, 1.0f, 1.0f));
        b->anim.RemoveKey(25);
        ckey first;
        b->anim.GetKeyAt(0, first);
        first.pos.x += 1.0f;
        b->anim.SetKeyAt(0, first, 1);
    }
}

class UndoItems : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        MakeBiped();
        ASSERT_EQ(Open(Node("Bip01 R Calf")), 1);
        for (int s = 0; s < kNumSlots; ++s) {  // every bone keyed with values of its own
            if (!bipani.bones[s]) continue;
            bipani.bones[s]->anim.SetKey(Key(10, 0.1f * s, 3.0f * s));
            bipani.bones[s]->anim.SetKey(Key(25, -0.2f * s, -2.0f * s));
        }
    }
};

TEST_F(UndoItems, AnimUndoRestoresEveryKeyExactlyAndAgain) {
    Interface::SetAnimTime(7);
    const auto saved = AllKeys();
    BipAnimUndo* item = NewBipAnimUndo("Biped Footsteps", bipani.bones, kNumSlots);
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(item->GetName(), "Biped Footsteps");
    EXPECT_EQ(item->GetType(), 1000);
    EXPECT_EQ(item->GetTime(), 7);
    for (int round = 0; round < 2; ++round) {  // redo state in between, then undone again
        ScrambleTracks();
        EXPECT_EQ(item->Restore(), 1);
        EXPECT_TRUE(SameKeys(AllKeys(), saved));
    }
    item->Delete();
}

TEST_F(UndoItems, AnimUndoOfABoneWithoutKeysEmptiesItAgain) {
    cnode* head = bipani.bones[kSlotHead];
    head->anim.SetNumKeys(0, 1);
    BipAnimUndo* item = NewBipAnimUndo(nullptr, bipani.bones, kNumSlots);
    EXPECT_STREQ(item->GetName(), "Modify Biped");  // the default name, also for ""
    head->anim.SetKey(Key(5, 1.0f, 10.0f));
    item->Restore();
    EXPECT_EQ(head->anim.NumKeys(), 0);
    item->Delete();
    item = NewBipAnimUndo("", bipani.bones, kNumSlots);
    EXPECT_STREQ(item->GetName(), "Modify Biped");
    item->Delete();
    cnode* none[kNumSlots] = {};
    item = NewBipAnimUndo("Biped Clear Keyframes", none, kNumSlots);
    EXPECT_EQ(item->HasData(), 0);
    EXPECT_EQ(item->Restore(), 0);
    item->Delete();
}

// A long track is copied whole and in order; a record past the end is reported.
TEST_F(UndoItems, AnimUndoCopiesLongTracksInOrder) {
    cnode* pelvis = bipani.bones[kSlotPelvis];
    for (int t = 1; t < 40; ++t) pelvis->anim.SetKey(Key(t, 0.01f * t, t));
    const auto saved = pelvis->anim.Keys();
    ASSERT_EQ(saved.size(), 40u);
    BipAnimUndo* item = NewBipAnimUndo("Biped Load File", bipani.bones, kNumSlots);
    const BipAnimUndo::TrackCopy* copy = item->Record(1);  // the root is record 0
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->node, pelvis);
    EXPECT_TRUE(
        SameKeys(std::vector<ckey>(copy->keys.data, copy->keys.data + copy->keys.count), saved));
    const int before = NumAssertsReported();
    EXPECT_EQ(item->Record(item->NumRecords()), nullptr);  // out of range: reported
    EXPECT_EQ(NumAssertsReported(), before + 1);
    item->Delete();
}

// A pose command at a time where the bone has no key: the key it makes is removed again and
// the first key comes back; other keys stay as they were.
TEST_F(UndoItems, FrameUndoRemovesTheKeyItsCommandMade) {
    cnode* calf = bipani.bones[kSlotRCalf];
    Interface::SetAnimTime(17);
    const auto saved = calf->anim.Keys();
    auto* item = new BipFrameUndo("Biped Pose", bipani.bones, kNumSlots);
    EXPECT_STREQ(item->GetName(), "Biped Pose");
    EXPECT_EQ(item->GetType(), 1000);
    EXPECT_EQ(item->GetTime(), 17);
    Interface::SetAnimOn(1);
    for (int round = 0; round < 2; ++round) {
        calf->SetRotation(17, QuatFromAngleAxis(50.0f, MakePt3(0, 0, 1)));
        ckey first;
        calf->anim.GetKeyAt(0, first);
        first.rot = QuatFromAngleAxis(-30.0f, MakePt3(1, 0, 0));
        calf->anim.SetKeyAt(0, first, 1);
        ASSERT_EQ(calf->anim.NumKeys(), static_cast<int>(saved.size()) + 1);
        EXPECT_EQ(item->Restore(), 1);
        EXPECT_TRUE(SameKeys(calf->anim.Keys(), saved));
    }
    item->Delete();
}

TEST_F(UndoItems, FrameUndoAtOrBeforeTheFirstKeyKeepsTheTrack) {
    const auto saved = AllKeys();
    auto* atFirst = new BipFrameUndo("Biped Align", bipani.bones, kNumSlots);  // at frame 0
    Interface::SetAnimOn(1);
    for (cnode* b : bipani.bones)
        if (b) b->SetRotation(0, QuatFromAngleAxis(33.0f, MakePt3(0, 1, 0)));
    atFirst->Restore();
    EXPECT_TRUE(SameKeys(AllKeys(), saved));
    atFirst->Delete();
    // A key made before a track's first key becomes its first: the old first key must neither
    // be overwritten by it nor doubled.
    cnode* foot = bipani.bones[kSlotRFoot];
    foot->anim.SetNumKeys(2, 1);
    foot->anim.SetKeyAt(0, Key(10, 1.0f, 5.0f), 0);
    foot->anim.SetKeyAt(1, Key(20, 2.0f, 6.0f), 0);
    Interface::SetAnimTime(4);
    const auto footKeys = foot->anim.Keys();
    auto* before = new BipFrameUndo("Biped Pose", bipani.bones, kNumSlots);
    foot->anim.SetKey(Key(4, 7.0f, 70.0f));
    before->Restore();
    EXPECT_TRUE(SameKeys(foot->anim.Keys(), footKeys));
    before->Delete();
}

TEST_F(UndoItems, FrameUndoForABipedWithoutFingersStillHasData) {
    ResetTool();
    qv::ResetScene();
    ApplyCounts({.numFingers = 0, .numToes = 0});
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01 Head")), 1);
    auto* item = new BipFrameUndo("Biped Hand(s) Pose", bipani.bones, kNumSlots);
    EXPECT_EQ(item->NumRecords(), ExpectedBoneCount({.numFingers = 0, .numToes = 0}));
    EXPECT_EQ(item->HasData(), 1);
    item->FreeData();  // without its records the item restores nothing
    EXPECT_EQ(item->HasData(), 0);
    cnode* head = bipani.bones[kSlotHead];
    head->anim.SetKey(Key(0, 3.0f, 3.0f));
    const auto changed = head->anim.Keys();
    item->Restore();
    EXPECT_TRUE(SameKeys(head->anim.Keys(), changed));
    item->Delete();
}

TEST_F(UndoItems, UndoAndRedoThroughTheHostGiveBothStatesBack) {
    Interface::SetAnimTime(12);
    const auto before = AllKeys();
    theUndo.BeginGeneric(new BipFrameUndo("Biped Pose", bipani.bones, kNumSlots));
    Interface::SetAnimOn(1);
    for (cnode* b : bipani.bones)
        if (b) b->SetRotation(12, QuatFromAngleAxis(20.0f, MakePt3(0, 0, 1)));
    Interface::SetAnimOn(0);
    theUndo.End();
    const auto posed = AllKeys();
    ASSERT_EQ(theUndo.GetLevelType(theUndo.NumLevels() - 1), 1000);
    // A whole-track command hands its item over afterwards.
    BipAnimUndo* item = NewBipAnimUndo("Biped Mirror Keyframes", bipani.bones, kNumSlots);
    ScrambleTracks();
    theUndo.BeginGeneric(item);
    theUndo.End();
    const auto scrambled = AllKeys();
    for (const auto* state : {&posed, &before}) {
        ASSERT_EQ(theUndo.Undo(), 1);
        EXPECT_TRUE(SameKeys(AllKeys(), *state));
    }
    for (const auto* state : {&posed, &scrambled}) {
        ASSERT_EQ(theUndo.Redo(), 1);
        EXPECT_TRUE(SameKeys(AllKeys(), *state));
    }
}

}  // namespace
}  // namespace pt
