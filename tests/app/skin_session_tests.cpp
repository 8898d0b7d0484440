// Skins from session scripts: OBJ meshes in (and refused at the line that is wrong), automatic
// binding, weights set by hand keeping the vertex where it was bound, the deformed mesh out, and
// the "Biped - Mirror Weights" tool through its panel, the host's node list and Apply.
#include <fstream>
#include <map>
#include <set>

#include "session_fixture.h"

namespace qvapp::test {
namespace {

constexpr char kToolName[] = "Biped - Mirror Weights";
// The sample character: symmetric about x = 0, vertices centre first, then left, then right.
const std::string kHuman = std::string(EXAMPLES_DIR) + "/human.obj";
// Positions read back from the dump: written with 9 significant digits, so a float comes back
// exactly; a deformed position is a weighted sum of matrix products, good to a few float steps
// of the 8-unit figure.
constexpr float kDeformTol = 1e-5f;

const std::string kBiped = "create \"Bones\" \"Biped\"\n" + kCreationPanelDefaults +
                           "drag 0 0 0 8 ground\nclose\n";

class Skins : public SessionTest {
protected:
    std::string WriteFile(const std::string& name, const std::string& text) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Opens the tool on the skin and picks the root through the host's node list.
    static std::string PickRoot(const std::string& skin, const std::string& root) {
        return "select \"" + skin + "\"\nmodify \"" + kToolName + "\"\npress \"Pick\"\n" +
               "choose \"Nodes:\" \"" + root + "\"\npress \"Select\"\n";
    }
    static Json Control(const Json& dump, int id) {
        for (const Json& c : dump["panel"]["controls"])
            if (c["id"] == id) return c;
        return nullptr;
    }
    static cpoint3 Pos(const Json& vert) {
        return {vert["pos"][0].get<float>(), vert["pos"][1].get<float>(), vert["pos"][2].get<float>()};
    }
};

std::map<std::string, float> Weights(const Json& vert) {
    std::map<std::string, float> w;
    for (const Json& pair : vert["w"]) w[pair[0].get<std::string>()] += pair[1].get<float>();
    return w;
}

// "Bip01 L Thigh" <-> "Bip01 R Thigh"; names without a side word stay.
std::string OtherSide(std::string name) {
    if (auto at = name.find(" L "); at != std::string::npos) return name.replace(at, 3, " R ");
    if (auto at = name.find(" R "); at != std::string::npos) return name.replace(at, 3, " L ");
    return name;
}

// --- OBJ import and export ---------------------------------------------------------------------

TEST_F(Skins, ImportReadsPolygonsNegativeIndicesGroupsAndComments) {
    WriteFile("shapes.obj",
              "# two shapes\r\nmtllib none.mtl\no Shapes\ng first\n"
              "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0 # a comment after a vertex\n"
              "vt 0 0\nvn 0 0 1\n"
              "f 1/1/1 2/1/1 3/1/1 4/1/1\n"
              "g second\nv 0 0 1\ns off\nf -1 -4 -3 # -2, a corner commented out\n");
    Json d = RunAndDump("import \"shapes.obj\"\nexport \"shapes\" \"out.obj\"\n");
    Json n = NodeNamed(d, "shapes");  // named after the file
    ASSERT_FALSE(n.is_null());
    EXPECT_EQ(n["type"], 6);
    ASSERT_EQ(n["skin"]["verts"].size(), 5u);
    EXPECT_EQ(Pos(n["skin"]["verts"][4]).z, 1.0f);
    EXPECT_TRUE(n["skin"]["verts"][0]["w"].empty());
    // The quad becomes two triangles, the negative triangle names vertices 5, 2 and 3.
    std::ifstream out(dir_ / "out.obj");
    std::string line, faces;
    while (std::getline(out, line))
        if (line.rfind("f ", 0) == 0) faces += line + "\n";
    EXPECT_EQ(faces, "f 1 2 3\nf 1 3 4\nf 5 2 3\n");
}

TEST_F(Skins, ImportTakesAGivenNameAndRefusesATakenOne) {
    WriteFile("tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    Json d = RunAndDump("import \"tri.obj\" name \"Mesh A\"\n");
    EXPECT_FALSE(NodeNamed(d, "Mesh A").is_null());
    EXPECT_EQ(Run("import \"tri.obj\" name \"Mesh A\"\n"), 1);
    EXPECT_NE(Error().find("a node named \"Mesh A\" exists"), std::string::npos) << Error();
}

TEST_F(Skins, AMalformedFileIsRefusedAtItsLineAndTheSceneStaysAsItWas) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"v 0 0 0\nv 1 0\n", "line 2: a vertex needs three coordinates"},
        {"v 0 0 0\nv 1 nan 0\n", "line 2: \"nan\" is not a finite number"},
        {"v 0 0 0\nv 1 x 0\n", "line 2: \"x\" is not a finite number"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\n\n# fine so far\nf 1 2 4\n",
         "line 6: face corner \"4\" names vertex 4 but 3 vertices are read so far"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 -4 2\n", "line 4: face corner \"-4\" names vertex -4"},
        {"v 0 0 0\nv 1 0 0\nf 1 2\n", "line 3: a face needs three corners or more"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n", "line 4: face corner \"0\" does not start"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nvertex 1 2 3\n",
         "line 5: \"vertex\" is not an OBJ statement"},
        {"# nothing\no Empty\n", "the file holds no vertices"},
    };
    ASSERT_EQ(Run("bone \"Root\" 0 0 0\n"), 0) << Error();
    const std::string before = DumpSceneText(tools_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile("bad.obj", c.text);
        EXPECT_EQ(Run("import \"bad.obj\"\n"), 1);
        EXPECT_NE(Error().find(c.message), std::string::npos) << Error();
        EXPECT_EQ(DumpSceneText(tools_), before);
    }
    // A face of more corners than the reader counts is refused rather than misread.
    std::string wide, face = "f";
    for (int i = 0; i < 256; ++i) {
        wide += "v " + std::to_string(i % 16) + " " + std::to_string(i / 16) + " 0\n";
        face += " " + std::to_string(i + 1);
    }
    WriteFile("wide.obj", wide + face + "\n");
    EXPECT_EQ(Run("import \"wide.obj\"\n"), 1);
    EXPECT_NE(Error().find("line 257: a face has 256 corners, more than the 255 read"),
              std::string::npos) << Error();
    EXPECT_EQ(DumpSceneText(tools_), before);
    EXPECT_EQ(Run("import \"missing.obj\"\n"), 1);
    EXPECT_NE(Error().find("cannot read"), std::string::npos) << Error();
}

// --- bind, weight, export ------------------------------------------------------------------------

TEST_F(Skins, BindGivesNormalisedWeightsFromTheNearestBonesAndKeepsTheMeshInPlace) {
    Json imported = RunAndDump(kBiped + "import \"" + kHuman + "\" name \"Body\"\n");
    Json d = RunAndDump("bind \"Body\" \"Bip01\" max 3\n");
    const Json before = NodeNamed(imported, "Body")["skin"]["verts"];
    const Json verts = NodeNamed(d, "Body")["skin"]["verts"];
    ASSERT_EQ(verts.size(), before.size());
    for (size_t i = 0; i < verts.size(); ++i) {
        const Json& w = verts[i]["w"];
        ASSERT_GE(w.size(), 1u);
        ASSERT_LE(w.size(), 3u);
        float sum = 0.0f;
        for (const Json& pair : w) sum += pair[1].get<float>();
        EXPECT_NEAR(sum, 1.0f, 1e-5f) << "vertex " << i;
        EXPECT_LT(Length(Pos(verts[i]) - Pos(before[i])), kDeformTol) << "vertex " << i;
    }
    // The sample's left foot block (a vertex near the left toes) goes with the left foot.
    bool footWeighted = false;
    for (const Json& v : verts)
        if (Pos(v).x > 0.3f && Pos(v).z < 0.2f && Pos(v).y < -0.5f && !v["w"].empty())
            footWeighted |= Weights(v).begin()->first.find(" L Foot") != std::string::npos ||
                            Weights(v).begin()->first.find(" L Toe") != std::string::npos;
    EXPECT_TRUE(footWeighted);
    EXPECT_EQ(Run("bind \"Body\" \"Bip01\" max 11\n"), 1);
    EXPECT_EQ(Run("bind \"Bip01\" \"Bip01\"\n"), 1);  // a bone is not a mesh
}

TEST_F(Skins, TheSkinFollowsAPoseAndExportsTheDeformedMeshAtAFrame) {
    Json bound = RunAndDump(kBiped + "import \"" + kHuman + "\" name \"Body\"\n" +
                            "bind \"Body\" \"Bip01\"\nanim on\ntime 10\n"
                            "select \"Bip01 L UpperArm\"\nrotate 0 1 0 60\ntime 0\n");
    Json posed = RunAndDump("time 10\nexport \"Body\" \"at0.obj\" frame 0\n");
    const Json rest = NodeNamed(bound, "Body")["skin"]["verts"];
    const Json moved = NodeNamed(posed, "Body")["skin"]["verts"];
    int movedCount = 0, stillRight = 0;
    for (size_t i = 0; i < rest.size(); ++i) {
        const float dist = Length(Pos(moved[i]) - Pos(rest[i]));
        if (dist > 0.01f) ++movedCount;
        if (Pos(rest[i]).x < -0.3f && dist < kDeformTol) ++stillRight;  // the right side stays
    }
    EXPECT_GT(movedCount, 20);
    EXPECT_GT(stillRight, 100);
    // The export at frame 0 is the rest shape.
    std::ifstream in(dir_ / "at0.obj");
    std::string line;
    size_t i = 0;
    while (std::getline(in, line)) {
        if (line.rfind("v ", 0) != 0) continue;
        cpoint3 p;
        ASSERT_EQ(std::sscanf(line.c_str(), "v %f %f %f", &p.x, &p.y, &p.z), 3);
        ASSERT_LT(i, rest.size());
        EXPECT_LT(Length(p - Pos(rest[i])), kDeformTol) << "vertex " << i;
        ++i;
    }
    EXPECT_EQ(i, rest.size());
}

// A weight given another bone takes its offset from the bind, so the vertex stays where it was
// bound and then moves with its new bone.
TEST_F(Skins, AWeightOnAnotherBoneKeepsTheVertexWhereItWasBound) {
    WriteFile("quad.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    Json d = RunAndDump("bone \"A\" 0 0 0\nbone \"B\" 2 0 0 parent \"A\"\n"
                        "bone \"C\" 0 5 0\nimport \"quad.obj\"\nbind \"quad\" \"A\"\n"
                        "weight \"quad\" 2 \"C\" 1\n");
    const Json verts = NodeNamed(d, "quad")["skin"]["verts"];
    EXPECT_EQ(Pos(verts[2]).x, 1.0f);
    EXPECT_EQ(Pos(verts[2]).y, 1.0f);
    EXPECT_EQ(Weights(verts[2]), (std::map<std::string, float>{{"C", 1.0f}}));
    d = RunAndDump("select \"C\"\nmove 0 0 2\n");
    const Json after = NodeNamed(d, "quad")["skin"]["verts"];
    EXPECT_NEAR(Pos(after[2]).z, 2.0f, kDeformTol);
    EXPECT_NEAR(Pos(after[0]).z, 0.0f, kDeformTol);  // still on A and B
    EXPECT_EQ(Run("weight \"quad\" 4 \"A\" 1\n"), 1);
    EXPECT_EQ(Run("weight \"quad\" 0 \"Nobody\" 1\n"), 1);
}

// --- the Mirror Weights tool ---------------------------------------------------------------------

TEST_F(Skins, ApplyWithoutARootBoneSaysSoAndChangesNothing) {
    ASSERT_EQ(Run(kBiped + "import \"" + kHuman + "\" name \"Body\"\nbind \"Body\" \"Bip01\"\n"), 0)
        << Error();
    const Json before = NodeNamed(Dump(), "Body")["skin"];
    Json d = RunAndDump("select \"Body\"\nmodify \"" + std::string(kToolName) +
                        "\"\napply\nanswer ok\n");
    ASSERT_EQ(d["messages"].size(), 1u);
    EXPECT_EQ(d["messages"][0]["caption"], kToolName);
    EXPECT_EQ(d["messages"][0]["text"], "Biped Root Bone Not Selected!");
    EXPECT_EQ(NodeNamed(d, "Body")["skin"]["verts"], before["verts"]);
    EXPECT_EQ(Control(d, 1102)["text"], "");
}

TEST_F(Skins, MirroringCopiesRightWeightsToTheLeftWithBonesSwapped) {
    Json d = RunAndDump(kBiped + "import \"" + kHuman + "\" name \"Body\"\nbind \"Body\" \"Bip01\"\n" +
                        PickRoot("Body", "Bip01") + "press \"Left\"\napply\n");
    EXPECT_EQ(Control(d, 1099)["text"], "Bip01");
    const Json skin = NodeNamed(d, "Body")["skin"];
    const Json report = skin["mirror"];
    ASSERT_FALSE(report.is_null());
    const int matched = report["matched"], sources = report["sources"];
    EXPECT_GT(matched, 100);
    EXPECT_EQ(Control(d, 1102)["text"], "<Body>:\r\n " + std::to_string(matched) + " of " +
                                            std::to_string(sources) + " matched\r\n\r\n");
    // Selected: the matched destinations, one per matched source at most.
    EXPECT_GT(skin["selected"].size(), 0u);
    EXPECT_LE(skin["selected"].size(), static_cast<size_t>(matched));
    // The match goes by distance from the bone and direction along its x axis only, so a
    // destination is not always the source's exact twin (a ring around a limb has several
    // points alike): every selected destination carries the weights of some source (a vertex
    // on a right or centre bone, left as it was) with every bone swapped to its other side.
    const Json& verts = skin["verts"];
    std::set<std::map<std::string, float>> mirrored;
    for (const Json& v : verts) {
        bool source = false;
        for (const auto& [bone, value] : Weights(v)) source |= bone.find(" L ") == std::string::npos;
        if (!source) continue;
        std::map<std::string, float> w;
        for (const auto& [bone, value] : Weights(v)) w[OtherSide(bone)] += value;
        mirrored.insert(w);
    }
    int onTheLeft = 0;
    for (const Json& sel : skin["selected"]) {
        const Json& v = verts[sel.get<int>()];
        EXPECT_TRUE(mirrored.count(Weights(v))) << "vertex " << sel;
        onTheLeft += Pos(v).x > 0.0f;
    }
    EXPECT_EQ(onTheLeft, static_cast<int>(skin["selected"].size()));
}

TEST_F(Skins, TheToleranceIsClampedAndShownWithSixDecimals) {
    ASSERT_EQ(Run(kBiped + "import \"" + kHuman + "\" name \"Body\"\nselect \"Body\"\nmodify \"" +
                  kToolName + "\"\n"), 0) << Error();
    EXPECT_EQ(Control(Dump(), 1000)["text"], "0.010000");
    const std::pair<const char*, const char*> cases[] = {
        // 9999.9 is kept as a float, and the float nearest 9999.9 shows as 9999.900391.
        {"-5", "0.000000"}, {"20000", "9999.900391"}, {"0.25", "0.250000"}, {"x", "0.250000"}};
    for (const auto& [typed, shown] : cases) {
        ASSERT_EQ(Run(std::string("type \"Tolerance:\" ") + typed + "\n"), 0) << Error();
        EXPECT_EQ(Control(Dump(), 1000)["text"], shown) << typed;
    }
    // Enter (the dialog's default command) reads it too.
    ASSERT_EQ(Run("type \"Tolerance:\" 0.01 enter\n"), 0) << Error();
    EXPECT_EQ(Control(Dump(), 1000)["text"], "0.010000");
}

TEST_F(Skins, TheTwoSelectionBoxesAreNeverBothOn) {
    ASSERT_EQ(Run(kBiped + "import \"" + kHuman + "\" name \"Body\"\nselect \"Body\"\nmodify \"" +
                  kToolName + "\"\n"), 0) << Error();
    auto boxes = [&] {
        Json d = Dump();
        return std::make_pair(Control(d, 1100)["checked"].get<bool>(),
                              Control(d, 1101)["checked"].get<bool>());
    };
    // The module keeps the options from test to test: start from matched on.
    if (!boxes().second) {
        ASSERT_EQ(Run("press \"Select matched vertices\"\n"), 0);
    }
    EXPECT_EQ(boxes(), std::make_pair(false, true));
    ASSERT_EQ(Run("press \"Select unmatched vertices\"\n"), 0);
    EXPECT_EQ(boxes(), std::make_pair(true, false));
    ASSERT_EQ(Run("press \"Select matched vertices\"\n"), 0);
    EXPECT_EQ(boxes(), std::make_pair(false, true));
    ASSERT_EQ(Run("press \"Select matched vertices\"\n"), 0);  // off: both off
    EXPECT_EQ(boxes(), std::make_pair(false, false));
    // Unmatched on: the unmatched sources are selected after Apply.
    Json d = RunAndDump("bind \"Body\" \"Bip01\"\npress \"Pick\"\nchoose \"Nodes:\" \"Bip01\"\n"
                        "press \"Select\"\npress \"Select unmatched vertices\"\napply\n");
    const Json skin = NodeNamed(d, "Body")["skin"];
    size_t unmatched = 0;
    for (const Json& g : skin["mirror"]["unmatched"]) unmatched += g["verts"].size();
    EXPECT_EQ(skin["selected"].size(), unmatched);
    EXPECT_GT(unmatched, 0u);
    ASSERT_EQ(Run("press \"Select matched vertices\"\n"), 0);  // back as the module started
}

// Reports are appended while the details text is shorter than 896 characters; the report after
// that replaces the whole text.
TEST_F(Skins, DetailsGrowUntil896CharactersAndThenStartAgain) {
    const std::string name(150, 'n');
    ASSERT_EQ(Run(kBiped + "import \"" + kHuman + "\" name \"" + name + "\"\nbind \"" + name +
                  "\" \"Bip01\"\n" + PickRoot(name, "Bip01")), 0) << Error();
    std::string expected;
    for (int run = 0; run < 8; ++run) {
        Json d = RunAndDump("apply\n");
        const Json report = NodeNamed(d, name)["skin"]["mirror"];
        const std::string line = "<" + name + ">:\r\n " + std::to_string(report["matched"].get<int>()) +
                                 " of " + std::to_string(report["sources"].get<int>()) +
                                 " matched\r\n\r\n";
        expected = expected.size() < 896 ? expected + line : line;
        EXPECT_EQ(Control(d, 1102)["text"], expected) << "run " << run;
    }
}

TEST_F(Skins, SkinsThatAreNotSelectedAreLeftAlone) {
    WriteFile("tri.obj", "v 0.5 0 5\nv -0.5 0 5\nv 0 0.2 5\nf 1 2 3\n");
    ASSERT_EQ(Run(kBiped + "import \"" + kHuman + "\" name \"Body\"\nbind \"Body\" \"Bip01\"\n" +
                  "import \"tri.obj\" name \"Other\"\nbind \"Other\" \"Bip01\"\n"), 0) << Error();
    const Json before = NodeNamed(Dump(), "Other")["skin"];
    Json d = RunAndDump(PickRoot("Body", "Bip01") + "apply\n");
    EXPECT_EQ(NodeNamed(d, "Other")["skin"], before);
    EXPECT_FALSE(NodeNamed(d, "Body")["skin"]["mirror"].is_null());
}

// The asymmetry report. A right-arm vertex repainted by hand shows as the
// largest difference of its bone pair.
TEST_F(Skins, TheMirrorReportShowsWhereTheSidesDiffered) {
    Json bound = RunAndDump(kBiped + "import \"" + kHuman + "\" name \"Body\"\nbind \"Body\" \"Bip01\"\n");
    // The right vertex farthest out along -x (a hand vertex): all on the right forearm.
    const Json verts = NodeNamed(bound, "Body")["skin"]["verts"];
    int far = 0;
    for (size_t i = 0; i < verts.size(); ++i)
        if (Pos(verts[i]).x < Pos(verts[far]).x) far = static_cast<int>(i);
    Json d = RunAndDump("weight \"Body\" " + std::to_string(far) + " \"Bip01 R Forearm\" 1\n" +
                        PickRoot("Body", "Bip01") + "apply\n");
    const Json report = NodeNamed(d, "Body")["skin"]["mirror"];
    bool found = false;
    for (const Json& p : report["pairs"])
        if (p["bone"] == "Bip01 R Forearm") {
            EXPECT_EQ(p["mirror"], "Bip01 L Forearm");
            EXPECT_EQ(p["worst_vertex"], far);
            EXPECT_GT(p["max_diff"].get<float>(), 0.5f);
            found = true;
        }
    EXPECT_TRUE(found);
    // Unmatched vertices are grouped by nearest bone, each group's vertices ascending.
    for (const Json& g : report["unmatched"]) {
        EXPECT_FALSE(g["verts"].empty());
        EXPECT_TRUE(std::is_sorted(g["verts"].begin(), g["verts"].end()));
    }
}

TEST_F(Skins, ApplyNeedsAToolWithAnApplyButton) {
    EXPECT_EQ(Run("apply\n"), 1);
    EXPECT_NE(Error().find("no modify tool is open"), std::string::npos) << Error();
    ASSERT_EQ(Run(kBiped + "select \"Bip01\"\nmodify \"Biped\"\n"), 0) << Error();
    EXPECT_EQ(Run("apply\n"), 1);
    EXPECT_NE(Error().find("has no Apply button"), std::string::npos) << Error();
}

TEST_F(Skins, ARenderDrawsTheSkin) {
    ASSERT_EQ(Run(kBiped + "import \"" + kHuman + "\" name \"Body\"\nbind \"Body\" \"Bip01\"\n" +
                  "render \"skin.png\" view front size 160 160\n"), 0) << Error();
    EXPECT_GT(std::filesystem::file_size(dir_ / "skin.png"), 1000u);
}

}  // namespace
}  // namespace qvapp::test
