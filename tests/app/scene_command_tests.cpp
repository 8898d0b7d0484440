// Scene and time commands seen through the dump: new, time, range, tpf, anim, bone, rename,
// delete, and the errors that leave the scene as it was.
#include <fstream>

#include <cctype>
#include <string>

#include "session_fixture.h"

namespace qvapp::test {
namespace {

constexpr float kExact = 1e-5f;  // host units: positions set directly only lose float rounding

cpoint3 Point(const Json& a) { return {a[0].get<float>(), a[1].get<float>(), a[2].get<float>()}; }

void ExpectPoint(const Json& a, float x, float y, float z, float tol = kExact) {
    cpoint3 p = Point(a);
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

using SceneCommands = SessionTest;

TEST_F(SceneCommands, TimeSettingsShowInTheDump) {
    Json d = RunAndDump("range 10 80\ntpf 40\nanim on\ntime 25\n");
    EXPECT_EQ(d["range"], Json::array({10, 80}));
    EXPECT_EQ(d["tpf"], 40);
    EXPECT_EQ(d["anim"], true);
    EXPECT_EQ(d["time"], 25);
}

TEST_F(SceneCommands, NewEmptiesTheSceneAndResetsTime) {
    Json d = RunAndDump("bone \"A\"\nselect \"A\"\nrange 5 9\ntpf 50\nanim on\ntime 7\nnew\n");
    EXPECT_TRUE(d["nodes"].empty());
    EXPECT_TRUE(d["selection"].empty());
    EXPECT_EQ(d["time"], 0);
    EXPECT_EQ(d["range"], Json::array({0, 100}));
    EXPECT_EQ(d["tpf"], 33);
    EXPECT_EQ(d["anim"], false);
    EXPECT_TRUE(d["undo"].empty());
}

TEST_F(SceneCommands, BoneUnderAParentKeepsItsWorldPositionWithARelativeKey) {
    Json d = RunAndDump("bone \"Hip\" 1 2 3\nbone \"Knee\" 1 2 5 parent \"Hip\"\n");
    Json hip = NodeNamed(d, "Hip"), knee = NodeNamed(d, "Knee");
    ASSERT_FALSE(knee.is_null());
    EXPECT_EQ(hip["type"], 4);
    EXPECT_EQ(hip["children"], Json::array({"Knee"}));
    EXPECT_EQ(knee["parent"], "Hip");
    ExpectPoint(knee["world"]["pos"], 1, 2, 5);
    ASSERT_EQ(knee["keys"].size(), 1u);
    ExpectPoint(knee["keys"][0]["pos"], 0, 0, 2);  // relative to the hip at (1, 2, 3)
}

TEST_F(SceneCommands, BoneWithoutPositionStandsAtTheOrigin) {
    Json d = RunAndDump("bone \"Root\"\nbone \"Tip\" parent \"Root\"\n");
    ExpectPoint(NodeNamed(d, "Root")["world"]["pos"], 0, 0, 0);
    EXPECT_EQ(NodeNamed(d, "Tip")["parent"], "Root");
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

TEST_F(SceneCommands, RenameKeepsHierarchy) {
    Json d = RunAndDump("bone \"A\"\nbone \"B\" 0 0 1 parent \"A\"\nrename \"A\" \"Pelvis\"\n");
    EXPECT_EQ(NodeNames(d), (std::vector<std::string>{"Pelvis", "B"}));
    EXPECT_EQ(NodeNamed(d, "B")["parent"], "Pelvis");
}

TEST_F(SceneCommands, DeleteRemovesTheNodeAndItsChildrenKeepTheirPlace) {
    Json d = RunAndDump("bone \"A\" 0 0 1\nbone \"B\" 0 0 3 parent \"A\"\ndelete \"A\"\n");
    EXPECT_EQ(NodeNames(d), (std::vector<std::string>{"B"}));
    EXPECT_TRUE(NodeNamed(d, "B")["parent"].is_null());
    ExpectPoint(NodeNamed(d, "B")["world"]["pos"], 0, 0, 3);
}

TEST_F(SceneCommands, DeletingTheSelectedNodeEmptiesTheSelection) {
    Json d = RunAndDump("bone \"A\"\nbone \"B\"\nselect \"A\"\ndelete \"A\"\n");
    EXPECT_TRUE(d["selection"].empty());
}

// Each bad line fails at its own line, and what came before stays as it was.
struct BadLine {
    const char* line;
    const char* expect;  // part of the message
};

class SceneCommandErrors : public SessionTest,
                           public ::testing::WithParamInterface<BadLine> {};

TEST_P(SceneCommandErrors, FailAtTheirLineAndLeaveTheScene) {
    const std::string setup = "bone \"A\" 1 0 0\nrange 0 50\n";
    ASSERT_EQ(Run(setup), 0) << Error();
    Json before = Dump();
    EXPECT_EQ(Run(std::string("# a comment line\n") + GetParam().line + "\n"), 1);
    EXPECT_EQ(Error().rfind("test.qvs:2: ", 0), 0u) << Error();
    EXPECT_NE(Error().find(GetParam().expect), std::string::npos) << Error();
    EXPECT_EQ(Dump(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SceneCommandErrors,
    ::testing::Values(BadLine{"range 60 10", "after end"}, BadLine{"tpf 0", "positive"},
                      BadLine{"anim maybe", "on|off"}, BadLine{"time soon", "soon"},
                      BadLine{"bone \"B\" 1 2", "missing z"},
                      BadLine{"bone \"A\" 0 0 0", "exists"},
                      BadLine{"bone \"B\" parent \"Nobody\"", "Nobody"},
                      BadLine{"rename \"Nobody\" \"X\"", "Nobody"},
                      BadLine{"delete \"Nobody\"", "Nobody"},
                      BadLine{"new extra", "unexpected"},
                      BadLine{"frobnicate 1", "unknown command"},
                      BadLine{"\"time\" 4", "unknown command"}),
    [](const ::testing::TestParamInfo<BadLine>& info) {
        std::string name;
        for (char c : std::string(info.param.line))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name + "_" + std::to_string(info.index);
    });

TEST_F(SceneCommands, RenameOntoAnotherNodesNameIsRefused) {
    EXPECT_EQ(Run("bone \"A\"\nbone \"B\"\nrename \"A\" \"B\"\n"), 1);
    EXPECT_EQ(NodeNames(Dump()), (std::vector<std::string>{"A", "B"}));
}

TEST_F(SceneCommands, ScriptStopsAtTheFirstError) {
    EXPECT_EQ(Run("bone \"A\"\ntime x\nbone \"B\"\n"), 1);
    EXPECT_EQ(NodeNames(Dump()), (std::vector<std::string>{"A"}));
}

}  // namespace
}  // namespace qvapp::test
