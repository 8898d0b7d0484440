// Selection by name and by click, and undo/redo of selections and transforms.
#include <cmath>

#include "session_fixture.h"

namespace qvapp::test {
namespace {

constexpr float kStepTolerance = 1e-4f;  // host units: a few float steps of accumulated rounding

std::vector<std::string> Selection(const Json& d) {
    return d["selection"].get<std::vector<std::string>>();
}

const std::string kTwoChains =
    "bone \"A\" 0 0 0\nbone \"A2\" 0 0 4 parent \"A\"\nbone \"C\" 6 0 0\nbone \"C2\" 6 0 4 parent "
    "\"C\"\n";

using Selecting = SessionTest;

TEST_F(Selecting, SelectKeepsOrderAndIsOneUndoLevelPerChange) {
    Json d = RunAndDump(kTwoChains + "select \"A\"\nselect \"A\"\nselect \"C\" \"A2\"\n");
    EXPECT_EQ(Selection(d), (std::vector<std::string>{"C", "A2"}));
    EXPECT_EQ(NodeNamed(d, "A2")["flags"].get<unsigned>() & 1u, 1u);
    EXPECT_EQ(NodeNamed(d, "A")["flags"].get<unsigned>() & 1u, 0u);
    EXPECT_EQ(d["undo"].size(), 2u);  // selecting the same nodes again makes no level
    EXPECT_EQ(Selection(RunAndDump("undo\n")), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Selection(RunAndDump("undo\n")), (std::vector<std::string>{}));
    EXPECT_EQ(Selection(RunAndDump("redo 2\n")), (std::vector<std::string>{"C", "A2"}));
    EXPECT_TRUE(RunAndDump("deselect\n")["selection"].empty());
    EXPECT_EQ(Selection(RunAndDump("undo\n")), (std::vector<std::string>{"C", "A2"}));
}

TEST_F(Selecting, ClickPicksTheBoneBetweenItAndItsChild) {
    EXPECT_EQ(Selection(RunAndDump(kTwoChains + "click \"C\"\n")), (std::vector<std::string>{"C"}));
    EXPECT_EQ(Selection(RunAndDump("click \"A\"\n")), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Selection(RunAndDump("undo\n")), (std::vector<std::string>{"C"}));
}

TEST_F(Selecting, UnknownNamesAndUndoBeyondTheHistoryFailAndKeepTheSelection) {
    ASSERT_EQ(Run(kTwoChains + "select \"A\"\n"), 0) << Error();
    EXPECT_EQ(Run("select \"C\" \"Nobody\"\n"), 1);
    EXPECT_NE(Error().find("Nobody"), std::string::npos);
    EXPECT_EQ(Run("click \"Nobody\"\n"), 1);
    EXPECT_EQ(Error().rfind("test.qvs:1: click:", 0), 0u) << Error();
    EXPECT_EQ(Selection(Dump()), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Run("undo 2\n"), 1);
    EXPECT_NE(Error().find("nothing to undo"), std::string::npos) << Error();
    EXPECT_EQ(Run("redo 0\n"), 1);
}

using Transforms = SessionTest;

TEST_F(Transforms, MoveInStepsAddsUpCarriesChildrenAndIsOneUndoLevel) {
    Json d = RunAndDump(
        "bone \"A\" 1 0 0\nbone \"B\" 1 0 2 parent \"A\"\nselect \"A\"\nmove 3 0 -1.5 steps 3\n");
    Json pos = NodeNamed(d, "A")["world"]["pos"];
    EXPECT_NEAR(pos[0].get<float>(), 4.0f, kStepTolerance);
    EXPECT_NEAR(pos[2].get<float>(), -1.5f, kStepTolerance);
    EXPECT_NEAR(NodeNamed(d, "B")["world"]["pos"][2].get<float>(), 0.5f, kStepTolerance);
    EXPECT_EQ(d["undo"], Json::array({"Select", "Move"}));
    EXPECT_NEAR(NodeNamed(RunAndDump("undo\n"), "A")["world"]["pos"][0].get<float>(), 1.0f,
                kStepTolerance);
}

TEST_F(Transforms, RotateAQuarterTurnAboutZAndScale) {
    Json d = RunAndDump("bone \"A\"\nselect \"A\"\nrotate 0 0 1 90 steps 4\nscale 2 1 0.5\n");
    Json rot = NodeNamed(d, "A")["world"]["rot"];
    // Quarter turn about z: (0, 0, sin 45°, cos 45°), either sign of the whole quaternion.
    float sign = rot[3].get<float>() < 0 ? -1.0f : 1.0f;
    EXPECT_NEAR(sign * rot[2].get<float>(), std::sqrt(0.5f), kStepTolerance);
    EXPECT_NEAR(sign * rot[3].get<float>(), std::sqrt(0.5f), kStepTolerance);
    EXPECT_NEAR(rot[0].get<float>(), 0.0f, kStepTolerance);
    EXPECT_EQ(NodeNamed(d, "A")["world"]["scale"], Json::array({2.0, 1.0, 0.5}));
    EXPECT_EQ(d["undo"], Json::array({"Select", "Rotate", "Scale"}));
}

TEST_F(Transforms, PositiveAngleTurnsClockwiseLookingDownTheAxisFromItsTip) {
    // A child one unit along `from` of its parent; a quarter turn of the parent about `axis`
    // carries it to `to`: x to -y about z, y to -z about x, z to -x about y.
    struct Case {
        const char* axis;
        cpoint3 from, to;
    };
    const Case cases[] = {{"0 0 1", {1, 0, 0}, {0, -1, 0}},
                          {"1 0 0", {0, 1, 0}, {0, 0, -1}},
                          {"0 1 0", {0, 0, 1}, {-1, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.axis);
        const std::string child = std::to_string(c.from.x) + " " + std::to_string(c.from.y) + " " +
                                  std::to_string(c.from.z);
        const Json d = RunAndDump("new\nbone \"P\"\nbone \"C\" " + child + " parent \"P\"\n"
                                  "select \"P\"\nrotate " + c.axis + " 90\n");
        const Json pos = NodeNamed(d, "C")["world"]["pos"];
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(pos[i].get<float>(), c.to[i], kStepTolerance) << i;
    }
}

TEST_F(Transforms, BadTransformsAreErrors) {
    ASSERT_EQ(Run("bone \"A\"\n"), 0);
    EXPECT_EQ(Run("move 1 0 0\n"), 1);
    EXPECT_NE(Error().find("nothing is selected"), std::string::npos);
    ASSERT_EQ(Run("select \"A\"\n"), 0);
    for (const char* bad : {"rotate 0 0 0 45\n", "move 1 0 0 steps 0\n", "move 1 0 0 steps\n"})
        EXPECT_EQ(Run(bad), 1) << bad;
    EXPECT_EQ(Dump()["undo"].size(), 1u);  // only the selection
}

}  // namespace
}  // namespace qvapp::test
