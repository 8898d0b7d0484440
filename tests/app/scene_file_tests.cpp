// The .qscene file: write-read-compare of a scene with hierarchy, keys, colours, flags, IK and
// skin, and refusal of bad files with the scene left untouched.
#include <fstream>

#include "dump.h"
#include "qvcore/host.h"
#include "quorvane/interface.h"
#include "quorvane/skin.h"
#include "scene_file.h"

#include "session_fixture.h"

namespace qvapp::test {
namespace {

class SceneFile : public SessionTest {
protected:
    // A scene with an animated chain, a hidden coloured bone with IK settings and a skin.
    void BuildScene() {
        cbone* hip = CreateNewBone();
        hip->SetName("Hip");
        cbone* knee = CreateNewBone();
        knee->SetName("Knee");
        cbone* other = CreateNewBone();
        other->SetName("Other");
        hip->Attach(knee, 0);
        Interface::AddToScene(hip, 0);
        Interface::AddToScene(knee, 0);
        Interface::AddToScene(other, 0);
        knee->anim.SetKey({0, {0, 0, 2}, {}, {1, 1, 1}});
        knee->anim.SetKey({10, {0, 0.5f, 2}, Normalize(cquat(0.1f, 0.2f, 0.3f, 0.9f)), {1, 2, 1}});
        hip->anim.SetKey({5, {1.0f / 3.0f, 0, 1}, {}, {1, 1, 1}});
        other->SetColor({0.25f, 0.5f, 0.75f, 1.0f});
        other->SetFlags(other->GetFlags() | QV_FLAG_HIDDEN);
        other->SetIKInitialRot(Normalize(cquat(0, 0, 0.3f, 0.95f)));
        other->SetIKMinRot({-10, -20, -30});
        other->SetIKMaxRot({10, 20, 30.5f});
        other->EnableIKDOF(1);
        auto* skin = new cskin();
        skin->SetName("Mesh");
        for (int i = 0; i < 3; ++i) {
            cskinvertex v;
            v.pos = {float(i), 0, 1};
            v.numWeights = 2;
            v.weights[0] = {0.75f, {float(i), 0, 0.5f}, hip};
            v.weights[1] = {0.25f, {0, 0, -1}, knee};
            skin->verts.push_back(v);
        }
        skin->numVerts = 3;
        skin->triangles = {0, 1, 2};
        skin->vertSel.SetCount(3);
        Interface::AddToScene(skin, 0);
        Interface::SetAnimStart(-5);
        Interface::SetAnimEnd(75);
        Interface::SetAnimTPF(40);
        Interface::SetAnimTime(7);
        qv::SetSelectionQuietly({knee});
    }
    std::string Path(const char* name) { return (dir_ / name).string(); }
    void WriteFile(const char* name, const std::string& text) {
        std::ofstream(Path(name)) << text;
    }
    // The dump without the parts a load does not keep (history and messages).
    Json SceneOf(Json d) {
        d.erase("undo");
        d.erase("redo");
        d.erase("messages");
        return d;
    }
};

TEST_F(SceneFile, WriteReadCompareKeepsEverySavedPropertyAndSavesAgainIdentically) {
    BuildScene();
    Json before = SceneOf(Dump());
    std::string error;
    ASSERT_TRUE(SaveSceneFile(Path("a.qscene"), error)) << error;
    qv::ResetScene();
    ASSERT_TRUE(Dump()["nodes"].empty());
    ASSERT_TRUE(LoadSceneFile(Path("a.qscene"), tools_, error)) << error;
    EXPECT_EQ(SceneOf(Dump()), before);
    // Skin weights come back bound to the loaded bones.
    auto* skin = static_cast<cskin*>(Interface::FindNode("Mesh"));
    ASSERT_NE(skin, nullptr);
    ASSERT_EQ(skin->GetTypeID(), QV_TYPE_SKIN);
    ASSERT_EQ(skin->numVerts, 3);
    EXPECT_EQ(skin->verts[2].numWeights, 2);
    EXPECT_EQ(skin->verts[2].weights[0].bone, Interface::FindNode("Hip"));
    EXPECT_EQ(skin->verts[2].weights[1].bone, Interface::FindNode("Knee"));
    EXPECT_EQ(skin->verts[2].weights[0].offset, cpoint3(2, 0, 0.5f));
    EXPECT_EQ(skin->triangles, (std::vector<int>{0, 1, 2}));
    ASSERT_TRUE(SaveSceneFile(Path("b.qscene"), error));
    std::ifstream a(Path("a.qscene")), b(Path("b.qscene"));
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(a)), {}),
              std::string((std::istreambuf_iterator<char>(b)), {}));
}

TEST_F(SceneFile, ScriptSaveAndLoadRestoreTheScene) {
    Json before = SceneOf(RunAndDump(
        "bone \"A\" 1 2 3\nbone \"B\" 1 2 5 parent \"A\"\ntime 4\nselect \"B\"\n"
        "rotate 1 0 0 30\nsave \"s/one.qscene\"\n"));
    Json after = SceneOf(RunAndDump("new\nload \"s/one.qscene\"\n"));
    EXPECT_EQ(after, before);
    EXPECT_TRUE(Dump()["undo"].empty());
    EXPECT_EQ(Run("load \"nowhere.qscene\"\n"), 1);
    EXPECT_NE(Error().find("nowhere.qscene"), std::string::npos) << Error();
}

// A valid single-node file with one part replaced.
std::string File(const std::string& nodes,
                 const std::string& head = "\"format\": \"qscene\", \"version\": 1") {
    return "{" + head +
           ", \"time\": 0, \"range\": [0, 100], \"tpf\": 33, \"anim\": false, \"nodes\": " + nodes +
           "}";
}
const std::string kKey = R"({"t": 0, "pos": [0,0,0], "rot": [0,0,0,1], "scale": [1,1,1]})";
std::string Node(const std::string& name, const std::string& parent, const std::string& children,
                 const std::string& keys = "[" + kKey + "]") {
    return R"({"name": ")" + name + R"(", "type": 4, "parent": )" + parent + R"(, "children": )" +
           children + R"(, "color": [1,1,1,1], "flags": 0,
           "ik": {"initial": [0,0,0,1], "min": [0,0,0], "max": [0,0,0], "dof": 0}, "keys": )" +
           keys + "}";
}

TEST_F(SceneFile, BadFilesAreRefusedAndLeaveTheSceneUntouched) {
    ASSERT_EQ(Run("bone \"Keep\" 1 1 1\nselect \"Keep\"\ntime 3\n"), 0) << Error();
    const Json before = Dump();
    const std::pair<const char*, std::string> bad[] = {
        {"not JSON", "{ not json"},
        {"other format", File("[]", "\"format\": \"other\", \"version\": 1")},
        {"unknown version", File("[]", "\"format\": \"qscene\", \"version\": 7")},
        {"child out of range", File("[" + Node("A", "null", "[1]") + "]")},
        {"cycle", File("[" + Node("A", "1", "[1]") + "," + Node("B", "0", "[0]") + "]")},
        {"duplicate key time",
         File("[" + Node("A", "null", "[]", "[" + kKey + "," + kKey + "]") + "]")},
        {"short point",
         File("[" + Node("A", "null", "[]", R"([{"t": 0, "pos": [0,0], "rot": [0,0,0,1],
                                                 "scale": [1,1,1]}])") + "]")},
        {"weight on unsaved bone",
         File(R"([{"name": "M", "type": 6, "parent": null, "children": [], "color": [1,1,1,1],
             "flags": 0, "ik": {"initial": [0,0,0,1], "min": [0,0,0], "max": [0,0,0], "dof": 0},
             "keys": [{"t": 0, "pos": [0,0,0], "rot": [0,0,0,1], "scale": [1,1,1]}],
             "skin": {"vertices": [{"pos": [0,0,0],
                                    "weights": [{"value": 1, "offset": [0,0,0], "bone": "Ghost"}]}],
                      "triangles": []}}])")},
    };
    for (const auto& [what, text] : bad) {
        WriteFile("bad.qscene", text);
        std::string error;
        EXPECT_FALSE(LoadSceneFile(Path("bad.qscene"), tools_, error)) << what;
        EXPECT_FALSE(error.empty()) << what;
        EXPECT_EQ(Dump(), before) << what;
    }
}

}  // namespace
}  // namespace qvapp::test
