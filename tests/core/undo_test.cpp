// The undo manager: levels and their types, undo/redo of items that only know how to
// restore, repeated restores, redo cleared by new work, selection and transform levels.
#include <cstring>

#include "core_test_support.h"

namespace {

using UndoRedo = SceneTest;
using HostTransform = SceneTest;

// A plug-in style item: saves one node's track when made, writes it back on Restore.
class TrackItem : public UndoItem {
public:
    TrackItem(cnode* n, int* deletions = nullptr)
        : node_(n), keys_(n->anim.Keys()), deletions_(deletions) {
        SetName("Test Change");
        SetType(1000);
    }
    int Restore() override {
        ++restores;
        node_->anim.SetNumKeys(static_cast<int>(keys_.size()), 1);
        for (size_t i = 0; i < keys_.size(); ++i)
            node_->anim.SetKeyAt(static_cast<int>(i), keys_[i], 0);
        return 1;
    }
    void Delete() override {
        if (deletions_) ++*deletions_;
        delete this;
    }
    int HasData() override { return 1; }
    int restores = 0;
private:
    cnode* node_;
    std::vector<ckey> keys_;
    int* deletions_;
};

void KeyAt(cnode* n, int t, float x) {
    ckey k;
    k.time = t;
    k.pos = {x, 0, 0};
    n->anim.SetKey(k);
}

float XAt(cnode* n, int t) { return n->GetPosition(t).x; }

}  // namespace

TEST_F(UndoRedo, LevelsCloseOnBeginGenericAndTheirItemsRestoreNewestFirst) {
    cbone* n = AddBone("n");
    KeyAt(n, 0, 1);
    theUndo.BeginGeneric(new TrackItem(n));
    KeyAt(n, 0, 2);
    theUndo.Add(new TrackItem(n));  // joins the open level; saves 2, restored before the 1
    KeyAt(n, 0, 3);
    EXPECT_EQ(theUndo.IsOpen(), 1);
    theUndo.BeginGeneric(nullptr);  // closes the first, opens a level without items
    theUndo.End();
    EXPECT_EQ(theUndo.IsOpen(), 0);
    theUndo.Add(new TrackItem(n));  // opens a level of its own
    theUndo.End();
    ASSERT_EQ(theUndo.NumLevels(), 3);
    EXPECT_EQ(theUndo.GetLevelType(0), 1000);
    EXPECT_STREQ(theUndo.GetLevelName(0), "Test Change");
    EXPECT_EQ(theUndo.GetLevelType(1), 0);
    EXPECT_EQ(theUndo.GetLevelType(3), -1);
    EXPECT_EQ(theUndo.GetLevelType(-1), -1);
    for (int i = 0; i < 3; ++i) theUndo.Undo();
    EXPECT_FLOAT_EQ(XAt(n, 0), 1);
}

TEST_F(UndoRedo, UndoRestoresAndRedoPutsTheChangeBackTwice) {
    cbone* n = AddBone("n");
    KeyAt(n, 0, 1);
    auto* item = new TrackItem(n);
    theUndo.BeginGeneric(item);
    KeyAt(n, 0, 5);
    KeyAt(n, 10, 9);
    theUndo.End();
    events.clear();
    for (int round = 1; round <= 2; ++round) {  // the same item is restored a second time
        ASSERT_EQ(theUndo.Undo(), 1);
        EXPECT_EQ(item->restores, round);
        EXPECT_EQ(n->anim.NumKeys(), 1);
        EXPECT_FLOAT_EQ(XAt(n, 0), 1);
        EXPECT_EQ(theUndo.NumLevels(), 0);
        ASSERT_EQ(theUndo.NumRedoLevels(), 1);
        EXPECT_STREQ(theUndo.GetRedoLevelName(0), "Test Change");
        ASSERT_EQ(theUndo.Redo(), 1);
        EXPECT_EQ(n->anim.NumKeys(), 2);
        EXPECT_FLOAT_EQ(XAt(n, 0), 5);
        EXPECT_FLOAT_EQ(XAt(n, 10), 9);
    }
    EXPECT_EQ(events, (std::vector<unsigned long>{30, 31, 30, 31, 30, 31, 30, 31}));
    EXPECT_EQ(theUndo.Redo(), 0);
}

TEST_F(UndoRedo, NewLevelDeletesTheRedoItems) {
    cbone* n = AddBone("n");
    int deletions = 0;
    theUndo.BeginGeneric(new TrackItem(n, &deletions));
    theUndo.End();
    theUndo.Undo();
    EXPECT_EQ(deletions, 0);
    theUndo.BeginGeneric(new TrackItem(n, &deletions));
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(theUndo.NumRedoLevels(), 0);
    EXPECT_EQ(theUndo.Redo(), 0);
    theUndo.Clear();
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(theUndo.NumLevels(), 0);
    EXPECT_EQ(theUndo.Undo(), 0);
}

TEST_F(UndoRedo, SelectionLevelsRestoreTheSelectionInsideTheUndoEvents) {
    cbone* a = AddBone("a");
    cbone* b = AddBone("b");
    Interface::Select(a);
    Interface::Select(b);
    events.clear();
    theUndo.Undo();
    EXPECT_EQ(qv::Selection(), std::vector<cnode*>{a});
    EXPECT_EQ(b->GetFlags() & QV_FLAG_SELECTED, 0u);
    EXPECT_EQ(events, (std::vector<unsigned long>{30, 33, kSelectionHook, 31}));
    events.clear();
    theUndo.Redo();
    EXPECT_EQ(qv::Selection(), (std::vector<cnode*>{a, b}));
    EXPECT_EQ(events, (std::vector<unsigned long>{30, 33, kSelectionHook, 31}));
    // An undo that leaves the selection as it was does not report a selection change.
    theUndo.BeginGeneric(new TrackItem(a));
    theUndo.End();
    events.clear();
    theUndo.Undo();
    EXPECT_EQ(events, (std::vector<unsigned long>{30, 31}));
}

TEST_F(UndoRedo, ToolSeesTheLevelBeingUndoneAsTheNewestAtTheBeginEvent) {
    cbone* a = AddBone("a");
    theUndo.BeginGeneric(new TrackItem(a));
    theUndo.End();
    Interface::Select(a);  // newest level: a selection change
    std::vector<int> newestAtBegin;
    qv::Hooks().notifyTool = [&](unsigned long e, unsigned long, unsigned long, void*) {
        if (e == QV_EVENT_UNDO_BEGIN)
            newestAtBegin.push_back(theUndo.GetLevelType(theUndo.NumLevels() - 1));
    };
    theUndo.Undo();
    theUndo.Undo();
    qv::Hooks().notifyTool = nullptr;
    EXPECT_EQ(newestAtBegin, (std::vector<int>{QV_UNDO_SELECTION, 1000}));
}

TEST_F(HostTransform, OneDragIsOneLevelAndUndoesToTheStart) {
    cbone* n = AddBone("n", nullptr, {1, 0, 0});
    cbone* child = AddBone("child", n, {0, 1, 0});
    Interface::StartTransform(QV_XFORM_MOVE);  // nothing selected: nothing to undo
    Interface::EndTransform(QV_XFORM_MOVE);
    EXPECT_EQ(theUndo.NumLevels(), 0);
    Interface::Select(n);
    Interface::Select(child);  // follows n: moved once, not twice
    events.clear();
    Interface::StartTransform(QV_XFORM_MOVE);
    Interface::Move({1, 0, 0}, 0, 0);
    Interface::Move({1, 0, 2}, 0, 0);
    Interface::EndTransform(QV_XFORM_MOVE);
    EXPECT_EQ(events, (std::vector<unsigned long>{20, 20}));
    EXPECT_TRUE(PointNear(n->GetPosition(0), {3, 0, 2}, kFloatTol));
    EXPECT_TRUE(PointNear(child->GetPosition(0), {3, 1, 2}, kFloatTol));
    ASSERT_EQ(theUndo.NumLevels(), 3);
    EXPECT_STREQ(theUndo.GetLevelName(2), "Move");
    theUndo.Undo();
    EXPECT_TRUE(PointNear(n->GetPosition(0), {1, 0, 0}, kFloatTol));
    theUndo.Redo();
    EXPECT_TRUE(PointNear(n->GetPosition(0), {3, 0, 2}, kFloatTol));
}

TEST_F(HostTransform, RotateTurnsAboutTheNodesOwnPositionAndTypedValuesSetIt) {
    cbone* n = AddBone("n", nullptr, {5, 0, 0});
    cbone* child = AddBone("child", n, {1, 0, 0});
    Interface::Select(n);
    Interface::StartTransform(QV_XFORM_ROTATE);
    Interface::Rotate(QuatFromAngleAxis(90, {0, 0, 1}));
    Interface::EndTransform(QV_XFORM_ROTATE);
    EXPECT_TRUE(PointNear(n->GetPosition(0), {5, 0, 0}, kFloatTol));
    EXPECT_TRUE(PointNear(child->GetPosition(0), {5, -1, 0}, kFloatTol));
    EXPECT_STREQ(theUndo.GetLevelName(theUndo.NumLevels() - 1), "Rotate");
    Interface::SetRotation({0, 0, 0}, 1);
    Interface::SetPosition({0, 0, 7}, 0, 1, 0);
    EXPECT_TRUE(PointNear(child->GetPosition(0), {1, 0, 7}, kFloatTol));
    Interface::SetScale({2, 2, 2}, 1);
    Interface::Scale({1.5f, 1, 1});
    EXPECT_TRUE(PointNear(n->GetScale(0), {3, 2, 2}, kFloatTol));
}

// A tool that follows each step on another node (as anchors re-solve a leg) changes that node
// inside the host's level: undo gives back every changed track exactly, not only the selection,
// and a later change outside the drag is not swept into it.
TEST_F(HostTransform, LevelHoldsEveryTrackChangedDuringTheDrag) {
    cbone* moved = AddBone("moved", nullptr, {1, 0, 0});
    cbone* follower = AddBone("follower", nullptr, {0, 2, 0});
    cbone* bystander = AddBone("bystander", nullptr, {0, 0, 3});
    KeyAt(follower, 10, 4.25f);
    const auto followerBefore = follower->anim.Keys();
    qv::Hooks().notifyTool = [&](unsigned long e, unsigned long, unsigned long, void*) {
        if (e != QV_EVENT_SCENE_CHANGED) return;
        follower->SetRotation(0, QuatFromAngleAxis(7, {1, 0, 0}) * follower->GetRotation(0));
    };
    Interface::Select(moved);
    Interface::StartTransform(QV_XFORM_MOVE);
    Interface::Move({1, 0, 0}, 0, 0);
    Interface::Move({0, 1, 0}, 0, 0);
    Interface::EndTransform(QV_XFORM_MOVE);
    qv::Hooks().notifyTool = nullptr;
    const auto followerAfter = follower->anim.Keys();
    ASSERT_NE(followerAfter[0].rot.x, followerBefore[0].rot.x);
    KeyAt(bystander, 0, 9);  // after the level closed: not part of it

    ASSERT_EQ(theUndo.Undo(), 1);
    EXPECT_TRUE(PointNear(moved->GetPosition(0), {1, 0, 0}, 0.0f));
    ASSERT_EQ(follower->anim.Keys().size(), followerBefore.size());
    EXPECT_EQ(std::memcmp(follower->anim.Keys().data(), followerBefore.data(),
                          followerBefore.size() * sizeof(ckey)), 0);
    EXPECT_EQ(XAt(bystander, 0), 9.0f);
    ASSERT_EQ(theUndo.Redo(), 1);
    EXPECT_EQ(std::memcmp(follower->anim.Keys().data(), followerAfter.data(),
                          followerAfter.size() * sizeof(ckey)), 0);
}
