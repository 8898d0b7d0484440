// Opening and closing tools, their panels in the dump, panel commands, and drag creation with
// the Biped creation tool.
#include "session_fixture.h"

namespace qvapp::test {
namespace {

constexpr int kCreatePanelDialog = 1157;
constexpr int kHeightEdit = 1006;
constexpr float kHeightTolerance = 1e-3f;  // host units: the builder scales in floats

Json Control(const Json& dump, int id) {
    for (const Json& c : dump["panel"]["controls"])
        if (c["id"] == id) return c;
    return nullptr;
}

// Vertical extent of the bone positions under the preview node: feet to the base of the head.
float SpanOfMembers(const Json& preview) {
    float top = -1e30f, bottom = 1e30f;
    for (const Json& m : preview["members"]) {
        top = std::max(top, m["world"]["pos"][2].get<float>());
        bottom = std::min(bottom, m["world"]["pos"][2].get<float>());
    }
    return top - bottom;
}

using Tools = SessionTest;

TEST_F(Tools, CreateOpensThePanelAndCloseClosesIt) {
    Json d = RunAndDump("create \"Bones\" \"Biped\"\n");
    EXPECT_EQ(d["tool"], "Biped");
    ASSERT_TRUE(d["panel"].is_object());
    EXPECT_EQ(d["panel"]["dialog"], kCreatePanelDialog);
    EXPECT_FALSE(Control(d, kHeightEdit).is_null());
    Json closed = RunAndDump("close\n");
    EXPECT_TRUE(closed["tool"].is_null());
    EXPECT_TRUE(closed["panel"].is_null());
}

TEST_F(Tools, UnknownToolsAndCloseWithoutToolAreErrors) {
    EXPECT_EQ(Run("create \"Bones\" \"Quadruped\"\n"), 1);
    EXPECT_NE(Error().find("Quadruped"), std::string::npos);
    EXPECT_EQ(Run("create \"Lights\" \"Biped\"\n"), 1);  // the right name in another category
    EXPECT_EQ(Run("close\n"), 1);
    EXPECT_NE(Error().find("no tool is open"), std::string::npos);
}

TEST_F(Tools, ModifyRefusesAPlainBone) {
    EXPECT_EQ(Run("bone \"Arm\"\nselect \"Arm\"\nmodify \"Biped\"\n"), 1);
    EXPECT_EQ(Error(), "test.qvs:3: modify: tool \"Biped\" refuses the selection");
    EXPECT_TRUE(Dump()["tool"].is_null());
}

TEST_F(Tools, ModifyNeedsExactlyOneSelectedNode) {
    EXPECT_EQ(Run("bone \"A\"\nbone \"B\"\nselect \"A\" \"B\"\nmodify \"Biped\"\n"), 1);
    EXPECT_NE(Error().find("exactly one"), std::string::npos) << Error();
}

TEST_F(Tools, TypedHeightReachesThePanel) {
    Json d = RunAndDump("create \"Bones\" \"Biped\"\ntype \"Height:\" \"6.5\"\n");
    EXPECT_EQ(Control(d, kHeightEdit)["text"].get<std::string>().rfind("6.5", 0), 0u);
    EXPECT_EQ(Run("type \"No Such Field:\" \"1\"\n"), 1);
}

TEST_F(Tools, DragBuildsABipedOfTheDraggedHeightInThePreview) {
    Json d = RunAndDump("create \"Bones\" \"Biped\"\ndrag 2 3 0 5\n");
    Json preview = NodeNamed(d, "Biped");
    ASSERT_FALSE(preview.is_null()) << d.dump(1);
    ASSERT_TRUE(preview.contains("members"));
    ASSERT_FALSE(preview["members"].empty());
    Json root = preview["members"][0];
    EXPECT_EQ(root["name"], "Bip01");
    EXPECT_NEAR(root["world"]["pos"][0].get<float>(), 2.0f, kHeightTolerance);
    EXPECT_NEAR(root["world"]["pos"][1].get<float>(), 3.0f, kHeightTolerance);
    // Bone positions stop at the base of the head, so they span most but not all of the height.
    EXPECT_LE(SpanOfMembers(preview), 5.0f + kHeightTolerance);
    EXPECT_GT(SpanOfMembers(preview), 0.8f * 5.0f);
}

TEST_F(Tools, CancelledDragLeavesNothingInTheScene) {
    Json d = RunAndDump("create \"Bones\" \"Biped\"\ndrag 0 0 0 5 cancel\n");
    EXPECT_TRUE(d["nodes"].empty()) << d["nodes"].dump(1);
}

TEST_F(Tools, ClosingTheCreationToolHandsTheBipedToTheScene) {
    Json d = RunAndDump("create \"Bones\" \"Biped\"\ndrag 0 0 0 5\nclose\n");
    EXPECT_TRUE(NodeNamed(d, "Biped").is_null());
    EXPECT_FALSE(NodeNamed(d, "Bip01").is_null());
    EXPECT_FALSE(NodeNamed(d, "Bip01 Pelvis").is_null());
}

TEST_F(Tools, DeletingThePreviewNodeTakesItOutOfTheScene) {
    Json d = RunAndDump("create \"Bones\" \"Biped\"\ndrag 0 0 0 5\ndelete \"Biped\"\n");
    EXPECT_TRUE(d["nodes"].empty()) << d["nodes"].dump(1);
}

TEST_F(Tools, DragWithoutCreationToolIsAnError) {
    EXPECT_EQ(Run("drag 0 0 0 5\n"), 1);
    EXPECT_NE(Error().find("no creation tool"), std::string::npos);
}

}  // namespace
}  // namespace qvapp::test
