// The ground form of a creation drag: the biped's lowest joint lands on the given height, and
// what is made is exactly what a plain drag with the root at the height it found makes.
#include <algorithm>

#include "session_fixture.h"

namespace qvapp::test {
namespace {

using DragGround = SessionTest;

// Float round-off of the builder's positions a few host units from the origin.
constexpr float kJointTolerance = 1e-4f;  // host units

float LowestJoint(const Json& dump) {
    float lowest = 1e30f;
    for (const Json& n : dump["nodes"])
        lowest = std::min(lowest, n["world"]["pos"][2].get<float>());
    return lowest;
}

TEST_F(DragGround, LowestJointStandsOnZAndTheBipedIsThePlainDragFromTheRootItFound) {
    struct Case {
        const char* panel;  // typed before the drag
        float z, height;
    };
    const Case cases[] = {
        {"", 0.0f, 8.0f},
        {"type \"Num Toes:\" 1\ntype \"Num Toe Links:\" 1\n", 1.5f, 5.0f},
        {"type \"Num Spines:\" 1\ntype \"Num Fingers:\" 0\n", -2.0f, 12.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.panel) + " z " + std::to_string(c.z));
        const std::string begin =
            "new\ncreate \"Bones\" \"Biped\"\n" + kCreationPanelDefaults + c.panel;
        const std::string heightWords = " " + std::to_string(c.height);
        const Json grounded = RunAndDump(begin + "drag 2 3 " + std::to_string(c.z) + heightWords +
                                         " ground\nclose\n");
        EXPECT_NEAR(LowestJoint(grounded), c.z, kJointTolerance);
        const Json root = NodeNamed(grounded, "Bip01")["world"]["pos"];
        EXPECT_FLOAT_EQ(root[0].get<float>(), 2.0f);
        EXPECT_FLOAT_EQ(root[1].get<float>(), 3.0f);
        std::ostringstream rootZ;
        rootZ.precision(9);
        rootZ << root[2].get<float>();
        const Json plain =
            RunAndDump(begin + "drag 2 3 " + rootZ.str() + heightWords + "\nclose\n");
        EXPECT_EQ(plain["nodes"], grounded["nodes"]);
        EXPECT_EQ(plain["undo"], grounded["undo"]);  // the trial drag left no trace
    }
    ASSERT_EQ(Run("create \"Bones\" \"Biped\"\n" + kCreationPanelDefaults + "close\n"), 0)
        << Error();
}

TEST_F(DragGround, CancelledGroundDragLeavesNothingAndGroundNeedsTheCreationTool) {
    const Json d = RunAndDump("create \"Bones\" \"Biped\"\ndrag 0 0 0 8 ground cancel\nclose\n");
    EXPECT_TRUE(d["nodes"].empty()) << d["nodes"].dump();
    EXPECT_EQ(Run("drag 0 0 0 8 ground\n"), 1);
    EXPECT_NE(Error().find("no creation tool"), std::string::npos) << Error();
    EXPECT_EQ(Run("create \"Bones\" \"Biped\"\ndrag 0 0 0 8 sideways\n"), 1);
    EXPECT_NE(Error().find("ground"), std::string::npos) << Error();  // the options are listed
}

}  // namespace
}  // namespace qvapp::test
