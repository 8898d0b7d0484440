// The modify tool's undo items on a biped of the scene: whole tracks and single frames saved
// and written back exactly, more than once, and through the host's undo manager.
#include <vector>

#include "Skeleton/BipUndo.h"
#include "bind_scene.h"
#include "quorvane/undo.h"
#include "quorvane/util.h"

namespace {

using bindtest::MakeBiped;
using bindtest::Node;
using bindtest::Open;
using bindtest::SameKey;

std::vector<ckey> KeysOf(cnode* n) { return n->anim.Keys(); }

void ExpectSameTrack(cnode* n, const std::vector<ckey>& saved) {
    const std::vector<ckey>& now = n->anim.Keys();
    ASSERT_EQ(now.size(), saved.size()) << n->GetName();
    for (size_t i = 0; i < saved.size(); ++i)
        EXPECT_TRUE(SameKey(now[i], saved[i])) << n->GetName() << " key " << i;
}

ckey Key(int time, float x, float angleDeg) {
    ckey k;
    k.time = time;
    k.pos = MakePt3(x, 0.5f * x, -x);
    k.rot = QuatFromAngleAxis(angleDeg, MakePt3(0.3f, 0.4f, 0.5f));
    k.scale = MakePt3(1.0f, 1.0f + 0.01f * x, 1.0f);
    return k;
}

// Every bone of the bound biped keyed at a few times with values of its own.
void KeyEveryBone() {
    for (int s = 0; s < kNumSlots; ++s) {
        cnode* b = bipani.bones[s];
        if (!b) continue;
        b->anim.SetKey(Key(10, 0.1f * s, 3.0f * s));
        b->anim.SetKey(Key(25, -0.2f * s, -2.0f * s));
    }
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

std::vector<std::vector<ckey>> SaveAll() {
    std::vector<std::vector<ckey>> saved(kNumSlots);
    for (int s = 0; s < kNumSlots; ++s)
        if (bipani.bones[s]) saved[s] = KeysOf(bipani.bones[s]);
    return saved;
}

void ExpectAllAsSaved(const std::vector<std::vector<ckey>>& saved) {
    for (int s = 0; s < kNumSlots; ++s)
        if (bipani.bones[s]) ExpectSameTrack(bipani.bones[s], saved[s]);
}

class UndoItems : public bindtest::ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        MakeBiped();
        ASSERT_EQ(Open(Node("Bip01 R Calf")), 1);
    }
    void TearDown() override {
        Interface::SetAnimOn(0);
        Interface::SetAnimTime(0);
        ToolScene::TearDown();
    }
};

TEST_F(UndoItems, AnimUndoRestoresEveryKeyExactlyAndAgain) {
    KeyEveryBone();
    Interface::SetAnimTime(7);
    const auto saved = SaveAll();
    BipAnimUndo* item = NewBipAnimUndo("Biped Footsteps", bipani.bones, kNumSlots);
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(item->GetName(), "Biped Footsteps");
    EXPECT_EQ(item->GetType(), 1000);
    EXPECT_EQ(item->GetTime(), 7);

    ScrambleTracks();
    EXPECT_EQ(item->Restore(), 1);
    ExpectAllAsSaved(saved);
    ScrambleTracks();  // redo state in between, then undone again
    EXPECT_EQ(item->Restore(), 1);
    ExpectAllAsSaved(saved);
    item->Delete();
}

TEST_F(UndoItems, AnimUndoOfABoneWithoutKeysEmptiesItAgain) {
    cnode* head = bipani.bones[kSlotHead];
    head->anim.SetNumKeys(0, 1);
    BipAnimUndo* item = NewBipAnimUndo(nullptr, bipani.bones, kNumSlots);
    head->anim.SetKey(Key(5, 1.0f, 10.0f));
    head->anim.SetKey(Key(9, 2.0f, 20.0f));
    item->Restore();
    EXPECT_EQ(head->anim.NumKeys(), 0);
    item->Delete();
}

TEST_F(UndoItems, AnimUndoKeepsItsDefaultNameWithoutOne) {
    BipAnimUndo* unnamed = NewBipAnimUndo(nullptr, bipani.bones, kNumSlots);
    BipAnimUndo* empty = NewBipAnimUndo("", bipani.bones, kNumSlots);
    EXPECT_STREQ(unnamed->GetName(), "Modify Biped");
    EXPECT_STREQ(empty->GetName(), "Modify Biped");
    unnamed->Delete();
    empty->Delete();
}

TEST_F(UndoItems, AnimUndoOfNoBonesHoldsNothing) {
    cnode* none[kNumSlots] = {};
    BipAnimUndo* item = NewBipAnimUndo("Biped Clear Keyframes", none, kNumSlots);
    EXPECT_EQ(item->HasData(), 0);
    EXPECT_EQ(item->Restore(), 0);
    item->Delete();
}

// The key array starts at 16 and doubles: 40 keys need 64 places; all 40 are kept in order.
TEST_F(UndoItems, AnimUndoCopiesLongTracksInOrder) {
    cnode* pelvis = bipani.bones[kSlotPelvis];
    for (int t = 1; t < 40; ++t) pelvis->anim.SetKey(Key(t, 0.01f * t, t));
    const auto saved = KeysOf(pelvis);
    ASSERT_EQ(saved.size(), 40u);
    BipAnimUndo* item = NewBipAnimUndo("Biped Load File", bipani.bones, kNumSlots);
    const BipAnimUndo::TrackCopy* copy = item->Record(1);  // the root is record 0
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->node, pelvis);
    EXPECT_EQ(copy->keys.count, 40);
    EXPECT_EQ(copy->keys.capacity, 40);  // sized to the track before copying
    for (int i = 0; i < 40; ++i) EXPECT_TRUE(SameKey(copy->keys.data[i], saved[i])) << i;
    item->Delete();
}

TEST(BipArrayGrowth, StartsAtSixteenThenDoubles) {
    BipArray<int> a;
    std::vector<int> capacities;
    for (int i = 0; i < 40; ++i) {
        ASSERT_EQ(BipArrayAppend(a, i * 3), 1);
        if (capacities.empty() || capacities.back() != a.capacity) capacities.push_back(a.capacity);
    }
    EXPECT_EQ(capacities, (std::vector<int>{16, 32, 64}));
    for (int i = 0; i < 40; ++i) EXPECT_EQ(a.data[i], i * 3);
    BipArrayFree(a);
    EXPECT_EQ(a.data, nullptr);
    EXPECT_EQ(a.count, 0);
    EXPECT_EQ(a.capacity, 0);
}

TEST_F(UndoItems, AnimUndoOutOfRangeRecordIsReported) {
    BipAnimUndo* item = NewBipAnimUndo(nullptr, bipani.bones, kNumSlots);
    const int before = NumAssertsReported();
    EXPECT_EQ(item->Record(item->NumRecords()), nullptr);
    EXPECT_EQ(NumAssertsReported(), before + 1);
    item->Delete();
}

// A pose command at a time where the bone has no key: the key it makes is removed again and
// the first key comes back; other keys stay as they were.
TEST_F(UndoItems, FrameUndoRemovesTheKeyItsCommandMade) {
    cnode* calf = bipani.bones[kSlotRCalf];
    calf->anim.SetKey(Key(20, 1.0f, 15.0f));
    Interface::SetAnimTime(10);
    const auto saved = KeysOf(calf);
    auto* item = new BipFrameUndo("Biped Pose", bipani.bones, kNumSlots);
    EXPECT_STREQ(item->GetName(), "Biped Pose");
    EXPECT_EQ(item->GetType(), 1000);
    EXPECT_EQ(item->GetTime(), 10);

    Interface::SetAnimOn(1);
    calf->SetRotation(10, QuatFromAngleAxis(50.0f, MakePt3(0, 0, 1)));
    ckey first;
    calf->anim.GetKeyAt(0, first);
    first.rot = QuatFromAngleAxis(-30.0f, MakePt3(1, 0, 0));
    calf->anim.SetKeyAt(0, first, 1);
    ASSERT_EQ(calf->anim.NumKeys(), 3);

    EXPECT_EQ(item->Restore(), 1);
    ExpectSameTrack(calf, saved);
    calf->SetRotation(10, QuatFromAngleAxis(50.0f, MakePt3(0, 0, 1)));
    EXPECT_EQ(item->Restore(), 1);
    ExpectSameTrack(calf, saved);
    item->Delete();
}

TEST_F(UndoItems, FrameUndoAtTheFirstKeysTimeWritesItBack) {
    Interface::SetAnimTime(0);
    const auto saved = SaveAll();
    auto* item = new BipFrameUndo("Biped Align", bipani.bones, kNumSlots);
    Interface::SetAnimOn(1);
    for (cnode* b : bipani.bones)
        if (b) b->SetRotation(0, QuatFromAngleAxis(33.0f, MakePt3(0, 1, 0)));
    item->Restore();
    ExpectAllAsSaved(saved);
    item->Delete();
}

// A key made before a track's first key becomes its first: the old first key must neither be
// overwritten by it nor doubled.
TEST_F(UndoItems, FrameUndoBeforeTheFirstKeyKeepsTheTrack) {
    cnode* foot = bipani.bones[kSlotRFoot];
    foot->anim.SetNumKeys(2, 1);
    foot->anim.SetKeyAt(0, Key(10, 1.0f, 5.0f), 0);
    foot->anim.SetKeyAt(1, Key(20, 2.0f, 6.0f), 0);
    Interface::SetAnimTime(4);
    const auto saved = KeysOf(foot);
    auto* item = new BipFrameUndo("Biped Pose", bipani.bones, kNumSlots);
    foot->anim.SetKey(Key(4, 7.0f, 70.0f));
    item->Restore();
    ExpectSameTrack(foot, saved);
    item->Delete();
}

TEST_F(UndoItems, FrameUndoForABipedWithoutFingersStillHasData) {
    bindtest::ResetTool();
    qv::ResetScene();
    buildtest::ApplyCounts({.fingers = 0, .toes = 0});
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01 Head")), 1);
    auto* item = new BipFrameUndo("Biped Hand(s) Pose", bipani.bones, kNumSlots);
    EXPECT_EQ(item->NumRecords(), buildtest::ExpectedBoneCount({.fingers = 0, .toes = 0}));
    EXPECT_LT(item->NumRecords(), kNumSlots);
    EXPECT_EQ(item->HasData(), 1);

    // Without its records the item restores nothing.
    item->FreeData();
    EXPECT_EQ(item->HasData(), 0);
    cnode* head = bipani.bones[kSlotHead];
    head->anim.SetKey(Key(0, 3.0f, 3.0f));
    const auto changed = KeysOf(head);
    item->Restore();
    ExpectSameTrack(head, changed);
    item->Delete();
}

TEST_F(UndoItems, UndoAndRedoThroughTheHostGiveBothStatesBack) {
    Interface::SetAnimTime(12);
    const auto before = SaveAll();
    theUndo.BeginGeneric(new BipFrameUndo("Biped Pose", bipani.bones, kNumSlots));
    Interface::SetAnimOn(1);
    for (cnode* b : bipani.bones)
        if (b) b->SetRotation(12, QuatFromAngleAxis(20.0f, MakePt3(0, 0, 1)));
    Interface::SetAnimOn(0);
    theUndo.End();
    const auto posed = SaveAll();
    ASSERT_EQ(theUndo.GetLevelType(theUndo.NumLevels() - 1), 1000);

    ASSERT_EQ(theUndo.Undo(), 1);
    ExpectAllAsSaved(before);
    ASSERT_EQ(theUndo.Redo(), 1);
    ExpectAllAsSaved(posed);
    ASSERT_EQ(theUndo.Undo(), 1);
    ExpectAllAsSaved(before);
}

TEST_F(UndoItems, WholeTrackCommandUndoneAndRedoneThroughTheHost) {
    KeyEveryBone();
    const auto before = SaveAll();
    BipAnimUndo* item = NewBipAnimUndo("Biped Mirror Keyframes", bipani.bones, kNumSlots);
    ScrambleTracks();
    theUndo.BeginGeneric(item);  // whole-track commands hand the item over afterwards
    const auto after = SaveAll();

    ASSERT_EQ(theUndo.Undo(), 1);
    ExpectAllAsSaved(before);
    ASSERT_EQ(theUndo.Redo(), 1);
    ExpectAllAsSaved(after);
}

}  // namespace
