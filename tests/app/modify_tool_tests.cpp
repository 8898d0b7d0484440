// The modify tool's life in the program: opened on a biped bone, re-asked after each selection
// change (click, select, undo), closed when the selection stops suiting it, and transforms routed
// through the callback it installs.
#include "session_fixture.h"

namespace qvapp::test {
namespace {

constexpr int kModifyPanelDialog = 1158;

const std::string kBipedOpen =
    "create \"Bones\" \"Biped\"\ndrag 0 0 0 5\nclose\n"
    "select \"Bip01 R UpperArm\"\nmodify \"Biped\"\n";

Json FirstKeyRotation(const Json& dump, const std::string& node) {
    return NodeNamed(dump, node)["keys"][0]["rot"];
}

using ModifyTool = SessionTest;

TEST_F(ModifyTool, OpensOnABoneOfABipedWithItsPanel) {
    Json d = RunAndDump(kBipedOpen);
    EXPECT_EQ(d["tool"], "Biped");
    EXPECT_EQ(d["panel"]["dialog"], kModifyPanelDialog);
}

TEST_F(ModifyTool, AClickOnAnotherBoneOfTheBipedKeepsItOpen) {
    Json d = RunAndDump(kBipedOpen + "click \"Bip01 L Calf\"\n");
    EXPECT_EQ(d["selection"], Json::array({"Bip01 L Calf"}));
    EXPECT_EQ(d["tool"], "Biped");
}

TEST_F(ModifyTool, SelectingAPlainBoneClosesIt) {
    Json d = RunAndDump(kBipedOpen + "bone \"Prop\" 9 0 0\nselect \"Prop\"\n");
    EXPECT_TRUE(d["tool"].is_null());
    EXPECT_TRUE(d["panel"].is_null());
}

TEST_F(ModifyTool, SelectingTwoBonesClosesIt) {
    Json d = RunAndDump(kBipedOpen + "select \"Bip01 L Calf\" \"Bip01 R Calf\"\n");
    EXPECT_TRUE(d["tool"].is_null());
}

TEST_F(ModifyTool, UndoingASelectionKeepsItOpenOnTheEarlierBone) {
    Json d = RunAndDump(kBipedOpen + "select \"Bip01 Pelvis\"\nundo\n");
    EXPECT_EQ(d["selection"], Json::array({"Bip01 R UpperArm"}));
    EXPECT_EQ(d["tool"], "Biped");
}

TEST_F(ModifyTool, RotationsGoThroughTheToolsCallbackWhenAModeIsOn) {
    Json before = RunAndDump(kBipedOpen + "press \"Posture/Symmetrical Rotation\"\n");
    Json after = RunAndDump("rotate 0 0 1 20 steps 2\n");
    EXPECT_EQ(after["undo"].back(), "Biped Symmetrical Rotation");
    EXPECT_NE(FirstKeyRotation(after, "Bip01 L UpperArm"),
              FirstKeyRotation(before, "Bip01 L UpperArm"));  // the mirror bone followed
}

TEST_F(ModifyTool, WithoutAModeTheHostMakesItsOwnLevelAndTheMirrorStays) {
    Json before = RunAndDump(kBipedOpen);
    Json after = RunAndDump("rotate 0 0 1 20\n");
    EXPECT_EQ(after["undo"].back(), "Rotate");
    EXPECT_EQ(FirstKeyRotation(after, "Bip01 L UpperArm"),
              FirstKeyRotation(before, "Bip01 L UpperArm"));
}

TEST_F(ModifyTool, DeletingABoneOfTheBoundBipedRebindsAndForgetsTheHistory) {
    Json d = RunAndDump(kBipedOpen + "press \"Symmetrical Rotation\"\nrotate 1 0 0 20\n"
                                     "delete \"Bip01 L Forearm\"\nrotate 1 0 0 20\n");
    EXPECT_EQ(d["tool"], "Biped");
    EXPECT_TRUE(NodeNamed(d, "Bip01 L Forearm").is_null());
    // Only the rotation after the delete can be undone; the arm can no longer be anchored.
    EXPECT_EQ(d["undo"], Json::array({"Rotate"}));
    for (const Json& c : d["panel"]["controls"]) {
        if (c["id"] == 1113) {
            EXPECT_FALSE(c["enabled"].get<bool>()) << "\"Left Hand\" anchor";
        }
    }
}

TEST_F(ModifyTool, SkinToolRefusesABone) {
    EXPECT_EQ(Run(kBipedOpen + "modify \"Biped - Mirror Weights\"\n"), 1);
    EXPECT_NE(Error().find("refuses the selection"), std::string::npos) << Error();
    EXPECT_EQ(Dump()["tool"], "Biped");  // the open tool stays when another one refuses
}

}  // namespace
}  // namespace qvapp::test
