// "Generate Keyframes" pressed in the modify panel's "Walk - Run" group by a session script:
// the options as set in the panel, the question about the animation range answered either way,
// and the whole generation taken back and given again as one undo step.
#include "session_fixture.h"

namespace qvapp::test {
namespace {

// A default biped standing on the ground, its root selected, the modify panel open with a walk
// from the right foot chosen (the module keeps the panel's options from one test to the next);
// range 0..100.
const char kBipedInPanel[] = R"(new
create "Bones" "Biped"
drag 0 0 4.88 8
close
select "Bip01"
modify "Biped"
press "Walk"
press "Right"
)";

std::vector<int> KeyTimes(const Json& node) {
    std::vector<int> times;
    for (const Json& k : node["keys"]) times.push_back(k["t"].get<int>());
    return times;
}

struct RangeCase {
    const char* name;
    const char* options;  // panel lines before "Generate Keyframes"
    const char* answer;   // the answer to the question, or "" when none is asked
    int rangeEnd;
    int lastRootKey;
};

// Walk from frame 0 closes loop n at 30 n, run at 23 n; the question comes when that key plus
// 7 frames lies past the range's end.
const RangeCase kRanges[] = {
    {"FourWalkLoopsYesExtendsTheRange", "type \"Num Loops:\" 4\n", "answer yes\n", 127, 120},
    {"FourWalkLoopsNoKeepsTheRange", "type \"Num Loops:\" 4\n", "answer no\n", 100, 120},
    {"ThreeRunLoopsFitAndAskNothing", "press \"Run\"\ntype \"Num Loops:\" 3\n", "", 100, 69},
    {"OpenRunFromTheLeftFootAtTen",
     "press \"Run\"\npress \"Left\"\npress \"Loop\"\ntype \"Num Loops:\" 4\ntime 10\n",
     "answer yes\n", 105, 98},
};

class WalkRunSession : public SessionTest, public testing::WithParamInterface<RangeCase> {};

TEST_P(WalkRunSession, GenerationAsksAboutTheRangeOnlyWhenTheKeysRunPastIt) {
    const RangeCase& c = GetParam();
    const Json dump = RunAndDump(std::string(kBipedInPanel) + c.options +
                                 "press \"Generate Keyframes\"\n" + c.answer);
    EXPECT_EQ(dump["range"][1].get<int>(), c.rangeEnd);
    EXPECT_EQ(KeyTimes(NodeNamed(dump, "Bip01")).back(), c.lastRootKey);
    EXPECT_EQ(dump["messages"].size(), std::string(c.answer).empty() ? 0u : 1u);
    EXPECT_EQ(dump["undo"].back(), "Biped Footsteps");
}

INSTANTIATE_TEST_SUITE_P(Ranges, WalkRunSession, testing::ValuesIn(kRanges),
                         [](const auto& info) { return std::string(info.param.name); });

class WalkRunUndo : public SessionTest {};

TEST_F(WalkRunUndo, OneUndoTakesTheGenerationBackAndRedoGivesItAgain) {
    const Json before = RunAndDump(kBipedInPanel);
    const Json generated =
        RunAndDump("press \"Run\"\ntype \"Num Loops:\" 2\npress \"Generate Keyframes\"\n");
    const Json undone = RunAndDump("undo\n");
    const Json redone = RunAndDump("redo\n");
    EXPECT_NE(generated["nodes"], before["nodes"]);
    EXPECT_EQ(undone["nodes"], before["nodes"]);
    EXPECT_EQ(redone["nodes"], generated["nodes"]);
    EXPECT_EQ(undone["undo"], before["undo"]);
}

}  // namespace
}  // namespace qvapp::test
