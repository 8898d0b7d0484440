// The scene list, selection levels and events, and time settings.
#include "core_test_support.h"

namespace {

using SceneList = SceneTest;
using Selection = SceneTest;

// A node whose disposal does nothing, like a module's reusable preview node.
class KeptNode : public cbone {
public:
    void DeleteThis() override { ++disposals; }
    int disposals = 0;
};

}  // namespace

TEST_F(SceneList, FindNodeMatchesWholeNamesInSceneOrder) {
    cbone* a = AddBone("Bip01 Pelvis");
    cbone* b = AddBone("Bip01");
    AddBone("Bip01");
    EXPECT_EQ(Interface::FindNode("Bip01"), b);
    EXPECT_EQ(Interface::FindNode("Bip01 Pelvis"), a);
    EXPECT_EQ(Interface::FindNode("Bip0"), nullptr);
    EXPECT_EQ(Interface::FindNode(nullptr), nullptr);
}

TEST_F(SceneList, ResetDisposesSceneNodesAndRestoresTheTimeSettings) {
    AddBone("a");
    KeptNode kept;
    Interface::AddToScene(&kept, 0);
    Interface::SetAnimTime(40);
    Interface::SetAnimOn(1);
    Interface::SetAnimEnd(250);
    Interface::SetAnimTPF(0);  // refused: a frame takes some time
    EXPECT_EQ(Interface::GetAnimTPF(), 33);
    qv::ResetScene();
    EXPECT_EQ(Interface::NumNodes(), 0);
    EXPECT_EQ(kept.disposals, 1);
    EXPECT_EQ(GetAnimTime(), 0);
    EXPECT_EQ(Interface::GetAnimEnd(), 100);
    EXPECT_EQ(Interface::IsAnimOn(), 0);
    EXPECT_EQ(theUndo.NumLevels(), 0);
}

TEST_F(Selection, EachChangeIsOneLevelWithEventAndHook) {
    cbone* a = AddBone("a");
    cbone* b = AddBone("b");
    Interface::Select(a);
    Interface::Select(b);
    Interface::Select(b);  // no change, no level
    ASSERT_EQ(theUndo.NumLevels(), 2);
    EXPECT_EQ(theUndo.GetLevelType(1), QV_UNDO_SELECTION);
    EXPECT_EQ(events, (std::vector<unsigned long>{33, kSelectionHook, 33, kSelectionHook}));
    EXPECT_EQ(qv::Selection(), (std::vector<cnode*>{a, b}));
    EXPECT_EQ(Interface::GetSelNode(1), b);
    EXPECT_EQ(Interface::GetSelNode(2), nullptr);
    Interface::DeselectAll();
    Interface::DeselectAll();
    EXPECT_EQ(theUndo.NumLevels(), 3);
    EXPECT_EQ(Interface::NumSelNodes(), 0);
    EXPECT_EQ(a->GetFlags() & QV_FLAG_SELECTED, 0u);
    // A quiet selection makes no level and no event.
    events.clear();
    qv::SetSelectionQuietly({a, a, nullptr});
    EXPECT_EQ(qv::Selection(), std::vector<cnode*>{a});
    EXPECT_EQ(a->GetFlags() & QV_FLAG_SELECTED, unsigned(QV_FLAG_SELECTED));
    EXPECT_EQ(theUndo.NumLevels(), 3);
    EXPECT_TRUE(events.empty());
}

TEST_F(SceneList, TimeChangesAndNotificationsReachTheTool) {
    Interface::SetAnimTime(12);
    EXPECT_EQ(GetAnimTime(), 12);
    Interface::SceneChanged(1);
    Interface::Notify(QV_EVENT_NODE_COLOUR, 0, 0, nullptr);
    EXPECT_EQ(events, (std::vector<unsigned long>{20, 20, 132}));
}
