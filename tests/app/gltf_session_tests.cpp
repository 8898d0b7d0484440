// Binary glTF written by the `gltf` command and the program's export-gltf: passed by the Khronos
// validator, read by assimp with every joint where the scene has its bone, and read back by the
// host's own import into the same bones and keys.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "gltf_import.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"
#include "scene_file.h"
#include "session_fixture.h"
#include "tests/common/assimp_positions.h"
#include "tests/common/gltf_validator.h"

namespace qvapp::test {
namespace {

// Positions go through float32 local transforms composed down chains of about ten joints
// reaching some 8 host units, on both sides; they agree to a few hundred-thousandths, so
// 2e-4 host units (0.0025 % of the height) leaves a margin.
constexpr float kPlaceTol = 2e-4f;
constexpr float kWalkPlaceTol = 3e-3f;  // see ValidatorPassesAGeneratedWalk
// Keys read back are the float32 values written: positions and scales exactly, rotations up
// to the change of axes (a sign change per component, exact) and the sign of the whole
// quaternion chosen for neighbouring keys; 1e-6 allows for the normalising on the way out.
constexpr float kKeyTol = 1e-6f;
constexpr double kMsPerSecond = 1000.0;
// A skinned vertex sums up to four weighted products of a bone's world matrix, its inverse bind
// matrix (the float inverse of a world matrix) and the bind position, some 8 units from the
// origin: 5e-4 host units (0.006 % of the height) covers the float rounding on both sides.
constexpr float kSkinTol = 5e-4f;

// A biped 8 units tall and two plain bones, keyed through the host's transform tool: turns and
// a root travel at frames 10, 20 and 30 (a half turn of the root between 20 and 30, so that
// the shorter arc matters), a tail bone scaled unevenly at 25 and its child moved at 15.
const std::string kKeyedScene = R"(new
range 0 40
tpf 40
create "Bones" "Biped"
)" + kCreationPanelDefaults + R"(drag 0 0 0 8 ground
close
bone "Tail" 0 3 2
bone "Tip" 0 3 1 parent "Tail"
anim on
time 10
select "Bip01 R Thigh"
rotate 1 0 0 40
select "Bip01"
move 1.5 -0.5 0.25
time 20
select "Bip01 L UpperArm"
rotate 0 1 0 70
select "Bip01 Head"
rotate 0 0 1 45
select "Bip01 R Calf"
rotate 1 0 0 -60
time 30
select "Bip01"
rotate 0 0 1 170
move -2 1 0
time 15
select "Tip"
move 0 0.5 1
time 25
select "Tail"
scale 1 2 0.5
anim off
time 0
deselect
)";

// The scene's bones (type 4) by name.
std::map<std::string, cnode*> Bones() {
    std::map<std::string, cnode*> out;
    for (int i = 0; i < Interface::NumNodes(); ++i) {
        cnode* n = Interface::GetNodeAt(i);
        if (n->GetTypeID() == QV_TYPE_BONE) out[n->GetName()] = n;
    }
    return out;
}

// glTF (x, y, z) back to the host's axes, written out here rather than taken from the
// exporter: the host is z up, glTF y up, and a biped facing the host's -y faces glTF's +z.
cpoint3 HostAxes(const aiVector3D& g) { return MakePt3(g.x, -g.z, g.y); }

float QuatApart(const cquat& a, const cquat& b) {
    const float sign = DotProd(a, b) < 0.0f ? -1.0f : 1.0f;
    return std::max({std::abs(a.x - sign * b.x), std::abs(a.y - sign * b.y),
                     std::abs(a.z - sign * b.z), std::abs(a.w - sign * b.w)});
}

class GltfExport : public SessionTest {
protected:
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // Runs the script, which writes `file`, and reads the file back with the host's import.
    SavedScene ReadBack(const std::string& script, const std::string& file) {
        EXPECT_EQ(Run(script), 0) << Error();
        SavedScene back;
        std::string error;
        EXPECT_TRUE(GltfToSavedScene(Path(file), back, error)) << error;
        return back;
    }

    // The world matrices assimp gives every node of the file at a frame, by name.
    static std::map<std::string, aiMatrix4x4> AssimpWorlds(const aiScene* scene, int frame,
                                                           int firstFrame) {
        std::vector<std::pair<std::string, aiMatrix4x4>> named;
        const aiAnimation* anim = scene->mNumAnimations ? scene->mAnimations[0] : nullptr;
        const double ticksPerSecond =
            anim && anim->mTicksPerSecond > 0 ? anim->mTicksPerSecond : 1.0;
        const double seconds = (frame - firstFrame) * Interface::GetAnimTPF() / kMsPerSecond;
        AssimpWorldsAt(scene->mRootNode, aiMatrix4x4(), anim, seconds * ticksPerSecond, named);
        return {named.begin(), named.end()};
    }
    // The world positions assimp gives every node of the file at a frame, by name.
    static std::map<std::string, cpoint3> AssimpAt(const aiScene* scene, int frame, int firstFrame) {
        std::map<std::string, cpoint3> out;
        for (const auto& [name, m] : AssimpWorlds(scene, frame, firstFrame))
            out[name] = HostAxes(aiVector3D(m.a4, m.b4, m.c4));
        return out;
    }

    // Every bone of the scene where assimp puts the joint of the same name, at each frame.
    void ExpectAssimpAgrees(const std::string& file, const std::vector<int>& frames,
                            int firstFrame, float tolerance = kPlaceTol) {
        Assimp::Importer importer;
        const aiScene* theirs = importer.ReadFile(file, 0);
        ASSERT_NE(theirs, nullptr) << importer.GetErrorString();
        ASSERT_GT(theirs->mNumAnimations, 0u);
        const auto bones = Bones();
        for (int t : frames) {
            const auto placed = AssimpAt(theirs, t, firstFrame);
            for (const auto& [name, bone] : bones) {
                auto it = placed.find(name);
                ASSERT_NE(it, placed.end()) << name << " is not in assimp's scene";
                EXPECT_LT(Length(it->second - bone->GetPosition(t)), tolerance)
                    << name << " at frame " << t;
            }
        }
    }
};

// The sample character bound to a default biped at frame 0, then posed at frame 10 with the
// forearm, a thigh and the root turned and the root moved.
const std::string kSkinnedScene = std::string(R"(new
create "Bones" "Biped"
)") + kCreationPanelDefaults + R"(drag 0 0 0 8 ground
close
import ")" + EXAMPLES_DIR + R"(/human.obj" name "Body"
bind "Body" "Bip01"
anim on
time 10
select "Bip01 R Forearm"
rotate 1 0 0 -70
select "Bip01 L Thigh"
rotate 1 0 0 35
select "Bip01"
move 0.5 -1 0.2
rotate 0 0 1 40
anim off
time 0
deselect
)";

class GltfSkin : public GltfExport {
protected:
    // assimp's skinning of the file's first mesh (Σ weight · boneWorld × offset × vertex) at
    // each frame against the host's deformed positions of the skin node.
    void ExpectAssimpDeformsLikeTheHost(const std::string& file, const std::vector<int>& frames) {
        Assimp::Importer importer;
        const aiScene* theirs = importer.ReadFile(file, 0);
        ASSERT_NE(theirs, nullptr) << importer.GetErrorString();
        ASSERT_EQ(theirs->mNumMeshes, 1u);
        const aiMesh* mesh = theirs->mMeshes[0];
        auto* skin = static_cast<cskin*>(Interface::FindNode("Body"));
        ASSERT_NE(skin, nullptr);
        ASSERT_EQ(mesh->mNumVertices, skin->verts.size());
        ASSERT_GT(mesh->mNumBones, 10u);
        for (int t : frames) {
            const auto worlds = AssimpWorlds(theirs, t, 0);
            std::vector<aiVector3D> deformed(mesh->mNumVertices, aiVector3D(0, 0, 0));
            for (unsigned b = 0; b < mesh->mNumBones; ++b) {
                const aiBone* bone = mesh->mBones[b];
                const aiMatrix4x4 m = worlds.at(bone->mName.C_Str()) * bone->mOffsetMatrix;
                for (unsigned w = 0; w < bone->mNumWeights; ++w) {
                    const aiVertexWeight& vw = bone->mWeights[w];
                    deformed[vw.mVertexId] += (m * mesh->mVertices[vw.mVertexId]) * vw.mWeight;
                }
            }
            std::vector<cpoint3> ours;
            skin->DeformedPositions(t, ours);
            float worst = 0.0f;
            for (size_t v = 0; v < ours.size(); ++v)
                worst = std::max(worst, Length(HostAxes(deformed[v]) - ours[v]));
            EXPECT_LT(worst, kSkinTol) << "frame " << t;
        }
    }
};

TEST_F(GltfSkin, ValidatorPassesTheSkinnedCharacter) {
    ASSERT_EQ(Run(kSkinnedScene + "gltf \"skin.glb\"\n"), 0) << Error();
    EXPECT_GLTF_VALID(Path("skin.glb"));
}

TEST_F(GltfSkin, AssimpDeformsTheMeshWhereTheHostDoes) {
    ASSERT_EQ(Run(kSkinnedScene + "gltf \"skin.glb\"\n"), 0) << Error();
    ExpectAssimpDeformsLikeTheHost(Path("skin.glb"), {0, 4, 10});
}

// A scene file keeps weights and offsets but not the bind: the export finds the frame where the
// offsets agree (frame 0 here, the scene's current one) and binds the mesh there.
TEST_F(GltfSkin, ASkinReadFromASceneFileIsBoundWhereItsWeightsAgree) {
    ASSERT_EQ(Run(kSkinnedScene + "save \"s.qscene\"\nload \"s.qscene\"\ngltf \"skin.glb\"\n"), 0)
        << Error();
    EXPECT_TRUE(static_cast<cskin*>(Interface::FindNode("Body"))->bindPos.empty());
    EXPECT_GLTF_VALID(Path("skin.glb"));
    ExpectAssimpDeformsLikeTheHost(Path("skin.glb"), {0, 4, 10});
}

TEST_F(GltfSkin, ImportGivesBackTheTrianglesWeightsAndOffsets) {
    const SavedScene back = ReadBack(kSkinnedScene + "gltf \"skin.glb\"\n", "skin.glb");
    if (HasFailure()) return;
    const SavedScene was = CaptureScene();
    const SavedNode *a = nullptr, *b = nullptr;
    for (const SavedNode& n : was.nodes)
        if (n.name == "Body") a = &n;
    for (const SavedNode& n : back.nodes)
        if (n.name == "Body") b = &n;
    ASSERT_TRUE(a && b);
    EXPECT_EQ(b->type, QV_TYPE_SKIN);
    EXPECT_EQ(b->triangles, a->triangles);
    ASSERT_EQ(b->vertices.size(), a->vertices.size());
    for (size_t v = 0; v < a->vertices.size(); ++v) {
        std::map<std::string, SavedWeight> want;
        for (const SavedWeight& w : a->vertices[v].weights) want[w.bone] = w;
        ASSERT_EQ(b->vertices[v].weights.size(), want.size()) << "vertex " << v;
        for (const SavedWeight& w : b->vertices[v].weights) {
            ASSERT_TRUE(want.count(w.bone)) << "vertex " << v << " " << w.bone;
            // The bind normalised the weights already; the file holds them as floats.
            EXPECT_NEAR(w.value, want[w.bone].value, 1e-6f) << "vertex " << v << " " << w.bone;
            EXPECT_LT(Length(w.offset - want[w.bone].offset), kSkinTol) << "vertex " << v;
        }
    }
}

TEST_F(GltfExport, ValidatorPassesTheKeyedSceneWholeAndInPart) {
    ASSERT_EQ(Run(kKeyedScene + "gltf \"all.glb\"\ngltf \"part.glb\" frames 12 27\n"), 0)
        << Error();
    EXPECT_GLTF_VALID(Path("all.glb"));
    EXPECT_GLTF_VALID(Path("part.glb"));
}

TEST_F(GltfExport, ValidatorPassesAGeneratedWalk) {
    ASSERT_EQ(Run("new\ncreate \"Bones\" \"Biped\"\n" + kCreationPanelDefaults +
                  "drag 0 0 0 8 ground\nclose\n"
                  "select \"Bip01\"\nmodify \"Biped\"\ntype \"Num Loops:\" 2\n"
                  "press \"Generate Keyframes\"\nclose\ngltf \"walk.glb\"\n"),
              0)
        << Error();
    EXPECT_GLTF_VALID(Path("walk.glb"));
    // The walk keys the pelvis with rotations up to 9e-5 off unit length; the host's matrix of
    // such a quaternion stretches by twice that, which glTF's unit rotations do not carry:
    // 2e-4 of the 5 units from pelvis to toes plus the arms' share reaches about 2e-3.
    ExpectAssimpAgrees(Path("walk.glb"), {0, 7, 16, 33, 50}, 0, kWalkPlaceTol);
}

TEST_F(GltfExport, AssimpPutsEveryJointWhereTheSceneHasItsBone) {
    ASSERT_EQ(Run(kKeyedScene + "gltf \"all.glb\"\n"), 0) << Error();
    // Key frames, frames between keys, and frames inside the root's half turn.
    ExpectAssimpAgrees(Path("all.glb"), {0, 5, 10, 15, 20, 23, 25, 28, 30}, 0);
}

TEST_F(GltfExport, AssimpPlaysAPartFromItsFirstFrame) {
    ASSERT_EQ(Run(kKeyedScene + "gltf \"part.glb\" frames 12 27\n"), 0) << Error();
    ExpectAssimpAgrees(Path("part.glb"), {12, 15, 20, 24, 27}, 12);
}

TEST_F(GltfExport, ImportGivesBackTheBonesHierarchyKeysAndTimeSettings) {
    const SavedScene back = ReadBack(kKeyedScene + "gltf \"all.glb\"\n", "all.glb");
    if (HasFailure()) return;
    const SavedScene was = CaptureScene();
    EXPECT_EQ(back.tpf, was.tpf);
    EXPECT_EQ(back.start, was.start);
    EXPECT_EQ(back.end, was.end);
    std::map<std::string, const SavedNode*> byName;
    for (const SavedNode& n : back.nodes) byName[n.name] = &n;
    size_t bones = 0;
    for (const SavedNode& n : was.nodes) {
        if (n.type != QV_TYPE_BONE) continue;
        ++bones;
        ASSERT_TRUE(byName.count(n.name)) << n.name;
        const SavedNode& b = *byName[n.name];
        EXPECT_EQ(b.parent < 0 ? std::string() : back.nodes[b.parent].name,
                  n.parent < 0 ? std::string() : was.nodes[n.parent].name)
            << n.name;
        ASSERT_EQ(b.keys.size(), n.keys.size()) << n.name;
        for (size_t k = 0; k < n.keys.size(); ++k) {
            EXPECT_EQ(b.keys[k].time, n.keys[k].time) << n.name;
            EXPECT_LT(Length(b.keys[k].pos - n.keys[k].pos), kKeyTol) << n.name << " key " << k;
            EXPECT_LT(Length(b.keys[k].scale - n.keys[k].scale), kKeyTol) << n.name << " key " << k;
            EXPECT_LT(QuatApart(b.keys[k].rot, Normalize(n.keys[k].rot)), kKeyTol)
                << n.name << " key " << k;
        }
    }
    EXPECT_EQ(back.nodes.size(), bones);
    EXPECT_GT(bones, 20u);
}

TEST_F(GltfExport, APartReadsBackAsKeysOnItsOwnFrames) {
    const SavedScene back = ReadBack(kKeyedScene + "gltf \"part.glb\" frames 12 27\n", "part.glb");
    if (HasFailure()) return;
    const auto bones = Bones();
    std::map<std::string, std::vector<int>> times;
    for (const SavedNode& n : back.nodes) {
        cnode* bone = bones.at(n.name);
        for (const ckey& k : n.keys) {
            times[n.name].push_back(k.time);
            ckey want;
            bone->anim.GetInterpolateKey(k.time, want);
            EXPECT_LT(Length(k.pos - want.pos), kKeyTol) << n.name << " at " << k.time;
            EXPECT_LT(Length(k.scale - want.scale), kKeyTol) << n.name << " at " << k.time;
            EXPECT_LT(QuatApart(k.rot, Normalize(want.rot)), kKeyTol) << n.name << " at " << k.time;
        }
    }
    // Bip01, keyed at 0, 10 and 30: the part's ends, where its track goes on past them.
    EXPECT_EQ(times["Bip01"], (std::vector<int>{12, 27}));
    // The head, keyed at 0 and 20: the first frame, then its key, which it holds to the end.
    EXPECT_EQ(times["Bip01 Head"], (std::vector<int>{12, 20}));
    // The tail, keyed at 0 and 25 (its scale): 12 and 25.
    EXPECT_EQ(times["Tail"], (std::vector<int>{12, 25}));
}

TEST_F(GltfExport, BadRequestsAreRefusedAndWriteNothing) {
    ASSERT_EQ(Run(kKeyedScene), 0) << Error();
    const Json before = Dump();
    EXPECT_EQ(Run("gltf \"x.glb\" frames 20 10\n"), 1);
    EXPECT_NE(Error().find("the first frame comes after the last"), std::string::npos) << Error();
    EXPECT_EQ(Run("gltf \"x.glb\" frames 20\n"), 1);
    EXPECT_NE(Error().find("missing last frame"), std::string::npos) << Error();
    // A file standing where the folder should be: nothing can be written below it.
    std::ofstream(Path("blocker")) << "a file";
    EXPECT_EQ(Run("gltf \"" + Path("blocker/x.glb") + "\"\n"), 1);
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(Run("new\ngltf \"x.glb\"\n"), 1);
    EXPECT_NE(Error().find("the scene has no bones"), std::string::npos) << Error();
    EXPECT_FALSE(std::filesystem::exists(Path("x.glb")));
}

TEST_F(GltfExport, ImportRefusesWhatIsNotGltfAndWritesNoScene) {
    ASSERT_EQ(Run("new\nbone \"A\"\nsave \"a.qscene\"\n"), 0) << Error();
    std::string error;
    EXPECT_FALSE(ImportGltfFile(Path("a.qscene"), Path("out.qscene"), error));
    EXPECT_NE(error.find("a.qscene"), std::string::npos) << error;
    EXPECT_FALSE(ImportGltfFile(Path("missing.glb"), Path("out.qscene"), error));
    EXPECT_NE(error.find("missing.glb"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(Path("out.qscene")));
}

}  // namespace
}  // namespace qvapp::test
