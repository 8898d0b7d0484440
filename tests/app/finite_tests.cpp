// Commands whose arithmetic would overflow a float are refused with a message, and what they
// changed is undone without a redo level, so that a saved scene always loads again.
#include <fstream>

#include "session_fixture.h"

namespace qvapp::test {
namespace {

const std::filesystem::path kData = APP_TEST_DATA_DIR;

using Overflow = SessionTest;

TEST_F(Overflow, EighthScaleByAHundredThousandIsRefusedAndUndone) {
    std::ifstream in(kData / "scripts" / "overflowing-scale.qvs");
    std::string script((std::istreambuf_iterator<char>(in)), {});
    // Up to the seventh scale the scene stays finite (1e35).
    const std::string seven = script.substr(0, script.rfind("scale"));
    const Json before = RunAndDump(seven);
    ASSERT_EQ(before["undo"].size(), 8u);  // the selection and seven scales
    ASSERT_EQ(Run("new\n" + script), 1);
    EXPECT_NE(Error().find("test.qvs:12: scale: refused and undone: node \"A\" key at frame 0 "
                           "scale is not finite"),
              std::string::npos)
        << Error();
    EXPECT_EQ(Dump(), before);
    ASSERT_EQ(Run("save \"s.qscene\"\nnew\nload \"s.qscene\"\n"), 0) << Error();
}

TEST_F(Overflow, MovesAndScalesPastAFloatAreRefusedWhereverTheyOverflow) {
    const std::pair<const char*, const char*> cases[] = {
        // The key itself.
        {"bone \"A\"\nselect \"A\"\nmove 3e38 0 0\n", "move 3e38 0 0\n"},
        // A child's world position through its parent's scale: only the parent's key changes.
        {"bone \"A\"\nbone \"B\" 0 0 1e30 parent \"A\"\nselect \"A\"\nscale 1e5 1e5 1e5\n",
         "scale 1e5 1e5 1e5\n"},
    };
    for (const auto& [setup, overflow] : cases) {
        const Json before = RunAndDump(std::string("new\n") + setup);
        EXPECT_EQ(Run(overflow), 1) << overflow;
        EXPECT_NE(Error().find("refused and undone"), std::string::npos) << Error();
        EXPECT_EQ(Dump(), before) << overflow;
        EXPECT_TRUE(Dump()["redo"].empty()) << overflow;
    }
}

TEST_F(Overflow, BoneOutOfItsParentsReachIsRefusedAndNotAdded) {
    const Json before = RunAndDump("bone \"A\"\nselect \"A\"\nscale 1e-10 1e-10 1e-10\n");
    EXPECT_EQ(Run("bone \"B\" 0 0 3e38 parent \"A\"\n"), 1);
    EXPECT_NE(Error().find("bone: the position is out of the parent's reach"), std::string::npos)
        << Error();
    EXPECT_EQ(Dump(), before);
}

}  // namespace
}  // namespace qvapp::test
