// `quorvane bvh normalize`: joints renamed through a map, every other byte kept; takes from
// other pipelines, once renamed, import onto the biped with their joints where they were.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "Skeleton/BipFile/BipFileBvh.h"
#include "Skeleton/BipFile/BipFileBvhNames.h"
#include "bvh_normalize.h"
#include "bvh_rename.h"
#include "bvh_session_support.h"

namespace qvapp::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string DataPath(const std::string& file) { return (fs::path(BVH_DATA_DIR) / file).string(); }

const char kTwoJoints[] =
    "HIERARCHY\r\nROOT hip\r\n{\r\n\tOFFSET 0 0 0\r\n\tCHANNELS 6 Xposition Yposition Zposition "
    "Zrotation Xrotation Yrotation\r\n\tJOINT\tlThigh  \r\n\t{\r\n\t\tOFFSET 1 0 0\r\n\t\tCHANNELS 3 "
    "Zrotation Xrotation Yrotation\r\n\t\tEnd Site\r\n\t\t{\r\n\t\t\tOFFSET 0 -1 0\r\n\t\t}\r\n\t}\r\n}"
    "\r\nMOTION\r\nFrames: 1\r\nFrame Time: 0.04\r\n0 1 2 3 4 5 6 7 8\r\n";

TEST(BvhRename, RenamesTheMappedJointsAndKeepsEveryOtherByte) {
    BvhNameMap map;
    std::string error;
    ASSERT_TRUE(ParseBvhNameMap("# a comment\nhip Hips\n\n  lThigh\tLeftHip # the thigh\r\n", map, error))
        << error;
    std::string out;
    int renamed = 0;
    ASSERT_TRUE(RenameBvhJoints(kTwoJoints, map, out, renamed, error)) << error;
    EXPECT_EQ(renamed, 2);
    std::string expected = kTwoJoints;
    expected.replace(expected.find("hip"), 3, "Hips");
    expected.replace(expected.find("lThigh"), 6, "LeftHip");
    EXPECT_EQ(out, expected);
}

TEST(BvhRename, AMapLineOfAnotherShapeOrASourceNamedTwiceIsRefusedWithItsLine) {
    BvhNameMap map;
    std::string error;
    EXPECT_FALSE(ParseBvhNameMap("hip Hips\nlThigh LeftHip extra\n", map, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(ParseBvhNameMap("hip Hips\r\rhip Chest\r", map, error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
    EXPECT_NE(error.find("hip"), std::string::npos) << error;
}

TEST(BvhRename, TwoJointsEndingWithOneNameAreRefused) {
    const BvhNameMap map{{"lThigh", "hip"}};
    std::string out, error;
    int renamed = 0;
    EXPECT_FALSE(RenameBvhJoints(kTwoJoints, map, out, renamed, error));
    EXPECT_NE(error.find("hip"), std::string::npos) << error;
}

// Takes whose legs the import does not know by their names, and the preset that renames them.
struct Take {
    const char* file;
    const char* preset;
};
constexpr Take kTakes[] = {
    {"real/wspr_walk.bvh", "mocapdb"},
    {"real/dme_xia_angry_13_000.bvh", "mocapdb"},
    {"real/sl_opencollar_walk_Male_CRonly.bvh", "virtual"},
};

class BvhNormalizeTake : public BvhSession, public testing::WithParamInterface<Take> {};

// The reader's joint world positions at every frame, End Sites included.
std::vector<std::vector<cpoint3>> AllPositions(const std::string& text, std::vector<std::string>& names) {
    BVHBone container;
    EXPECT_TRUE(ReadBvhText(text, container).ok);
    std::vector<std::vector<cpoint3>> out;
    if (container.children.empty()) return out;
    BVHBone* root = container.children[0].get();
    const std::vector<BVHBone*> joints = BvhPreOrder(root);
    names.clear();
    for (BVHBone* j : joints) names.push_back(j->name);
    for (int f = 0; f < static_cast<int>(root->frameCount); ++f) {
        for (BVHBone* j : joints) SetBvhPose(*j, f);
        out.push_back(BvhWorldPositions(root));
    }
    return out;
}

TEST_P(BvhNormalizeTake, TheRenamedTakeImportsItsLegsWithEveryJointWhereItWas) {
    const Take& take = GetParam();
    const std::string out = (dir_ / "renamed.bvh").string();
    std::ostringstream said, err;
    ASSERT_EQ(BvhNormalize(DataPath(take.file), out, std::nullopt, BvhMapsDir(), said, err), 0)
        << err.str();
    EXPECT_NE(said.str().find(std::string("map ") + take.preset), std::string::npos) << said.str();

    std::vector<std::string> before, after;
    const auto original = AllPositions(ReadText(DataPath(take.file)), before);
    const auto renamed = AllPositions(ReadText(out), after);
    ASSERT_EQ(renamed.size(), original.size());
    EXPECT_EQ(renamed, original);  // only names change: the same values, bit for bit
    int legs = 0;
    for (const std::string& name : after)
        for (const char* leg : {"RightHip", "RightKnee", "RightAnkle", "LeftHip", "LeftKnee", "LeftAnkle"})
            legs += name == leg;
    EXPECT_EQ(legs, 6);

    const Json start = RunAndDump(BipedScript(8) + "range 0 100000\ntime 2\n");
    const Json loaded = RunAndDump(LoadScript(out));
    EXPECT_EQ(loaded["messages"].size(), start["messages"].size()) << loaded["messages"].dump();
    std::vector<int> expected = Range(2, 2 + static_cast<int>(original.size()) - 1);
    expected.insert(expected.begin(), 0);
    for (const char* bone : {"Bip01 R Thigh", "Bip01 R Calf", "Bip01 L Foot"})
        EXPECT_EQ(KeyTimes(loaded, bone), expected) << bone;
}

INSTANTIATE_TEST_SUITE_P(Real, BvhNormalizeTake, testing::ValuesIn(kTakes), [](const auto& info) {
    std::string name = fs::path(info.param.file).stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
});

TEST_F(BvhSession, NormalizeWithANamedMapFileOrAMissingPresetOrAnUnreadableTake) {
    const std::string map = Write("mine.map", "hip Hips\n");
    const std::string take = DataPath("real/sl_opencollar_walk_Male_CRonly.bvh");
    const std::string out = (dir_ / "out.bvh").string();
    std::ostringstream said, err;
    ASSERT_EQ(BvhNormalize(take, out, map, BvhMapsDir(), said, err), 0) << err.str();
    EXPECT_NE(said.str().find("1 joints renamed by the map mine"), std::string::npos) << said.str();
    EXPECT_EQ(BvhNormalize(take, out, std::string("no-such-preset"), BvhMapsDir(), said, err), 1);
    EXPECT_NE(err.str().find("no-such-preset"), std::string::npos) << err.str();
    const std::string bad = Write("bad.bvh", "HIERARCHY\nROOT Hips\n{\nCHANNELS 6\n");
    EXPECT_EQ(BvhNormalize(bad, out, std::nullopt, BvhMapsDir(), said, err), 1);
    EXPECT_NE(err.str().find("refused by the reader"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace qvapp::test
