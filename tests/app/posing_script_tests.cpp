// Every posing button of the modify panel pressed from a session script on an animated biped:
// each is one undo step, and undo and redo give back the whole scene's nodes exactly as they
// were before and after it. Bad input leaves the scene as it was.
#include "session_fixture.h"

namespace qvapp::test {
namespace {

// A biped whose right arm and root are keyed at 0 and 20, the panel open at frame 10.
const std::string kAnimatedBiped =
    "create \"Bones\" \"Biped\"\ndrag 0 0 4.88 8\nclose\n"
    "select \"Bip01 R UpperArm\"\nmodify \"Biped\"\n"
    "anim on\ntime 20\nrotate 1 0 0 50\nclick \"Bip01\"\nmove 0.5 -1 0.2\nanim off\n"
    "time 10\n";

struct Button {
    const char* name;
    const char* prepare;  // lines before the "before" dump
    const char* press;    // the command with its dialog answers
    const char* undoName;
};

const Button kButtons[] = {
    {"BodySkin", "", "press \"Default Body Poses/Skin\"\n", "Biped Pose"},
    {"BodyIdle", "", "press \"Default Body Poses/Idle\"\n", "Biped Pose"},
    {"HandFistBoth", "",
     "press \"Fist\"\npress \"Right Hand\"\npress \"Left Hand\"\npress \"OK\"\n",
     "Biped Hand(s) Pose"},
    {"HandPistolLeft", "", "press \"Pistol\"\npress \"Left Hand\"\npress \"OK\"\n",
     "Biped Hand(s) Pose"},
    {"Paste", "time 20\npress \"Copy\"\ntime 5\n", "press \"Paste\"\npress \"OK\"\n",
     "Biped Paste Posture"},
    {"PasteMirrored", "time 20\npress \"Copy\"\ntime 5\n",
     "press \"Paste Mirrored\"\npress \"OK\"\n", "Biped Paste Posture Mirrored"},
    {"Set", "", "press \"Set\"\npress \"OK\"\n", "Biped Set Posture"},
    {"PostureClear", "time 20\n", "press \"Posture/Clear\"\npress \"OK\"\n",
     "Biped Clear Posture"},
    {"PostureMirror", "", "press \"Posture/Mirror\"\npress \"OK\"\n", "Biped Mirror Posture"},
    {"AnimationMirror", "", "press \"Animation/Mirror\"\npress \"OK\"\n",
     "Biped Mirror Keyframes"},
    {"AnimationClear", "", "press \"Animation/Clear\"\npress \"OK\"\n", "Biped Clear Keyframes"},
    {"SymLeft", "press \"All (Arm)\"\n", "press \"Sym Left\"\n", "Biped Symmetrical Left"},
    {"SymRight", "press \"All (Arm)\"\n", "press \"Sym Right\"\n", "Biped Symmetrical Right"},
    {"OppLeft", "press \"All (Arm)\"\n", "press \"Opp Left\"\n", "Biped Opposite Left"},
    {"OppRight", "press \"All (Arm)\"\npress \"All (Leg)\"\n", "press \"Opp Right\"\n",
     "Biped Opposite Right"},
    {"Align", "choose #1121 \"Bip01 R Hand\"\ntype \"Frame:\" 0\n", "press \"Align\"\n",
     "Biped Align"},
};

class PosingScript : public SessionTest, public testing::WithParamInterface<Button> {};

TEST_P(PosingScript, IsOneUndoStepThatUndoAndRedoRestoreExactly) {
    const Button& b = GetParam();
    const Json before = RunAndDump(kAnimatedBiped + b.prepare);
    const Json after = RunAndDump(b.press);
    ASSERT_FALSE(after["undo"].empty());
    EXPECT_EQ(after["undo"].back(), b.undoName);
    EXPECT_EQ(after["undo"].size(), before["undo"].size() + 1);
    // Whole node lists compared; on failure only the verdict is printed, not the dumps.
    EXPECT_FALSE(after["nodes"] == before["nodes"]) << "the command changed nothing";
    EXPECT_TRUE(RunAndDump("undo\n")["nodes"] == before["nodes"]) << "undo";
    EXPECT_TRUE(RunAndDump("redo\n")["nodes"] == after["nodes"]) << "redo";
    EXPECT_TRUE(RunAndDump("undo\n")["nodes"] == before["nodes"]) << "a second undo";
}

INSTANTIATE_TEST_SUITE_P(Buttons, PosingScript, testing::ValuesIn(kButtons),
                         [](const testing::TestParamInfo<Button>& i) { return i.param.name; });

using PosingBadInput = SessionTest;

// Nothing copied: "Paste" is not offered. Clear at frame 0: the message and nothing else. Align
// with a frame that is no number, or the frame it stands at: nothing.
TEST_F(PosingBadInput, LeavesTheSceneAsItWas) {
    const Json before = RunAndDump(kAnimatedBiped + "time 0\n");
    // The module remembers a copy for its whole life: "Paste" is refused only while no session
    // of this process has copied yet.
    bool pasteOffered = false;
    for (const Json& c : before["panel"]["controls"])
        if (c["id"] == 1068) pasteOffered = c["enabled"].get<bool>();
    if (!pasteOffered) {
        EXPECT_EQ(Run("press \"Paste\"\npress \"OK\"\n"), 1);
        EXPECT_NE(Error().find("disabled"), std::string::npos) << Error();
    }
    Json d = RunAndDump(
        "press \"Posture/Clear\"\nanswer ok\n"
        "type \"Frame:\" \"soon\"\npress \"Align\"\ntype \"Frame:\" 0\npress \"Align\"\n"
        "press \"Set\"\npress \"Cancel\"\npress \"Fist\"\npress \"Cancel\"\n");
    EXPECT_TRUE(d["nodes"] == before["nodes"]) << "the scene changed";
    EXPECT_EQ(d["undo"], before["undo"]);
    ASSERT_EQ(d["messages"].size(), 1u);
    EXPECT_EQ(d["messages"][0]["text"], "Cannot delete key at frame 0!");
}

}  // namespace
}  // namespace qvapp::test
