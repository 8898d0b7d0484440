// The "Select Biped Bones" dialogs control by control: each bone box and each group button of
// dialog 107 ("Set") chooses exactly its bones, each box of dialog 1160 ("Posture/Mirror") its
// pair, and the root's X, Y, Z of dialog 1161 ("Paste") its components. A control of the three
// dialogs that no row covers fails the test.
#include <functional>
#include <set>

#include "session_fixture.h"

namespace qvapp::test {
namespace {

// A default biped (four spine links, no Spine4) with the modify panel on its head at frame 10.
const char kStart[] = "new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 8 ground\nclose\nrange 0 100\n"
                      "select \"Bip01 Head\"\nmodify \"Biped\"\ntime 10\n";
// Every box cleared: "Upper" and "Lower"'s "Clear" buttons.
const char kNone[] = "press #1043\npress #1045\n";
const char kAll[] = "press #1041\npress #1044\n";

using Chooser = std::function<bool(const std::string&)>;
Chooser Named(std::initializer_list<const char*> names) {
    std::set<std::string> s(names.begin(), names.end());
    return [s](const std::string& n) { return s.count(n) > 0; };
}
Chooser Prefixed(const std::string& prefix) {
    return [prefix](const std::string& n) { return n.rfind(prefix, 0) == 0; };
}
Chooser Either(Chooser a, Chooser b) {
    return [a, b](const std::string& n) { return a(n) || b(n); };
}
Chooser Not(Chooser a) {
    return [a](const std::string& n) { return !a(n); };
}

const Chooser kSpine = Prefixed("Bip01 Spine");  // groups 0..4
const Chooser kRightArm = Either(Named({"Bip01 R Clavicle", "Bip01 R UpperArm", "Bip01 R Forearm", "Bip01 R Hand"}),
                                 Prefixed("Bip01 R Finger"));
const Chooser kLeftArm = Either(Named({"Bip01 L Clavicle", "Bip01 L UpperArm", "Bip01 L Forearm", "Bip01 L Hand"}),
                                Prefixed("Bip01 L Finger"));
const Chooser kRightLeg = Either(Named({"Bip01 R Thigh", "Bip01 R Calf", "Bip01 R Foot"}), Prefixed("Bip01 R Toe"));
const Chooser kLeftLeg = Either(Named({"Bip01 L Thigh", "Bip01 L Calf", "Bip01 L Foot"}), Prefixed("Bip01 L Toe"));
const Chooser kUpper = Either(Either(kSpine, Named({"Bip01 Neck", "Bip01 Head"})), Either(kRightArm, kLeftArm));
const Chooser kLower = Either(Named({"Bip01", "Bip01 Pelvis"}), Either(kRightLeg, kLeftLeg));

struct Row {
    std::set<int> covers;
    std::string answers;  // the dialog's lines, ending with "OK"
    Chooser keyed;        // the bones "Set" must key at frame 10, and no others
};

std::vector<Row> SetRows() {
    return {
        {{1015}, "press #1015\n", Named({"Bip01 Spine"})},
        {{1033}, "press #1033\n", Named({"Bip01 Spine1"})},
        {{1034}, "press #1034\n", Named({"Bip01 Spine2"})},
        {{1035}, "press #1035\n", Named({"Bip01 Spine3"})},
        {{1036}, "press #1036\n", Named({})},  // no Spine4 on this biped
        {{1039}, "press #1039\n", Named({"Bip01 Neck"})},
        {{1040}, "press #1040\n", Named({"Bip01 Head"})},
        {{1038}, "press #1038\n", Named({"Bip01 R Clavicle"})},
        {{1018}, "press #1018\n", Named({"Bip01 R UpperArm"})},
        {{1027}, "press #1027\n", Named({"Bip01 R Forearm"})},
        {{1028}, "press #1028\n", Named({"Bip01 R Hand"})},
        {{1029}, "press #1029\n", Prefixed("Bip01 R Finger")},
        {{1037}, "press #1037\n", Named({"Bip01 L Clavicle"})},
        {{1019}, "press #1019\n", Named({"Bip01 L UpperArm"})},
        {{1024}, "press #1024\n", Named({"Bip01 L Forearm"})},
        {{1025}, "press #1025\n", Named({"Bip01 L Hand"})},
        {{1026}, "press #1026\n", Prefixed("Bip01 L Finger")},
        {{1042}, "press #1042\n", Named({"Bip01"})},
        {{1032}, "press #1032\n", Named({"Bip01 Pelvis"})},
        {{1016}, "press #1016\n", Named({"Bip01 R Thigh"})},
        {{1031}, "press #1031\n", Named({"Bip01 R Calf"})},
        {{1020}, "press #1020\n", Named({"Bip01 R Foot"})},
        {{1022}, "press #1022\n", Prefixed("Bip01 R Toe")},
        {{1017}, "press #1017\n", Named({"Bip01 L Thigh"})},
        {{1030}, "press #1030\n", Named({"Bip01 L Calf"})},
        {{1021}, "press #1021\n", Named({"Bip01 L Foot"})},
        {{1023}, "press #1023\n", Prefixed("Bip01 L Toe")},
        {{1041}, "press #1041\n", kUpper},
        {{1044}, "press #1044\n", kLower},
        {{1054}, "press #1054\n", kSpine},
        {{1046}, "press #1046\n", kRightArm},
        {{1048}, "press #1048\n", kLeftArm},
        {{1050}, "press #1050\n", kRightLeg},
        {{1052}, "press #1052\n", kLeftLeg},
        {{1043}, std::string(kAll) + "press #1043\n", kLower},
        {{1045}, std::string(kAll) + "press #1045\n", kUpper},
        {{1055}, std::string(kAll) + "press #1055\n", Not(kSpine)},
        {{1047}, std::string(kAll) + "press #1047\n", Not(kRightArm)},
        {{1049}, std::string(kAll) + "press #1049\n", Not(kLeftArm)},
        {{1051}, std::string(kAll) + "press #1051\n", Not(kRightLeg)},
        {{1053}, std::string(kAll) + "press #1053\n", Not(kLeftLeg)},
    };
}

class BoneDialogs : public SessionTest {
protected:
    // The module remembers the dialogs' checks between sessions: every box goes back on.
    void TearDown() override {
        EXPECT_EQ(Run(std::string(kStart) + "press \"Posture/Set\"\n" + kAll + "press \"OK\"\n"), 0) << Error();
        SessionTest::TearDown();
    }
    // The bones whose keys differ between two dumps.
    static std::set<std::string> Changed(const Json& before, const Json& after) {
        std::set<std::string> out;
        for (const Json& n : after["nodes"])
            if (NodeNamed(before, n["name"].get<std::string>())["keys"] != n["keys"]) out.insert(n["name"]);
        return out;
    }
    // How a script names each control of the modal dialog that the panel button opens.
    std::vector<qv::ui::ControlName> DialogControls(const std::string& button) {
        struct Look : qv::ui::Driver {
            std::vector<qv::ui::ControlName> names;
            bool NextAction(const qv::ui::Modal& modal, qv::ui::Action& out) override {
                names = qv::ui::ScriptNames(modal.window);
                out.kind = qv::ui::Action::Kind::Press;
                out.control = "Cancel";
                return true;
            }
        } look;
        qv::ui::Driver* previous = qv::ui::GetDriver();
        qv::ui::SetDriver(&look);
        std::string error;
        EXPECT_TRUE(qv::ui::Press(tools_.Panel(), button, error)) << error;
        qv::ui::SetDriver(previous);
        return look.names;
    }
};

TEST_F(BoneDialogs, EveryBoxAndGroupButtonOfTheSetDialogChoosesItsBones) {
    for (const Row& row : SetRows()) {
        SCOPED_TRACE(row.answers);
        const Json before = RunAndDump(kStart);
        const Json after = RunAndDump("press \"Posture/Set\"\n" + std::string(kNone) + row.answers + "press \"OK\"\n");
        std::set<std::string> expected;
        for (const Json& n : before["nodes"])
            if (row.keyed(n["name"])) expected.insert(n["name"]);
        EXPECT_EQ(Changed(before, after), expected);
        ASSERT_EQ(Run("close\n"), 0) << Error();
    }
}

// Dialog 1160 names each pair by its left bones: a box swaps both sides.
TEST_F(BoneDialogs, EveryBoxOfTheMirrorDialogSwapsItsPair) {
    const std::vector<std::pair<int, std::string>> boxes = {
        {1037, "Clavicle"}, {1019, "UpperArm"}, {1024, "Forearm"}, {1025, "Hand"}, {1017, "Thigh"},
        {1030, "Calf"}, {1021, "Foot"}};
    for (const auto& [id, bone] : boxes) {
        SCOPED_TRACE(bone);
        RunAndDump(std::string(kStart) + "close\nselect \"Bip01 L " + bone + "\"\nmodify \"Biped\"\nanim on\n"
                   "rotate 0 0 1 30\nanim off\n");
        const Json before = Dump();
        const Json after = RunAndDump("press \"Posture/Mirror\"\n" + std::string(kNone) + "press #" +
                                      std::to_string(id) + "\npress \"OK\"\n");
        const std::set<std::string> changed = Changed(before, after);
        EXPECT_TRUE(changed.count("Bip01 R " + bone)) << testing::PrintToString(changed);
        for (const std::string& n : changed)
            EXPECT_TRUE(n.find(bone) != std::string::npos) << n << " changed";
        ASSERT_EQ(Run("close\n"), 0) << Error();
    }
}

// "Paste" writes the root's position on the components checked in "Bip Position" only.
TEST_F(BoneDialogs, ThePasteDialogsRootComponentsChooseWhatMoves) {
    RunAndDump(std::string(kStart) + "close\nselect \"Bip01\"\nmodify \"Biped\"\npress \"Copy\"\ntime 30\n"
               "anim on\nmove 1 2 3\nanim off\n");
    const Json before = Dump();
    const Json after = RunAndDump("press \"Paste\"\n" + std::string(kNone) + "press #1042\npress #1118\npress #1120\n"
                                  "press \"OK\"\n");  // the root alone, Y only
    const Json was = NodeNamed(before, "Bip01")["world"]["pos"];
    const Json now = NodeNamed(after, "Bip01")["world"]["pos"];
    // X and Z were pressed off: kept where the move put them; Y stays on: pasted back.
    EXPECT_EQ(now[0], was[0]);
    EXPECT_NE(now[1], was[1]);
    EXPECT_EQ(now[2], was[2]);
    // The flags are remembered by the module: put them back on for later sessions.
    ASSERT_EQ(Run("press \"Paste\"\npress #1118\npress #1120\npress \"OK\"\n"), 0) << Error();
}

TEST_F(BoneDialogs, EveryControlOfTheThreeDialogsHasARow) {
    RunAndDump(std::string(kStart) + "press \"Copy\"\n");
    std::set<int> covered = {IDOK, IDCANCEL};
    for (const Row& row : SetRows()) covered.insert(row.covers.begin(), row.covers.end());
    covered.insert({1118, 1119, 1120});  // the root's X, Y, Z: the paste test
    std::vector<std::string> missing;
    for (const std::string button : {"Posture/Set", "Paste", "Posture/Mirror"}) {
        const std::vector<qv::ui::ControlName> names = DialogControls(button);
        EXPECT_GE(names.size(), 20u) << button;
        for (const qv::ui::ControlName& c : names)
            if (!covered.count(c.id)) missing.push_back(button + ": " + c.name);
    }
    EXPECT_TRUE(missing.empty()) << testing::PrintToString(missing);
}

}  // namespace
}  // namespace qvapp::test
