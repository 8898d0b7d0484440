// Creating a biped is one undo level: undo takes the whole biped out of the scene, redo brings
// back the same bones, whichever way the creation tool handed the biped over.
#include "session_fixture.h"

#include "quorvane/interface.h"

namespace qvapp::test {
namespace {

using CreateUndo = SessionTest;

// Every node of the dump whose name is the prefix or starts with it and a blank.
std::vector<std::string> BipedNames(const Json& dump, const std::string& prefix) {
    std::vector<std::string> names;
    for (const std::string& name : NodeNames(dump))
        if (name == prefix || name.rfind(prefix + " ", 0) == 0) names.push_back(name);
    return names;
}

TEST_F(CreateUndo, UndoTakesTheBipedOutAndRedoBringsBackTheSameBones) {
    // A biped of its own shape and colour, so that redo has more than defaults to bring back.
    const std::string make =
        "create \"Bones\" \"Biped\"\n" + kCreationPanelDefaults +
        "drag 1 2 3.05 5\ntype \"Num Fingers:\" 2\n"
        "press \"#1111\"\ntype \"Red:\" 200\ntype \"Green:\" 10\ntype \"Blue:\" 30\npress \"OK\"\n";
    struct Case {
        const char* handOver;  // the lines that hand the biped over
        int levelsToUndo;      // undo levels that take it out again, "Create Biped" last
    };
    const Case cases[] = {
        // Closing the panel hands it over and selects the root; one undo takes it away.
        {"close\n", 1},
        // The next drag hands it over before building another; that drag's deselection comes
        // first, then the creation.
        {"drag 6 0 3 5 cancel\nclose\n", 2},
        // Selecting the biped under construction in the viewport hands it over.
        {"click \"Bip01 Head\"\nclose\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handOver);
        ASSERT_EQ(Run("new\n" + make + c.handOver), 0) << Error();
        const Json made = Dump();
        const std::vector<std::string> names = BipedNames(made, "Bip01");
        ASSERT_EQ(names.size(), 1u + 18 + 3 + 2 * 2 * 3 + 2 * 5 * 3);
        const Json& levels = made["undo"];
        ASSERT_GE(levels.size(), static_cast<size_t>(c.levelsToUndo));
        EXPECT_EQ(levels[levels.size() - c.levelsToUndo], "Create Biped") << levels.dump();
        cnode* root = Interface::FindNode("Bip01");
        cnode* hand = Interface::FindNode("Bip01 R Hand");

        const Json undone = RunAndDump("undo " + std::to_string(c.levelsToUndo) + "\n");
        EXPECT_TRUE(BipedNames(undone, "Bip01").empty()) << undone["nodes"].dump();
        EXPECT_EQ(undone["redo"].back(), "Create Biped");  // the next one redone
        EXPECT_TRUE(undone["selection"].empty());

        const Json redone = RunAndDump("redo " + std::to_string(c.levelsToUndo) + "\n");
        EXPECT_EQ(redone["nodes"], made["nodes"]);  // names, hierarchy, colours, IK, keys
        EXPECT_EQ(redone["selection"], made["selection"]);
        EXPECT_EQ(redone["undo"], made["undo"]);
        EXPECT_EQ(Interface::FindNode("Bip01"), root);  // the very same nodes
        EXPECT_EQ(Interface::FindNode("Bip01 R Hand"), hand);
    }
    ASSERT_EQ(Run("create \"Bones\" \"Biped\"\n" + kCreationPanelDefaults + "close\n"), 0)
        << Error();
}

TEST_F(CreateUndo, AnUndoneBipedLeavesRoomForTheNextOneUnderTheSamePrefix) {
    // The undone bones wait in the redo history; new work drops them, and the next biped is
    // Bip01 again rather than Bip02.
    const Json first = RunAndDump("create \"Bones\" \"Biped\"\ndrag 0 0 4.88 8\nclose\n");
    ASSERT_EQ(Run("undo\nbone \"Marker\"\nselect \"Marker\"\n"
                  "create \"Bones\" \"Biped\"\ndrag 0 0 4.88 8\nclose\n"), 0) << Error();
    const Json d = Dump();
    EXPECT_EQ(BipedNames(d, "Bip01"), BipedNames(first, "Bip01"));
    EXPECT_TRUE(BipedNames(d, "Bip02").empty());
    EXPECT_TRUE(d["redo"].empty());
}

}  // namespace
}  // namespace qvapp::test
