// The host's item for nodes added to the scene: undo takes them out, redo puts the very same
// nodes back, and the nodes are freed exactly when a level is dropped while they are out.
#include "core_test_support.h"

namespace {

using AddedNodes = SceneTest;

// A bone that counts its own destruction.
class CountedBone : public cbone {
public:
    explicit CountedBone(int* destroyed) : destroyed_(destroyed) {}
    ~CountedBone() override { ++*destroyed_; }
private:
    int* destroyed_;
};

// A parent and its child added to the scene as one level, the way a tool hands nodes over.
struct AddedPair {
    int destroyed = 0;
    cnode* nodes[2] = {};
    AddedPair() {
        nodes[0] = new CountedBone(&destroyed);
        nodes[1] = new CountedBone(&destroyed);
        nodes[0]->SetName("Parent");
        nodes[1]->SetName("Child");
        nodes[0]->Attach(nodes[1], 0);
        Interface::AddNodeArrayToScene(nodes, 2, 0);
        UndoItem* item = NewAddedNodesUndo(nodes, 2);
        item->SetName("Add Pair");
        theUndo.BeginGeneric(item);
        theUndo.End();
    }
};

TEST_F(AddedNodes, UndoTakesThemOutAndRedoPutsTheSameNodesBackInOrderWithTheirHierarchy) {
    AddedPair pair;
    Interface::Select(pair.nodes[1]);
    ASSERT_EQ(theUndo.Undo(), 1);  // the selection
    ASSERT_EQ(theUndo.Undo(), 1);  // the pair
    EXPECT_EQ(Interface::NumNodes(), 0);
    EXPECT_EQ(pair.destroyed, 0);  // out of the scene, kept by the item
    EXPECT_EQ(theUndo.GetRedoLevelName(1), std::string("Add Pair"));
    ASSERT_EQ(theUndo.Redo(), 1);
    ASSERT_EQ(theUndo.Redo(), 1);
    ASSERT_EQ(Interface::NumNodes(), 2);
    EXPECT_EQ(Interface::GetNodeAt(0), pair.nodes[0]);
    EXPECT_EQ(Interface::GetNodeAt(1), pair.nodes[1]);
    EXPECT_EQ(pair.nodes[1]->GetParent(), pair.nodes[0]);
    EXPECT_EQ(Interface::GetSelNode(), pair.nodes[1]);
    // Undone and redone again: the item survives repeated use.
    ASSERT_EQ(theUndo.Undo(), 1);
    ASSERT_EQ(theUndo.Undo(), 1);
    ASSERT_EQ(theUndo.Redo(), 1);
    EXPECT_EQ(Interface::NumNodes(), 2);
    EXPECT_EQ(pair.destroyed, 0);
}

TEST_F(AddedNodes, NodesAreFreedOnceWhenTheirLevelIsDroppedWhileTheyAreOut) {
    enum class Ending { NewLevel, ClearHistory, ResetScene };
    struct Case {
        const char* what;
        bool undone;
        Ending ending;
        int destroyed;  // by the ending alone
    };
    const Case cases[] = {
        {"undone, then new work drops the redo level", true, Ending::NewLevel, 2},
        {"undone, then the history is cleared", true, Ending::ClearHistory, 2},
        {"undone, then a new scene", true, Ending::ResetScene, 2},
        {"in the scene, history cleared: the scene keeps them", false, Ending::ClearHistory, 0},
        {"in the scene, then a new scene: disposed of once, by the scene", false,
         Ending::ResetScene, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AddedPair pair;
        if (c.undone) {
            ASSERT_EQ(theUndo.Undo(), 1);
        }
        switch (c.ending) {
            case Ending::NewLevel: theUndo.BeginGeneric(nullptr); theUndo.End(); break;
            case Ending::ClearHistory: theUndo.Clear(); break;
            case Ending::ResetScene: qv::ResetScene(); break;
        }
        EXPECT_EQ(pair.destroyed, c.destroyed);
        EXPECT_EQ(Interface::NumNodes(), c.destroyed == 0 ? 2 : 0);
        qv::ResetScene();  // nodes still in the scene count into `pair` while it lives
    }
}

}  // namespace
