// Drags made with the modify tool's modes and anchors on a keyed biped, followed by undo and
// redo: the scene must come back whole, key for key and bit for bit, both ways. Also the
// creation of a biped while recording is on.
#include "session_fixture.h"

namespace qvapp::test {
namespace {

// A biped with animation: the root keyed at 0 and 20, the right upper arm turned at 20, the
// current frame 10 between the keys (no bone has a key there), recording off.
const char kKeyedBiped[] = R"(new
create "Bones" "Biped"
drag 0 0 0 8
close
anim on
time 20
select "Bip01"
move 2 0 0.5
select "Bip01 R UpperArm"
rotate 0 1 0 20
anim off
time 10
)";

// What undo and redo must give back: every node (keys, placement, hierarchy) and the selection.
Json SceneState(const Json& dump) {
    return Json{{"nodes", dump["nodes"]}, {"selection", dump["selection"]}};
}

struct TrackedDrag {
    const char* name;
    const char* setUp;       // after the keyed biped: selection, tool and its modes
    const char* drag;        // the one drag that undo takes back
    const char* before;      // lines between the drag and the undo (e.g. anchors switched off)
    const char* untouched;   // a node whose keys the drag must leave exactly as they were
};

const TrackedDrag kDrags[] = {
    {"SymmetricalRotation",
     "select \"Bip01 R UpperArm\"\nmodify \"Biped\"\npress \"Symmetrical Rotation\"\n",
     "rotate 1 0 0 40 steps 4\n", "", "Bip01 R Forearm"},
    {"OppositeRotation",
     "select \"Bip01 R Thigh\"\nmodify \"Biped\"\npress \"Opposite Rotation\"\n",
     "rotate 0 0 1 25 steps 5\n", "", "Bip01 Pelvis"},
    // A move turns nothing, whatever the rotation modes, even after an earlier turn.
    {"MoveWithSymmetricalRotationOn",
     "select \"Bip01 R UpperArm\"\nmodify \"Biped\"\npress \"Symmetrical Rotation\"\n"
     "rotate 1 0 0 40 steps 4\nclick \"Bip01 R Forearm\"\n",
     "move 0 0 0.3\n", "", "Bip01 L Forearm"},
    {"TransformMoveRecordingOff",
     "select \"Bip01\"\nmodify \"Biped\"\npress \"Transform\"\n", "move 1 0 0 steps 3\n", "",
     "Bip01 Pelvis"},
    {"TransformTurnRecordingOn",
     "anim on\nselect \"Bip01\"\nmodify \"Biped\"\npress \"Transform\"\n",
     "rotate 0 0 1 90 steps 3\n", "", "Bip01 Head"},
    {"AnchoredFeet",
     "select \"Bip01\"\nmodify \"Biped\"\npress \"Left Foot\"\npress \"Right Foot\"\n",
     "move 0 0 -1.2 steps 6\n", "", "Bip01 L UpperArm"},
    // Undo must give back what the anchors changed even when they are no longer on to redo it.
    {"AnchoredFeetSwitchedOffBeforeUndo",
     "select \"Bip01\"\nmodify \"Biped\"\npress \"Left Foot\"\npress \"Right Foot\"\n",
     "move 0 0 -1.2 steps 6\n", "press \"Left Foot\"\npress \"Right Foot\"\n", "Bip01 Spine"},
    {"AnchoredHandWhileRecording",
     "anim on\nselect \"Bip01 Spine\"\nmodify \"Biped\"\npress \"Right Hand\"\n",
     "rotate 0 1 0 15 steps 3\n", "", "Bip01 L Calf"},
};

class TrackedDragUndo : public SessionTest, public testing::WithParamInterface<TrackedDrag> {};

TEST_P(TrackedDragUndo, UndoAndRedoGiveBackWholeScenes) {
    const TrackedDrag& c = GetParam();
    const Json start = SceneState(RunAndDump(std::string(kKeyedBiped) + c.setUp));
    const Json dragged = SceneState(RunAndDump(c.drag));
    ASSERT_NE(dragged, start) << "the drag changed nothing";
    EXPECT_EQ(NodeNamed(dragged, c.untouched)["keys"], NodeNamed(start, c.untouched)["keys"])
        << c.untouched << " changed";
    RunAndDump(c.before);
    EXPECT_EQ(SceneState(RunAndDump("undo\n")), start);
    EXPECT_EQ(SceneState(RunAndDump("redo\n")), dragged);
}

INSTANTIATE_TEST_SUITE_P(Modes, TrackedDragUndo, testing::ValuesIn(kDrags),
                         [](const auto& info) { return std::string(info.param.name); });

// The host keeps recording state and frame out of the making of a biped: one key per bone, the
// same as a biped made at frame 0 with recording off.
using Creation = SessionTest;

TEST_F(Creation, KeysEveryBoneOnceWhateverRecordingAndFrame) {
    const char kCreate[] =
        "create \"Bones\" \"Biped\"\ndrag 1 2 0 8\ntype \"Height:\" \"7\"\nclose\n";
    const Json plain = RunAndDump(std::string("new\n") + kCreate);
    const Json recorded = RunAndDump(std::string("new\nanim on\ntime 30\n") + kCreate);
    ASSERT_EQ(recorded["nodes"].size(), plain["nodes"].size());
    for (size_t i = 0; i < plain["nodes"].size(); ++i) {
        const Json& node = recorded["nodes"][i];
        EXPECT_EQ(node["keys"].size(), 1u) << node["name"];
        EXPECT_EQ(node["keys"], plain["nodes"][i]["keys"]) << node["name"];
    }
}

}  // namespace
}  // namespace qvapp::test
