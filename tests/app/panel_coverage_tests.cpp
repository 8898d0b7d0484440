// The modify panel control by control: each row of the table acts on controls through a session
// script and states what the scene must show afterwards (the undo step, a message, keys written,
// check and enabled states, a file). A control of the panel that no row covers fails the test,
// so the table cannot fall behind the resource script.
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "session_fixture.h"
#include "tests/common/bvh_text.h"

namespace qvapp::test {
namespace {

// A biped of height 8 standing at the origin, keys over 0..100, the modify panel open on the
// left upper arm (a bone with a mirror bone) at frame 10, every option set as the rows expect.
const char kStart[] =
    "new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 8 ground\nclose\nrange 0 100\n"
    "select \"Bip01 L UpperArm\"\nmodify \"Biped\"\ntime 10\n";

struct Row {
    std::set<int> covers;                   // the controls the row acts on
    std::string act;                        // the lines that act, with their dialogs' answers
    std::string undo;                       // the new undo step's name; empty: none is added
    std::string message;                    // a message box's text; empty: none is shown
    std::string keysOn;                     // a bone whose keys change; empty: no check
    std::vector<std::pair<int, bool>> checked, enabled;  // control states afterwards
    std::vector<std::pair<int, std::string>> text;       // control texts afterwards
    std::string file;                       // a file the row writes, in the test's folder
    std::string before;                     // lines run first, outside what is compared
    std::vector<std::pair<std::string, std::vector<float>>> colours;  // bone colours (r, g, b) afterwards

    Row&& Undo(std::string name) && { undo = std::move(name); return std::move(*this); }
    Row&& Message(std::string m) && { message = std::move(m); return std::move(*this); }
    Row&& Keys(std::string bone) && { keysOn = std::move(bone); return std::move(*this); }
    Row&& Checked(int id, bool on) && { checked.emplace_back(id, on); return std::move(*this); }
    Row&& Enabled(int id, bool on) && { enabled.emplace_back(id, on); return std::move(*this); }
    Row&& Text(int id, std::string t) && { text.emplace_back(id, std::move(t)); return std::move(*this); }
    Row&& Writes(std::string f) && { file = std::move(f); return std::move(*this); }
    Row&& After(std::string lines) && { before = std::move(lines); return std::move(*this); }
    Row&& Colour(std::string bone, float r, float g, float b) && {
        colours.push_back({std::move(bone), {r, g, b}});
        return std::move(*this);
    }
};

Row Act(std::set<int> covers, std::string lines) {
    Row r;
    r.covers = std::move(covers);
    r.act = std::move(lines);
    return r;
}

// A key on the selected upper arm at frame 10, turned about z.
const char kArmKey[] = "anim on\nrotate 0 0 1 40\nanim off\n";
// The same on the right upper arm, the left one selected again.
const char kRightArmKey[] =
    "anim on\nselect \"Bip01 R UpperArm\"\nrotate 0 0 1 40\nselect \"Bip01 L UpperArm\"\nanim off\n";
const char kSkinCopied[] = "press \"Default Body Poses/Skin\"\npress \"Copy\"\ntime 30\n";

std::vector<Row> Rows() {
    std::vector<Row> rows;
    // Walk - Run options and generation.
    rows.push_back(Act({1005}, "type \"Num Loops:\" 250\n").Text(1005, "100"));
    rows.push_back(Act({1006, 1007}, "press \"Start Foot/Left\"\n").Checked(1007, true).Checked(1006, false));
    rows.push_back(Act({1008}, "press \"In Place\"\n").Checked(1008, true));
    rows.push_back(Act({1009}, "press \"Loop\"\n").Checked(1009, false));
    rows.push_back(Act({1010, 1011}, "press \"Run\"\n").Checked(1011, true).Checked(1010, false));
    rows.push_back(Act({1060}, "press \"Generate Keyframes\"\n").Undo("Biped Footsteps").Keys("Bip01"));
    // File.
    rows.push_back(Act({1015}, "press \"File/Save\"\nfile \"a.bpd\"\npress \"OK\"\n").Writes("a.bpd"));
    rows.push_back(Act({1014}, "time 0\npress \"File/Load\"\nfile \"b.bpd\"\npress \"OK\"\n")
                       .Undo("Biped Load File").Keys("Bip01 L UpperArm")
                       .After(std::string(kArmKey) + "press \"File/Save\"\nfile \"b.bpd\"\npress \"OK\"\n"
                              "press \"Animation/Clear\"\npress \"OK\"\n"));
    rows.push_back(Act({1016}, "press \"Load BVH\"\nfile \"w.bvh\"\n").Undo("Biped Load BVH File").Keys("Bip01 R Thigh"));
    rows.push_back(Act({1017}, "press #1017\nfile \"p.bvh\"\n").Writes("p.bvh"));
    // Poses.
    rows.push_back(Act({1061}, "press \"Default Body Poses/Skin\"\n").Undo("Biped Pose").Keys("Bip01 L Thigh"));
    rows.push_back(Act({1062}, "press \"Default Body Poses/Idle\"\n").Undo("Biped Pose").Keys("Bip01 L Thigh"));
    for (int id : {1076, 1075, 1064, 1063, 1066, 1067, 1069, 1070, 1071, 1072, 1077, 1078})
        rows.push_back(Act({id}, "press #" + std::to_string(id) + "\npress \"Right Hand\"\npress \"OK\"\n")
                           .Undo("Biped Hand(s) Pose").Keys("Bip01 R Finger1"));
    rows.push_back(Act({1074}, "press \"Default Hand Poses/Save\"\nfile \"h.bph\"\npress \"Right Hand\"\npress \"OK\"\n")
                       .Writes("h.bph"));
    rows.push_back(Act({1073}, "press \"Default Hand Poses/Load\"\nfile \"g.bph\"\npress \"Left Hand\"\npress \"OK\"\n")
                       .Undo("Biped Load Hand File").Keys("Bip01 L Finger1")
                       .After("press \"Fist\"\npress \"Right Hand\"\npress \"OK\"\npress \"Default Hand Poses/Save\"\n"
                              "file \"g.bph\"\npress \"Right Hand\"\npress \"OK\"\n"));
    // Posture and animation.
    rows.push_back(Act({1065}, "press \"Copy\"\n").Enabled(1068, true).Enabled(1097, true));
    rows.push_back(Act({1068}, "press \"Paste\"\npress \"OK\"\n").Undo("Biped Paste Posture").Keys("Bip01 L UpperArm")
                       .After(kSkinCopied));
    rows.push_back(Act({1097}, "press \"Paste Mirrored\"\npress \"OK\"\n").Undo("Biped Paste Posture Mirrored")
                       .Keys("Bip01 R UpperArm").After(kSkinCopied));
    rows.push_back(Act({1092}, "press \"Posture/Set\"\npress \"OK\"\n").Undo("Biped Set Posture").Keys("Bip01 Head"));
    rows.push_back(Act({1098}, "press \"Posture/Clear\"\npress \"OK\"\n").Undo("Biped Clear Posture").Keys("Bip01 Head")
                       .After("press \"Posture/Set\"\npress \"OK\"\n"));
    rows.push_back(Act({1098}, "time 0\npress \"Posture/Clear\"\nanswer ok\n").Message("Cannot delete key at frame 0!"));
    rows.push_back(Act({1096}, "press \"Posture/Mirror\"\npress \"OK\"\n").Undo("Biped Mirror Posture")
                       .Keys("Bip01 R UpperArm").After(kArmKey));
    rows.push_back(Act({1107}, "press \"Animation/Mirror\"\npress \"OK\"\n").Undo("Biped Mirror Keyframes")
                       .Keys("Bip01 R UpperArm").After(kArmKey));
    rows.push_back(Act({1108}, "press \"Animation/Clear\"\npress \"OK\"\n").Undo("Biped Clear Keyframes")
                       .Keys("Bip01 L UpperArm").After(kArmKey));
    // Tracking modes: one on at a time.
    rows.push_back(Act({1133}, "press \"Transform\"\n").Checked(1133, true).Checked(1118, false).Checked(1119, false));
    rows.push_back(Act({1118}, "press \"Transform\"\npress \"Symmetrical Rotation\"\n")
                       .Checked(1118, true).Checked(1133, false).Checked(1119, false));
    rows.push_back(Act({1119}, "press \"Symmetrical Rotation\"\npress \"Opposite Rotation\"\n")
                       .Checked(1119, true).Checked(1118, false));
    // Anchors, enabled on a biped with all four limbs.
    rows.push_back(Act({1110, 1111, 1112, 1113},
                       "press \"Right Foot\"\npress \"Left Foot\"\npress \"Right Hand\"\npress \"Left Hand\"\n")
                       .Checked(1110, true).Checked(1111, true).Checked(1112, true).Checked(1113, true)
                       .Enabled(1110, true).Enabled(1113, true));
    // Colours.
    rows.push_back(Act({1114}, "press \"Left:\"\ntype \"Red:\" 255\ntype \"Green:\" 0\ntype \"Blue:\" 0\npress \"OK\"\n")
                       .Colour("Bip01 L Foot", 1, 0, 0).Colour("Bip01 R Foot", 0, 1, 0));
    rows.push_back(Act({1115}, "press \"Right:\"\ntype \"Red:\" 255\ntype \"Green:\" 255\ntype \"Blue:\" 0\npress \"OK\"\n")
                       .Colour("Bip01 R Hand", 1, 1, 0));
    rows.push_back(Act({1116}, "press \"Colour/Biped Defaults\"\n")
                       .Colour("Bip01 L Calf", 0, 0, 1).Colour("Bip01 R Calf", 0, 1, 0)
                       .After("press \"Left:\"\ntype \"Red:\" 255\npress \"OK\"\n"));
    // The host's own bone colour on both sides.
    rows.push_back(Act({1117}, "press \"Colour/Quorvane Defaults\"\n")
                       .Colour("Bip01 L Calf", 0.82f, 0.70f, 0.45f).Colour("Bip01 R Finger0", 0.82f, 0.70f, 0.45f));
    // Limbs.
    rows.push_back(Act({1079}, "press \"All (Arm)\"\n").Checked(1081, true).Checked(1085, true).Checked(1086, false));
    rows.push_back(Act({1080}, "press \"All (Leg)\"\n").Checked(1086, true).Checked(1089, true).Checked(1081, false));
    rows.push_back(Act({1081, 1082, 1083, 1084, 1085, 1086, 1087, 1088, 1089},
                       "press \"Clavicle\"\npress \"UpperArm\"\npress \"Forearm\"\npress \"Hand\"\npress \"Fingers\"\n"
                       "press \"Thigh\"\npress \"Calf\"\npress \"Foot\"\npress \"Toes\"\n")
                       .Checked(1081, true).Checked(1085, true).Checked(1086, true).Checked(1089, true));
    rows.push_back(Act({1093, 1094, 1095},
                       "press \"Symmetric Posture/Pos\"\npress \"Symmetric Posture/Scale\"\npress \"Symmetric Posture/Rot\"\n")
                       .Checked(1093, false).Checked(1095, false).Checked(1094, true));
    rows.push_back(Act({1091}, "press \"All (Arm)\"\npress \"Sym Left\"\n").Undo("Biped Symmetrical Left")
                       .Keys("Bip01 L UpperArm").After(kRightArmKey));
    rows.push_back(Act({1090}, "press \"All (Arm)\"\npress \"Sym Right\"\n").Undo("Biped Symmetrical Right")
                       .Keys("Bip01 R UpperArm").After(kArmKey));
    rows.push_back(Act({1101, 1102, 1103},
                       "press \"Opposite Rotation/X\"\npress \"Opposite Rotation/Y\"\npress \"Opposite Rotation/Z\"\n")
                       .Checked(1101, false).Checked(1102, false).Checked(1103, false));
    rows.push_back(Act({1099}, "press \"All (Arm)\"\npress \"Opp Left\"\n").Undo("Biped Opposite Left")
                       .Keys("Bip01 L UpperArm").After(kRightArmKey));
    rows.push_back(Act({1100}, "press \"All (Arm)\"\npress \"Opp Right\"\n").Undo("Biped Opposite Right")
                       .Keys("Bip01 R UpperArm").After(kArmKey));
    // Align: the root keyed so that the left foot returns, on X and Y, to where it stood at 0.
    rows.push_back(Act({1121, 1122, 1123, 1124, 1125, 1126, 1127, 1128, 1129},
                       "choose #1121 \"Bip01 L Foot\"\ntype \"Frame:\" 0\npress \"Pos Z\"\npress \"Rot X\"\n"
                       "press \"Rot Y\"\npress \"Rot Z\"\npress \"Pos X\"\npress \"Pos X\"\npress \"Pos Y\"\n"
                       "press \"Pos Y\"\npress \"Align/Align\"\n")
                       .Undo("Biped Align").Keys("Bip01").Checked(1124, true).Checked(1125, true)
                       .Checked(1126, false).Checked(1127, false).Text(1121, "Bip01 L Foot")
                       .After("anim on\nselect \"Bip01\"\nmove 1 2 0\nselect \"Bip01 L UpperArm\"\nanim off\n"));
    return rows;
}

class PanelCoverage : public SessionTest {};

const Json& Control(const Json& dump, int id) {
    for (const Json& c : dump["panel"]["controls"])
        if (c["id"] == id) return c;
    static const Json none;
    ADD_FAILURE() << "no control " << id << " in the panel";
    return none;
}

TEST_F(PanelCoverage, EveryRowDoesWhatTheTableSays) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.act);
        std::ofstream(dir_ / "w.bvh") << bvhtext::ClassicBvh(20, 0.033333f);
        // Options the module keeps between sessions are put back first.
        const Json opened = RunAndDump(kStart);
        const Json before = RunAndDump(std::string("press \"Walk\"\npress \"Start Foot/Right\"\ntype \"Num Loops:\" 1\n") +
                                       (Control(opened, 1008)["checked"] == true ? "press \"In Place\"\n" : "") +
                                       (Control(opened, 1009)["checked"] == false ? "press \"Loop\"\n" : "") + row.before);
        const Json after = RunAndDump(row.act);
        const size_t steps = after["undo"].size() - before["undo"].size();
        if (row.undo.empty()) {
            EXPECT_EQ(steps, 0u) << after["undo"].dump();
        } else {
            EXPECT_EQ(steps, 1u) << after["undo"].dump();
            EXPECT_EQ(after["undo"].back(), row.undo);
        }
        const size_t messages = after["messages"].size() - before["messages"].size();
        EXPECT_EQ(messages, row.message.empty() ? 0u : 1u) << after["messages"].dump();
        if (!row.message.empty() && messages == 1) {
            EXPECT_EQ(after["messages"].back()["text"], row.message);
        }
        if (!row.keysOn.empty()) {
            EXPECT_NE(NodeNamed(after, row.keysOn)["keys"], NodeNamed(before, row.keysOn)["keys"]) << row.keysOn;
        }
        for (const auto& [id, on] : row.checked) EXPECT_EQ(Control(after, id)["checked"], on) << id;
        for (const auto& [id, on] : row.enabled) EXPECT_EQ(Control(after, id)["enabled"], on) << id;
        for (const auto& [id, text] : row.text) EXPECT_EQ(Control(after, id)["text"], text) << id;
        for (const auto& [bone, rgb] : row.colours)
            for (int k = 0; k < 3; ++k) EXPECT_FLOAT_EQ(NodeNamed(after, bone)["color"][k].get<float>(), rgb[k]) << bone;
        if (!row.file.empty()) {
            EXPECT_TRUE(std::filesystem::exists(dir_ / row.file)) << row.file;
        }
        ASSERT_EQ(Run("close\n"), 0) << Error();
    }
}

TEST_F(PanelCoverage, OpeningEnablesAnchorsByTheLimbsPresentAndTheMirrorModesByTheMirrorBone) {
    const Json root = RunAndDump(std::string(kStart) + "close\ndelete \"Bip01 R Hand\"\nselect \"Bip01\"\nmodify \"Biped\"\n");
    EXPECT_EQ(Control(root, 1112)["enabled"], false);  // "Right Hand": its hand is gone
    for (int id : {1110, 1111, 1113}) EXPECT_EQ(Control(root, id)["enabled"], true) << id;
    for (int id : {1118, 1119}) EXPECT_EQ(Control(root, id)["enabled"], false) << id;  // the root has no mirror
    EXPECT_EQ(Control(root, 1121)["text"], "Bip01");  // the Align list starts at slot 0
    const Json arm = RunAndDump("close\nselect \"Bip01 L Forearm\"\nmodify \"Biped\"\n");
    for (int id : {1118, 1119}) EXPECT_EQ(Control(arm, id)["enabled"], true) << id;
}

TEST_F(PanelCoverage, SelectingAnotherBoneWithThePanelOpenShowsTheNewBinding) {
    // Two bipeds; the panel open on the first with the right foot anchored and Sym Rotation on.
    const Json armed = RunAndDump(std::string(kStart) +
                                  "close\ncreate \"Bones\" \"Biped\"\ndrag 20 0 0 8 ground\nclose\n"
                                  "select \"Bip01 L UpperArm\"\nmodify \"Biped\"\n"
                                  "press #1110\npress #1118\n");
    ASSERT_EQ(Control(armed, 1110)["checked"], true);
    ASSERT_EQ(Control(armed, 1118)["checked"], true);
    // Another bone of the same biped keeps anchors and modes; the spine has no mirror bone.
    const Json spine = RunAndDump("click \"Bip01 Spine\"\n");
    EXPECT_EQ(Control(spine, 1110)["checked"], true);
    EXPECT_EQ(Control(spine, 1118)["checked"], true);
    EXPECT_EQ(Control(spine, 1118)["enabled"], false);
    EXPECT_EQ(Control(spine, 1119)["enabled"], false);
    // A bone of the other biped binds afresh: anchors and modes off, its bones in Align.
    const Json other = RunAndDump("click \"Bip02 L Thigh\"\n");
    ASSERT_EQ(other["selection"], Json::array({"Bip02 L Thigh"}));
    EXPECT_EQ(Control(other, 1110)["checked"], false);
    EXPECT_EQ(Control(other, 1118)["checked"], false);
    EXPECT_EQ(Control(other, 1118)["enabled"], true);
    EXPECT_EQ(Control(other, 1121)["text"], "Bip02");
    // Pressing the anchor box now anchors the second biped's foot, not the first's.
    const Json anchored = RunAndDump("press #1110\n");
    EXPECT_EQ(Control(anchored, 1110)["checked"], true);
}

TEST_F(PanelCoverage, EveryControlOfThePanelHasARow) {
    RunAndDump(kStart);
    std::set<int> covered;
    for (const Row& row : Rows()) covered.insert(row.covers.begin(), row.covers.end());
    std::vector<int> missing;
    const std::vector<qv::ui::ControlName> names = qv::ui::ScriptNames(tools_.Panel());
    EXPECT_GE(names.size(), 70u);  // the panel is open with its acting controls
    for (const qv::ui::ControlName& c : names)
        if (!covered.count(c.id)) missing.push_back(c.id);
    EXPECT_TRUE(missing.empty()) << "controls no row covers: " << testing::PrintToString(missing);
}

}  // namespace
}  // namespace qvapp::test
