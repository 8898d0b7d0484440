// Scene and time commands seen through the dump: new, time, range, tpf, anim, bone, rename,
// delete, and the errors that leave the scene as it was.
#include <fstream>

#include "session_fixture.h"

namespace qvapp::test {
namespace {

void ExpectPoint(const Json& a, float x, float y, float z) {
    constexpr float kExact = 1e-5f;  // positions set directly only lose float rounding
    EXPECT_NEAR(a[0].get<float>(), x, kExact);
    EXPECT_NEAR(a[1].get<float>(), y, kExact);
    EXPECT_NEAR(a[2].get<float>(), z, kExact);
}

using SceneCommands = SessionTest;

TEST_F(SceneCommands, TimeSettingsShowInTheDumpAndNewResetsThem) {
    Json d = RunAndDump("bone \"A\"\nselect \"A\"\nrange 10 80\ntpf 40\nanim on\ntime 25\n");
    EXPECT_EQ(d["range"], Json::array({10, 80}));
    EXPECT_EQ(d["tpf"], 40);
    EXPECT_EQ(d["anim"], true);
    EXPECT_EQ(d["time"], 25);
    d = RunAndDump("new\n");
    EXPECT_TRUE(d["nodes"].empty());
    EXPECT_TRUE(d["selection"].empty());
    EXPECT_EQ(d["time"], 0);
    EXPECT_EQ(d["range"], Json::array({0, 100}));
    EXPECT_EQ(d["tpf"], 33);
    EXPECT_EQ(d["anim"], false);
    EXPECT_TRUE(d["undo"].empty());
}

TEST_F(SceneCommands, BoneUnderAParentKeepsItsWorldPositionWithARelativeKey) {
    Json d = RunAndDump(
        "bone \"Hip\" 1 2 3\nbone \"Knee\" 1 2 5 parent \"Hip\"\nbone \"Toe\" parent \"Knee\"\n");
    Json hip = NodeNamed(d, "Hip"), knee = NodeNamed(d, "Knee");
    ASSERT_FALSE(knee.is_null());
    EXPECT_EQ(hip["type"], 4);
    EXPECT_EQ(hip["children"], Json::array({"Knee"}));
    EXPECT_EQ(knee["parent"], "Hip");
    ExpectPoint(knee["world"]["pos"], 1, 2, 5);
    ASSERT_EQ(knee["keys"].size(), 1u);
    ExpectPoint(knee["keys"][0]["pos"], 0, 0, 2);  // relative to the hip at (1, 2, 3)
    ExpectPoint(NodeNamed(d, "Toe")["world"]["pos"], 0, 0, 0);  // no position: the origin
}

TEST_F(SceneCommands, DumpedFloatsReadBackAsTheSameFloat) {
    ASSERT_EQ(Run("bone \"A\" 0.333333343 -1234.56787 0.1\ndump \"d.json\"\n"), 0) << Error();
    std::ifstream in(dir_ / "d.json");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("0.333333343"), std::string::npos);  // 9 significant digits, no more
    EXPECT_EQ(text.find("0.33333334326"), std::string::npos);
    Json pos = NodeNamed(Json::parse(text), "A")["world"]["pos"];
    EXPECT_EQ(pos[0].get<float>(), 1.0f / 3.0f);
    EXPECT_EQ(pos[1].get<float>(), -1234.56787f);
    EXPECT_EQ(pos[2].get<float>(), 0.1f);
}

TEST_F(SceneCommands, RenameKeepsHierarchyAndDeleteKeepsTheChildrensPlace) {
    Json d =
        RunAndDump("bone \"A\" 0 0 1\nbone \"B\" 0 0 3 parent \"A\"\nrename \"A\" \"Pelvis\"\n");
    EXPECT_EQ(NodeNames(d), (std::vector<std::string>{"Pelvis", "B"}));
    EXPECT_EQ(NodeNamed(d, "B")["parent"], "Pelvis");
    d = RunAndDump("select \"Pelvis\"\ndelete \"Pelvis\"\n");
    EXPECT_EQ(NodeNames(d), (std::vector<std::string>{"B"}));
    EXPECT_TRUE(NodeNamed(d, "B")["parent"].is_null());
    ExpectPoint(NodeNamed(d, "B")["world"]["pos"], 0, 0, 3);
    EXPECT_TRUE(d["selection"].empty());
}

// Each bad line fails at its own line, and what came before stays as it was.
TEST_F(SceneCommands, BadLinesFailAtTheirLineAndLeaveTheScene) {
    ASSERT_EQ(Run("bone \"A\" 1 0 0\nbone \"B\"\nrange 0 50\n"), 0) << Error();
    const Json before = Dump();
    const std::pair<const char*, const char*> bad[] = {
        {"range 60 10", "after end"}, {"tpf 0", "positive"}, {"anim maybe", "on|off"},
        {"time soon", "soon"}, {"bone \"C\" 1 2", "missing z"}, {"bone \"A\" 0 0 0", "exists"},
        {"bone \"C\" parent \"Nobody\"", "Nobody"}, {"rename \"Nobody\" \"X\"", "Nobody"},
        {"rename \"A\" \"B\"", "\"B\" exists"}, {"delete \"Nobody\"", "Nobody"},
        {"new extra", "unexpected"}, {"frobnicate 1", "unknown command"},
        {"\"time\" 4", "unknown command"}};
    for (const auto& [line, message] : bad) {
        SCOPED_TRACE(line);
        EXPECT_EQ(Run(std::string("# a comment line\n") + line + "\nbone \"After\"\n"), 1);
        EXPECT_EQ(Error().rfind("test.qvs:2: ", 0), 0u) << Error();
        EXPECT_NE(Error().find(message), std::string::npos) << Error();
        EXPECT_EQ(Dump(), before);  // the script stops at the first error
    }
}

}  // namespace
}  // namespace qvapp::test
