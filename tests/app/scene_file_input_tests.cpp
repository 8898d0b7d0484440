// The scene file against what users and other programs hand it: names of any bytes, fields of
// the wrong type, numbers beyond a float or a flag word, extreme values that must round-trip,
// and the files of older versions that must still load.
#include <cfloat>
#include <climits>
#include <fstream>

#include "quorvane/interface.h"
#include "quorvane/skin.h"
#include "scene_file.h"

#include "session_fixture.h"

namespace qvapp::test {
namespace {

const std::filesystem::path kData = APP_TEST_DATA_DIR;

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SceneFileInput : public SessionTest {
protected:
    std::string Path(const char* name) { return (dir_ / name).string(); }
    // The scene as the writer sees it, as text: equal texts are equal scenes, bit for bit
    // (9 significant digits give every float back exactly).
    std::string Captured() { return SceneToJson(CaptureScene()).dump(); }
    // Loads the file, which must be refused with the scene untouched and a message naming
    // the field.
    void ExpectRefused(const std::string& path, const std::string& field) {
        const Json before = Dump();
        std::string error;
        EXPECT_FALSE(LoadSceneFile(path, tools_, error)) << path;
        EXPECT_NE(error.find(field), std::string::npos) << path << ": " << error;
        EXPECT_EQ(Dump(), before) << path;
    }
};

TEST_F(SceneFileInput, Latin1NameFromAScriptIsDumpedSavedAndLoadedBack) {
    const std::string script = ReadAll(kData / "scripts" / "latin1-bone-name.qvs");
    ASSERT_EQ(Run(script), 0) << Error();
    for (const char* dump : {"latin1.json", "loaded.json"}) {
        const Json d = Json::parse(ReadAll(dir_ / dump));
        EXPECT_EQ(NodeNames(d), (std::vector<std::string>{"caf\\xE9", "back\\\\slash"})) << dump;
        EXPECT_EQ(d["nodes"][1]["parent"], "caf\\xE9") << dump;
    }
    ASSERT_NE(Interface::FindNode("caf\xE9"), nullptr);
    EXPECT_EQ(Interface::FindNode("back\\slash")->GetParent(), Interface::FindNode("caf\xE9"));
}

TEST_F(SceneFileInput, RefusedSaveLeavesTheOldFileWholeAndSaysWhy) {
    ASSERT_EQ(Run("bone \"A\" 0 0 1\nsave \"keep.qscene\"\n"), 0) << Error();
    const std::string saved = ReadAll(Path("keep.qscene"));
    // A module could write a value no file can hold.
    Interface::FindNode("A")->anim.SetKey({0, {0, 0, INFINITY}, {}, {1, 1, 1}});
    std::string error;
    EXPECT_FALSE(SaveSceneFile(Path("keep.qscene"), error));
    EXPECT_NE(error.find("node \"A\" key at frame 0 pos is not finite"), std::string::npos)
        << error;
    EXPECT_EQ(ReadAll(Path("keep.qscene")), saved);
}

// Scenes at the edges of what the host holds: every float the writer writes, every flag bit,
// the ends of the int range, names of any bytes, an empty track and a skin weight.
TEST_F(SceneFileInput, EveryValueTheWriterWritesLoadsBackBitForBit) {
    const float extremes[] = {FLT_MAX, -FLT_MAX, FLT_MIN, FLT_TRUE_MIN, -0.0f, 1.0f / 3.0f};
    for (float v : extremes) {
        qv::ResetScene();
        cbone* a = CreateNewBone();
        a->SetName("caf\xE9 \\x41 \x01");
        cbone* b = CreateNewBone();
        b->SetName("");
        a->Attach(b, 0);
        a->anim.SetKey({INT_MIN, {v, v, v}, {v, v, v, v}, {v, v, v}});
        a->anim.SetKey({INT_MAX, {-v, 0, v}, {}, {v, 1, v}});
        a->SetColor({v, v, v, v});
        a->SetIKInfo({{v, v, v, v}, {v, v, v}, {-v, -v, -v}, INT_MIN});
        a->SetFlags(0xFFFFFFFFu);
        b->anim.Clear();
        auto* skin = new cskin();
        skin->SetName("\xFF");
        cskinvertex vertex;
        vertex.pos = {v, -v, v};
        vertex.numWeights = 1;
        vertex.weights[0] = {v, {v, v, -v}, a};
        skin->verts = {vertex};
        skin->numVerts = 1;
        skin->vertSel.SetCount(1);
        for (cnode* n : {static_cast<cnode*>(a), static_cast<cnode*>(b), static_cast<cnode*>(skin)})
            Interface::AddToScene(n, 0);
        Interface::SetAnimStart(INT_MIN);
        Interface::SetAnimEnd(INT_MAX);
        Interface::SetAnimTPF(INT_MAX);
        Interface::SetAnimTime(INT_MAX);
        const std::string before = Captured();
        std::string error;
        ASSERT_TRUE(SaveSceneFile(Path("edge.qscene"), error)) << v << ": " << error;
        qv::ResetScene();
        ASSERT_TRUE(LoadSceneFile(Path("edge.qscene"), tools_, error)) << v << ": " << error;
        EXPECT_EQ(Captured(), before) << v;
    }
}

TEST_F(SceneFileInput, FilesOfEveryVersionStillLoad) {
    std::string error;
    // Version 1 held names as plain text: a backslash there is just a backslash.
    ASSERT_TRUE(LoadSceneFile((kData / "scenes" / "version-1.qscene").string(), tools_, error))
        << error;
    Json d = Dump();
    EXPECT_EQ(NodeNames(d), (std::vector<std::string>{"Hip", "C:\\\\x41"}));
    EXPECT_EQ(Interface::FindNode("C:\\x41")->GetParent(), Interface::FindNode("Hip"));
    EXPECT_EQ(d["time"], 5);
    EXPECT_EQ(d["tpf"], 40);
    EXPECT_EQ(NodeNamed(d, "Hip")["keys"].size(), 2u);
    // Version 2 escapes names; flags hold all 32 bits, a track may be empty, a float reaches
    // FLT_MAX through its 9-digit spelling.
    ASSERT_TRUE(LoadSceneFile((kData / "scenes" / "version-2.qscene").string(), tools_, error))
        << error;
    cnode* cafe = Interface::FindNode("caf\xE9");
    ASSERT_NE(cafe, nullptr);
    EXPECT_EQ(cafe->GetFlags(), 0xFFFFFFFFu);
    EXPECT_EQ(cafe->GetPosition(0).z, FLT_MAX);
    cnode* hand = Interface::FindNode("Left\\Hand");
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(hand->GetParent(), cafe);
    EXPECT_EQ(hand->anim.NumKeys(), 0);
    auto* skin = static_cast<cskin*>(Interface::FindNode("Mesh"));
    ASSERT_EQ(skin->numVerts, 1);
    EXPECT_EQ(skin->verts[0].weights[0].bone, cafe);
}

TEST_F(SceneFileInput, CrashInputsAreRefusedNamingTheField) {
    ASSERT_EQ(Run("bone \"Keep\" 1 1 1\nselect \"Keep\"\ntime 3\n"), 0) << Error();
    const std::pair<const char*, const char*> files[] = {
        {"format-number.qscene", "\"format\""},   {"format-null.qscene", "\"format\""},
        {"format-array.qscene", "\"format\""},    {"format-object.qscene", "\"format\""},
        {"format-true.qscene", "\"format\""},     {"position-beyond-float.qscene", "pos[0]"},
        {"flags-negative.qscene", "flags"},       {"flags-past-32-bits.qscene", "flags"},
        {"time-past-64-bits-signed.qscene", "time"},
        {"parent-past-64-bits-signed.qscene", "parent"},
    };
    for (const auto& [file, field] : files) ExpectRefused((kData / "refused" / file).string(), field);
}

// Each case puts a value of the wrong type (or beyond its range) at one place of a good file.
TEST_F(SceneFileInput, EveryFieldOfTheWrongTypeIsRefusedNamingIt) {
    ASSERT_EQ(Run("bone \"Keep\" 1 1 1\nselect \"Keep\"\n"), 0) << Error();
    const Json good = Json::parse(ReadAll(kData / "scenes" / "version-2.qscene"));
    const struct {
        const char* pointer;
        Json value;
        const char* field;  // what the message must name
    } cases[] = {
        {"/format", 1, "format"},
        {"/version", "2", "version"},
        {"/version", 2.5, "version"},
        {"/time", "0", "time"},
        {"/time", 1e10, "time"},
        {"/range", Json::object(), "range"},
        {"/range/0", true, "range start"},
        {"/tpf", nullptr, "tpf"},
        {"/anim", 0, "anim"},
        {"/nodes", Json::object(), "nodes"},
        {"/nodes/0", Json::array(), "node 0"},
        {"/nodes/0/name", 5, "name"},
        {"/nodes/0/name", "a\\q", "name"},
        {"/nodes/0/name", "nul\\x00", "NUL"},
        {"/nodes/0/type", "4", "type"},
        {"/nodes/1/parent", "0", "parent"},
        {"/nodes/0/children", 1, "children"},
        {"/nodes/0/children/0", "1", "child"},
        {"/nodes/0/color/2", "a", "color[2]"},
        {"/nodes/0/flags", 1.5, "flags"},
        {"/nodes/0/ik", Json::array(), "ik"},
        {"/nodes/0/ik/dof", "x", "dof"},
        {"/nodes/0/ik/min", Json::array({0, 0}), "ik min"},
        {"/nodes/0/keys", Json::object(), "keys"},
        {"/nodes/0/keys/0", 0, "key 0"},
        {"/nodes/0/keys/0/t", "0", "key 0 t"},
        {"/nodes/0/keys/0/pos/1", nullptr, "pos[1]"},
        {"/nodes/0/keys/0/rot", Json::array({0, 0, 1}), "rot"},
        {"/nodes/0/keys/0/scale/0", -1e39, "scale[0]"},
        {"/nodes/2/skin", Json::array(), "skin"},
        {"/nodes/2/skin/triangles", "x", "triangles"},
        {"/nodes/2/skin/vertices/0/weights/0/value", "1", "weight value"},
        {"/nodes/2/skin/vertices/0/weights/0/bone", 7, "weight bone"},
    };
    for (const auto& c : cases) {
        Json file = good;
        file[Json::json_pointer(c.pointer)] = c.value;
        std::ofstream(Path("typed.qscene")) << file.dump();
        SCOPED_TRACE(std::string(c.pointer) + " = " + c.value.dump());
        ExpectRefused(Path("typed.qscene"), c.field);
    }
}

TEST_F(SceneFileInput, SceneWhoseWorldOverflowsThroughAParentIsRefused) {
    ASSERT_EQ(Run("bone \"Keep\" 1 1 1\n"), 0) << Error();
    // Finite keys: the root scales by 1e30 and its child stands 1e30 away from it.
    Json file = Json::parse(ReadAll(kData / "scenes" / "version-2.qscene"));
    file["nodes"][0]["keys"][0]["pos"] = {0, 0, 0};
    file["nodes"][0]["keys"][0]["scale"] = {1e30, 1e30, 1e30};
    file["nodes"][1]["keys"] = {{{"t", 0}, {"pos", {0, 0, 1e30}}, {"rot", {0, 0, 0, 1}},
                                 {"scale", {1, 1, 1}}}};
    std::ofstream(Path("far.qscene")) << file.dump();
    ExpectRefused(Path("far.qscene"), "node \"Left\\\\Hand\" world position is not finite");
}

}  // namespace
}  // namespace qvapp::test
