// `quorvane bvh export`: a keyed biped saved as a scene file, exported, and read back by the
// plug-in's reader and by assimp; both must put every joint where the scene puts its bone.
#include <algorithm>
#include <cmath>
#include <map>
#include <fstream>
#include <iterator>
#include <utility>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "tests/common/assimp_positions.h"

#include "Skeleton/BipFile/BipFileBvh.h"
#include "bvh_export.h"
#include "bvh_export_text.h"
#include "bvh_import.h"
#include "bvh_session_support.h"
#include "quorvane/interface.h"
#include "quorvane/math.h"
#include "quorvane/node.h"

namespace qvapp::test {
namespace {

// Printed values carry six decimals (offsets and positions in file units, 12 per host unit;
// angles in degrees) and the float products of a chain of about ten joints reaching some 8
// host units agree to a few hundred-thousandths: 2e-4 host units leaves a margin.
constexpr float kPlaceTol = 2e-4f;
constexpr int kFirst = 0, kLast = 20;
constexpr int kRangeEnd = 40;  // the scene's animation range: 0 to 40

struct KeyedTurn {
    const char* bone;
    cpoint3 eulerDeg;
};
// Turns keyed at frames 10 and 20 (frame 0 keeps the biped's own pose).
constexpr KeyedTurn kTurns[] = {
    {"Bip01", {10.0f, -20.0f, 35.0f}},        {"Bip01 R Thigh", {40.0f, 5.0f, -10.0f}},
    {"Bip01 R Calf", {-60.0f, 0.0f, 0.0f}},   {"Bip01 L UpperArm", {15.0f, 70.0f, -25.0f}},
    {"Bip01 Spine1", {0.0f, 12.0f, 30.0f}},   {"Bip01 Head", {-20.0f, 0.0f, 45.0f}},
};

cpoint3 FromFile(const cpoint3& p) { return MakePt3(p.x, p.z, p.y); }  // y and z exchanged back

void PreOrder(cnode* bone, std::vector<cnode*>& out) {
    out.push_back(bone);
    for (int i = 0; i < bone->NumChildren(); ++i)
        if (bone->GetChild(i)->GetTypeID() == QV_TYPE_BONE) PreOrder(bone->GetChild(i), out);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The reader's joint world positions at a frame of the file, End Sites included, pre-order.
std::vector<cpoint3> ReaderPositions(BVHBone& container, int frame) {
    BVHBone* root = container.children[0].get();
    for (BVHBone* j : BvhPreOrder(root)) SetBvhPose(*j, frame);
    return BvhWorldPositions(root);
}

class BvhExportCommand : public BvhSession {
protected:
    // A height 8 biped with the turns and a root travel keyed at frames 10 and 20, saved.
    std::string KeyedScene() {
        EXPECT_EQ(Run(BipedScript(8.0f) + "range 0 " + std::to_string(kRangeEnd) + "\n"), 0) << Error();
        Interface::SetAnimOn(1);
        for (int t : {10, 20}) {
            const float share = static_cast<float>(t) / kLast;
            for (const KeyedTurn& k : kTurns) {
                cnode* bone = Interface::FindNode(k.bone);
                EXPECT_NE(bone, nullptr) << k.bone;
                if (!bone) continue;
                bone->SetRotation(t, EulerToQuat(k.eulerDeg * share) * bone->GetRotation(t));
            }
            cnode* root = Interface::FindNode("Bip01");
            root->SetPosition(t, root->GetPosition(t) + MakePt3(1.5f, -0.5f, 0.25f) * share);
        }
        Interface::SetAnimOn(0);
        EXPECT_EQ(Run("save \"keyed.qscene\"\n"), 0) << Error();
        return (dir_ / "keyed.qscene").string();
    }
};

TEST_F(BvhExportCommand, ReaderAndAssimpPutEveryJointWhereTheSceneHasItsBone) {
    const std::string scene = KeyedScene();
    const std::string out = (dir_ / "keyed.bvh").string();
    ASSERT_EQ(BvhExport(scene, out, std::make_pair(kFirst, kLast), tools_), 0);
    // The export loaded the scene afresh: its bones are the ones to compare with.
    std::vector<cnode*> bones;
    PreOrder(FindBipedRoot(), bones);
    BVHBone container;
    ASSERT_TRUE(ReadBvhText(ReadText(out), container).ok);
    const std::vector<BVHBone*> joints = BvhPreOrder(container.children[0].get());
    EXPECT_EQ(container.children[0]->frameCount, kLast - kFirst + 1);
    EXPECT_STREQ(joints[0]->name, "Hips");
    Assimp::Importer importer;
    const aiScene* theirs = importer.ReadFile(out, 0);
    ASSERT_NE(theirs, nullptr) << importer.GetErrorString();
    ASSERT_GT(theirs->mNumAnimations, 0u);
    for (int t : {0, 5, 10, 13, 20}) {
        const std::vector<cpoint3> ours = ReaderPositions(container, t - kFirst);
        std::vector<std::pair<std::string, aiVector3D>> named;
        AssimpPositions(theirs->mRootNode, aiMatrix4x4(), theirs->mAnimations[0],
                        static_cast<unsigned>(t - kFirst), named);
        std::vector<aiVector3D> assimp;
        for (const auto& [name, p] : named) assimp.push_back(p);
        ASSERT_EQ(assimp.size(), ours.size());
        size_t b = 0;
        for (size_t i = 0; i < joints.size(); ++i) {
            const cpoint3 a = FromFile(MakePt3(assimp[i].x, assimp[i].y, assimp[i].z) / kBvhUnitsPerHost);
            if (std::string(joints[i]->name) == "Bone") continue;  // End Sites have no bone
            ASSERT_LT(b, bones.size());
            const cpoint3 want = bones[b++]->GetPosition(t);
            EXPECT_LT(Length(FromFile(ours[i]) - want), kPlaceTol) << joints[i]->name << " at " << t;
            EXPECT_LT(Length(a - want), kPlaceTol) << joints[i]->name << " (assimp) at " << t;
        }
        EXPECT_EQ(b, bones.size());
    }
}

// Every bone's world placement at the compared frames, by name.
struct Placement {
    cpoint3 pos;
    cquat rot;
};
std::map<std::string, std::vector<Placement>> Placements(const std::vector<int>& frames) {
    std::vector<cnode*> bones;
    PreOrder(FindBipedRoot(), bones);
    std::map<std::string, std::vector<Placement>> out;
    for (cnode* b : bones)
        for (int t : frames) out[b->GetName()].push_back({b->GetPosition(t), b->GetRotation(t)});
    return out;
}

TEST_F(BvhExportCommand, ImportingTheExportOntoABipedOfTheSameBuildGivesThePoseBack) {
    const std::string scene = KeyedScene();
    const std::string out = (dir_ / "keyed.bvh").string();
    ASSERT_EQ(BvhExport(scene, out, std::make_pair(kFirst, kLast), tools_), 0);
    const std::vector<int> frames = {0, 5, 10, 13, 20};
    const auto before = Placements(frames);  // the export loaded the scene: these are its bones
    ASSERT_EQ(BvhImport(out, (dir_ / "back").string(), tools_), 0);
    const auto after = Placements(frames);
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, was] : before) {
        ASSERT_TRUE(after.count(name)) << name;
        for (size_t i = 0; i < frames.size(); ++i) {
            const Placement& now = after.at(name)[i];
            EXPECT_LT(Length(now.pos - was[i].pos), kPlaceTol) << name << " at " << frames[i];
            // Six decimals of a degree per angle and float products down the chain: quaternion
            // components (either sign: q and -q turn alike) agree to 2e-5, some 0.002 degrees.
            const float sign = now.rot.x * was[i].rot.x + now.rot.y * was[i].rot.y + now.rot.z * was[i].rot.z +
                                           now.rot.w * was[i].rot.w < 0 ? -1.0f : 1.0f;
            const float apart = std::max({std::abs(now.rot.x - sign * was[i].rot.x), std::abs(now.rot.y - sign * was[i].rot.y),
                                          std::abs(now.rot.z - sign * was[i].rot.z), std::abs(now.rot.w - sign * was[i].rot.w)});
            EXPECT_LT(apart, 2e-5f) << name << " at " << frames[i];
        }
    }
}

TEST_F(BvhExportCommand, MappedBonesGetTheImportsNamesOthersTheirOwn) {
    EXPECT_EQ(BvhJointName("Bip01", "Bip01"), "Hips");
    EXPECT_EQ(BvhJointName("Bip01", "Bip01 R Thigh"), "RightHip");
    EXPECT_EQ(BvhJointName("Bip02", "Bip02 L Hand"), "LeftWrist");
    EXPECT_EQ(BvhJointName("Bip01", "Bip01 Spine"), "Chest");
    EXPECT_EQ(BvhJointName("Bip01", "Bip01 Pelvis"), "Bip01_Pelvis");
    EXPECT_EQ(BvhJointName("Bip01", "Bip02 R Thigh"), "Bip02_R_Thigh");
}

TEST_F(BvhExportCommand, WithoutFramesTheWholeAnimationRangeIsWritten) {
    const std::string scene = KeyedScene();
    const std::string out = (dir_ / "all.bvh").string();
    ASSERT_EQ(BvhExport(scene, out, std::nullopt, tools_), 0);
    BVHBone container;
    ASSERT_TRUE(ReadBvhText(ReadText(out), container).ok);
    EXPECT_EQ(container.children[0]->frameCount, kRangeEnd + 1);
}

TEST_F(BvhExportCommand, ASceneWithoutABipedOrFramesOutOfOrderAreRefused) {
    ASSERT_EQ(Run("new\nsave \"empty.qscene\"\n"), 0) << Error();
    const std::string out = (dir_ / "x.bvh").string();
    EXPECT_EQ(BvhExport((dir_ / "empty.qscene").string(), out, std::nullopt, tools_), 1);
    EXPECT_EQ(BvhExport((dir_ / "empty.qscene").string(), out, std::make_pair(5, 2), tools_), 2);
    EXPECT_EQ(BvhExport((dir_ / "missing.qscene").string(), out, std::nullopt, tools_), 1);
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace qvapp::test
