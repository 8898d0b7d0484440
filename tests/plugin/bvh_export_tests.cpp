// The BVH export of a bound biped: the fixed layout of its text, offsets along the default
// skeleton with the biped's own lengths, angles that our reader turns back into the bones'
// local rotations, and, read by an independent reader (assimp), the same joint positions as
// our reader's forward kinematics, for the default pose and poses of a real capture.
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "tests/common/assimp_positions.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Skeleton/BipFile/BipFileBvh.h"
#include "Skeleton/BipFile/BipFileBvhNames.h"
#include "plugin_support.h"

namespace {

namespace fs = std::filesystem;
using namespace pt;

// The joints written, in file order, with the slot of each (-1 for an End Site).
const std::pair<const char*, int> kWritten[] = {
    {"Hips", 0},          {"Chest", 38},        {"Neck", 43},         {"Head", 44},
    {"Bone", -1},         {"LeftCollar", 64},   {"LeftShoulder", 65}, {"LeftElbow", 66},
    {"LeftWrist", 67},    {"Bone", -1},         {"RightCollar", 45},  {"RightShoulder", 46},
    {"RightElbow", 47},   {"RightWrist", 48},   {"Bone", -1},         {"LeftHip", 20},
    {"LeftKnee", 21},     {"LeftAnkle", 22},    {"Bone", -1},         {"RightHip", 2},
    {"RightKnee", 3},     {"RightAnkle", 4},    {"Bone", -1},
};

class BvhExport : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        dir_ = fs::temp_directory_path() / ("bvh_export_" + std::to_string(getpid()));
        fs::create_directories(dir_);
        root_ = MakeBiped();
        ASSERT_TRUE(Open(root_));
    }
    void TearDown() override {
        fs::remove_all(dir_);
        ToolScene::TearDown();
    }
    // Saves the bound biped; answers the file's text.
    std::string Save(const std::string& name) {
        path_ = (dir_ / name).string();
        EXPECT_EQ(bipani.SaveBVH(path_.data()), 1);
        std::ifstream in(path_, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    fs::path dir_;
    std::string path_;
    cnode* root_ = nullptr;
};

TEST_F(BvhExport, WritesTheEighteenJointsOneFrameAndFiftySevenTabbedValues) {
    const std::string text = Save("pose.bvh");
    EXPECT_EQ(text.rfind("HIERARCHY\nROOT Hips\n{\n\tOFFSET\t0.000000 0.000000 0.000000\n", 0), 0u);
    EXPECT_NE(text.find("MOTION\nFrames:\t1\nFrame Time:\t0.033333\n"), std::string::npos);
    const std::string motion = text.substr(text.find("Frame Time:\t0.033333\n") + 21);
    EXPECT_EQ(std::count(motion.begin(), motion.end(), '\t'), 57);
    EXPECT_EQ(motion.substr(motion.size() - 2), "\t\n");
    BVHBone container;
    const BvhReadResult r = ReadBvhText(text, container);
    ASSERT_TRUE(r.ok) << r.message;
    const auto joints = BvhPreOrder(container.children[0].get());
    ASSERT_EQ(joints.size(), std::size(kWritten));
    for (size_t i = 0; i < joints.size(); ++i) {
        EXPECT_STREQ(joints[i]->name, kWritten[i].first);
        if (kWritten[i].second < 0) {
            EXPECT_EQ(joints[i]->position, cpoint3());  // End Sites at 0
        }
    }
    EXPECT_EQ(joints[0]->frameCount, 1.0f);
    EXPECT_FLOAT_EQ(joints[0]->frameTime, 0.033333f);
}

// Written parent of each exported slot: its nearest written ancestor.
int WrittenParent(int slot) {
    switch (slot) {
    case 38: case 20: case 2: return 0;
    case 43: case 64: case 45: return 38;
    default: return slot - 1;
    }
}

// Offsets: six printed decimals of lengths about 1 host unit, read back and divided by 12.
constexpr float kOffsetTol = 1e-5f;
// Angles: six printed decimals of degrees, turned back into quaternions in float.
constexpr float kAngleRotTol = 2e-5f;

TEST_F(BvhExport, OffsetsFollowTheDefaultDirectionsAndAnglesGiveBackLocalRotations) {
    // A pose with every joint turned, so that the angles carry something.
    Interface::SetAnimOn(1);
    for (int s : {0, 2, 3, 20, 38, 43, 44, 45, 46, 47, 48, 64, 65, 66, 67}) {
        cnode* b = bipani.bones[s];
        b->SetRotation(0, Normalize(b->GetRotation(0) * EulerToQuat({7.0f + s, -11.0f, 13.0f})));
    }
    Interface::SetAnimOn(0);
    BVHBone container;
    ASSERT_TRUE(ReadBvhText(Save("turned.bvh"), container).ok);
    const auto joints = BvhPreOrder(container.children[0].get());
    for (size_t i = 1; i < joints.size(); ++i) {
        const int slot = kWritten[i].second;
        if (slot < 0) continue;
        cnode* bone = bipani.bones[slot];
        cnode* parent = bipani.bones[WrittenParent(slot)];
        const float length = Length(bone->GetPosition(0) - parent->GetPosition(0));
        EXPECT_NEAR(Length(joints[i]->position) * kBvhUnitsPerHost, length, kOffsetTol) << joints[i]->name;
        const cquat local = bone->GetRotation(0) * Inverse(parent->GetRotation(0));
        EXPECT_TRUE(SameRotation(joints[i]->rotation, MakeQuat(local.x, local.z, local.y, local.w),
                                 kAngleRotTol)) << joints[i]->name;
    }
    // "Chest" points up the file's Y axis from the root, "RightHip" along -X, whatever the pose.
    EXPECT_GT(joints[1]->position.y, 0.0f);
    EXPECT_EQ(joints[1]->position.x, 0.0f);
    EXPECT_LT(joints[19]->position.x, 0.0f);
    EXPECT_EQ(joints[19]->position.y, 0.0f);
}

TEST_F(BvhExport, AFileThatCannotBeCreatedAnswersZero) {
    std::string path = (dir_ / "no folder" / "x.bvh").string();
    EXPECT_EQ(bipani.SaveBVH(path.data()), 0);
}

// --- the independent reader ------------------------------------------------------------------

// Both readers of one exported file: same joints in the same order at the same places. Our
// tree is in file units / 12; printed offsets and angles carry six decimals, and the float
// products of a chain of seven joints agree to a few millionths of its reach of about 0.6
// tree units: 1e-5 leaves a margin.
constexpr float kReaderAgreementTol = 1e-5f;

void ExpectReadersAgree(const std::string& path) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, 0);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    std::vector<std::pair<std::string, aiVector3D>> theirs;
    AssimpPositions(scene->mRootNode, aiMatrix4x4(),
                    scene->mNumAnimations ? scene->mAnimations[0] : nullptr, 0, theirs);
    BVHBone container;
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(ReadBvhText(text, container).ok);
    const auto joints = BvhPreOrder(container.children[0].get());
    const auto ours = BvhWorldPositions(container.children[0].get());
    ASSERT_EQ(ours.size(), theirs.size());
    for (size_t i = 0; i < ours.size(); ++i) {
        if (std::string(joints[i]->name) != "Bone") {
            EXPECT_EQ(theirs[i].first, joints[i]->name);
        }
        const aiVector3D& p = theirs[i].second;
        EXPECT_TRUE(PointNear(ours[i], cpoint3(p.x, p.y, p.z) / kBvhUnitsPerHost, kReaderAgreementTol))
            << theirs[i].first << " in " << path;
    }
}

TEST_F(BvhExport, AssimpFindsTheJointsWhereOurReaderPutsThem) {
    ExpectReadersAgree((Save("default.bvh"), path_));
    // Poses of a real capture: the biped keyed from the file, each chosen frame's keys copied to
    // frame 0, which the export writes.
    Interface::SetAnimEnd(1000);
    std::string capture = (fs::path(BVH_DATA_DIR) / "real/20tab_test_mocapbank.bvh").string();
    ASSERT_EQ(bipani.LoadBVH(capture.data()), 1);
    for (int frame : {40, 150, 300, 450}) {
        for (cnode* b : bipani.bones) {
            ckey k;
            if (!b || !b->anim.GetKey(frame, k)) continue;
            k.time = 0;
            b->anim.SetKey(k);
        }
        ExpectReadersAgree((Save("frame" + std::to_string(frame) + ".bvh"), path_));
    }
}

}  // namespace
