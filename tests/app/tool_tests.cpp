// Opening and closing tools, their panels in the dump, panel commands, and drag creation with
// the Biped creation tool; the modify tool opened on a biped bone and re-asked after each
// selection change (click, select, undo), and transforms routed through its callback.
#include <algorithm>

#include "session_fixture.h"

namespace qvapp::test {
namespace {

constexpr float kHeightTolerance = 1e-3f;  // host units: the builder scales in floats

Json Control(const Json& dump, int id) {
    for (const Json& c : dump["panel"]["controls"])
        if (c["id"] == id) return c;
    return nullptr;
}

using Tools = SessionTest;

TEST_F(Tools, CreateOpensThePanelAndTypedFieldsReachIt) {
    Json d = RunAndDump("create \"Bones\" \"Biped\"\ntype \"Height:\" \"6.5\"\n");
    EXPECT_EQ(d["tool"], "Biped");
    EXPECT_EQ(d["panel"]["dialog"], 1157);
    EXPECT_EQ(Control(d, 1006)["text"].get<std::string>().rfind("6.5", 0), 0u);
    EXPECT_EQ(Run("type \"No Such Field:\" \"1\"\n"), 1);
    Json closed = RunAndDump("close\n");
    EXPECT_TRUE(closed["tool"].is_null());
    EXPECT_TRUE(closed["panel"].is_null());
}

TEST_F(Tools, UnknownToolsAndCommandsWithoutTheirToolAreErrors) {
    const std::pair<const char*, const char*> bad[] = {
        {"create \"Bones\" \"Quadruped\"", "Quadruped"},
        {"create \"Lights\" \"Biped\"", "Biped"},  // the right name in another category
        {"close", "no tool is open"},
        {"drag 0 0 0 5", "no creation tool"},
        {"bone \"A\"\nbone \"B\"\nselect \"A\" \"B\"\nmodify \"Biped\"", "exactly one"},
    };
    for (const auto& [script, message] : bad) {
        EXPECT_EQ(Run(std::string(script) + "\n"), 1) << script;
        EXPECT_NE(Error().find(message), std::string::npos) << Error();
    }
    EXPECT_EQ(Run("bone \"Arm\"\nselect \"Arm\"\nmodify \"Biped\"\n"), 1);
    EXPECT_EQ(Error(), "test.qvs:3: modify: tool \"Biped\" refuses the selection");
    EXPECT_TRUE(Dump()["tool"].is_null());
}

TEST_F(Tools, DragBuildsABipedOfTheDraggedHeightWhichClosingHandsToTheScene) {
    Json d = RunAndDump("create \"Bones\" \"Biped\"\ndrag 2 3 0 5\n");
    Json preview = NodeNamed(d, "Biped");
    ASSERT_FALSE(preview.is_null()) << d.dump(1);
    ASSERT_FALSE(preview["members"].empty());
    Json root = preview["members"][0];
    EXPECT_EQ(root["name"], "Bip01");
    EXPECT_NEAR(root["world"]["pos"][0].get<float>(), 2.0f, kHeightTolerance);
    EXPECT_NEAR(root["world"]["pos"][1].get<float>(), 3.0f, kHeightTolerance);
    // Bone positions stop at the base of the head, so they span most but not all of the height.
    float top = -1e30f, bottom = 1e30f;
    for (const Json& m : preview["members"]) {
        top = std::max(top, m["world"]["pos"][2].get<float>());
        bottom = std::min(bottom, m["world"]["pos"][2].get<float>());
    }
    EXPECT_LE(top - bottom, 5.0f + kHeightTolerance);
    EXPECT_GT(top - bottom, 0.8f * 5.0f);
    d = RunAndDump("close\n");
    EXPECT_TRUE(NodeNamed(d, "Biped").is_null());
    EXPECT_FALSE(NodeNamed(d, "Bip01 Pelvis").is_null());
}

TEST_F(Tools, CancelledDragOrDeletedPreviewLeavesNothingInTheScene) {
    EXPECT_TRUE(RunAndDump("create \"Bones\" \"Biped\"\ndrag 0 0 0 5 cancel\n")["nodes"].empty());
    EXPECT_TRUE(RunAndDump("drag 0 0 0 5\ndelete \"Biped\"\n")["nodes"].empty());
}

const std::string kBipedOpen =
    "create \"Bones\" \"Biped\"\ndrag 0 0 0 5\nclose\nselect \"Bip01 R UpperArm\"\nmodify "
    "\"Biped\"\n";

Json FirstKeyRotation(const Json& dump, const std::string& node) {
    return NodeNamed(dump, node)["keys"][0]["rot"];
}

TEST_F(Tools, ModifyToolStaysOpenWhileTheSelectionSuitsIt) {
    Json d = RunAndDump(kBipedOpen + "click \"Bip01 L Calf\"\n");
    EXPECT_EQ(d["tool"], "Biped");
    EXPECT_EQ(d["panel"]["dialog"], 1158);
    EXPECT_EQ(d["selection"], Json::array({"Bip01 L Calf"}));
    d = RunAndDump("select \"Bip01 Pelvis\"\nundo\n");  // undoing a selection keeps it open
    EXPECT_EQ(d["selection"], Json::array({"Bip01 L Calf"}));
    EXPECT_EQ(d["tool"], "Biped");
    EXPECT_EQ(Run("modify \"Biped - Mirror Weights\"\n"), 1);
    EXPECT_NE(Error().find("refuses the selection"), std::string::npos) << Error();
    EXPECT_EQ(Dump()["tool"], "Biped");  // the open tool stays when another one refuses
    EXPECT_TRUE(RunAndDump("select \"Bip01 L Calf\" \"Bip01 R Calf\"\n")["tool"].is_null());
    d = RunAndDump(
        "select \"Bip01 L Calf\"\nmodify \"Biped\"\nbone \"Prop\" 9 0 0\nselect \"Prop\"\n");
    EXPECT_TRUE(d["tool"].is_null());
    EXPECT_TRUE(d["panel"].is_null());
}

TEST_F(Tools, RotationsGoThroughTheToolsCallbackOnlyWhenAModeIsOn) {
    Json before = RunAndDump(kBipedOpen);
    Json after = RunAndDump("rotate 0 0 1 20\n");
    EXPECT_EQ(after["undo"].back(), "Rotate");
    EXPECT_EQ(FirstKeyRotation(after, "Bip01 L UpperArm"),
              FirstKeyRotation(before, "Bip01 L UpperArm"));
    after = RunAndDump("press \"Posture/Symmetrical Rotation\"\nrotate 0 0 1 20 steps 2\n");
    EXPECT_EQ(after["undo"].back(), "Biped Symmetrical Rotation");
    EXPECT_NE(FirstKeyRotation(after, "Bip01 L UpperArm"),
              FirstKeyRotation(before, "Bip01 L UpperArm"));
}

TEST_F(Tools, DeletingABoneOfTheBoundBipedRebindsAndForgetsTheHistory) {
    Json d = RunAndDump(kBipedOpen + "press \"Symmetrical Rotation\"\nrotate 1 0 0 20\n"
                                     "delete \"Bip01 L Forearm\"\nrotate 1 0 0 20\n");
    EXPECT_EQ(d["tool"], "Biped");
    EXPECT_TRUE(NodeNamed(d, "Bip01 L Forearm").is_null());
    // Only the rotation after the delete can be undone; the arm can no longer be anchored.
    EXPECT_EQ(d["undo"], Json::array({"Rotate"}));
    EXPECT_FALSE(Control(d, 1113)["enabled"].get<bool>()) << "\"Left Hand\" anchor";
}

}  // namespace
}  // namespace qvapp::test
