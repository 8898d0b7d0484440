// Takes from other pipelines: the tolerant reader, rotations re-expressed in Z, X, Y order,
// joints folded away, and `quorvane bvh normalize` checked against assimp's view of the
// original take.
#include <assimp/Importer.hpp>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>

#include "Skeleton/BipFile/BipFileBvh.h"
#include "bvh_fold.h"
#include "bvh_normalize.h"
#include "bvh_rename.h"
#include "bvh_session_support.h"
#include "tests/common/assimp_positions.h"

namespace qvapp::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string DataPath(const std::string& file) { return (fs::path(BVH_DATA_DIR) / file).string(); }

// ---- The tolerant reader -------------------------------------------------------------------

// CR line ends, a brace on the name line, a name with a space, lower-case channel names in
// another order, an End Site with an empty channel list, signed and dotted numbers, a blank
// motion line.
const char kMessy[] =
    "HIERARCHY\rROOT my hips {\r  OFFSET 0 +35 0\r  CHANNELS 6 xposition yposition zposition "
    "yrotation xrotation zrotation\r\tJOINT\tlThigh\r\t{\r\t\tOFFSET 3.5 0 -.5\r\t\tCHANNELS 3 "
    "Xrotation Yrotation Zrotation\r\t\tEnd Site\r\t\t{\r\t\t\tOFFSET 0 -1e1 0\r\t\t\tCHANNELS 0\r"
    "\t\t}\r\t}\r}\rMOTION\rFrames:\t2\rFrame Time: .04\r1 2 3 4 5 6 7 8 9\r\r-1 -2 -3 -4 -5 -6 -7 -8 -9\r";

TEST(BvhTakeReader, ReadsWhatOtherPipelinesWrite) {
    BvhTake take;
    const BvhTakeResult r = ReadBvhTake(kMessy, take);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(r.notes.empty());
    ASSERT_EQ(take.joints.size(), 2u);
    EXPECT_EQ(take.joints[0].name, "my hips");
    EXPECT_EQ(take.joints[1].name, "lThigh");
    EXPECT_EQ(take.joints[1].parent, 0);
    EXPECT_EQ(take.joints[0].offset[1], 35.0);
    EXPECT_EQ(take.joints[1].offset[2], -0.5);
    EXPECT_TRUE(take.joints[1].hasEndSite);
    EXPECT_EQ(take.joints[1].endSite[1], -10.0);
    EXPECT_EQ(take.joints[0].channels[3], BvhChannel::Yrotation);
    EXPECT_EQ(take.joints[1].channels[0], BvhChannel::Xrotation);
    EXPECT_EQ(take.joints[1].firstValue, 6);
    EXPECT_EQ(take.frameTime, 0.04);
    ASSERT_EQ(take.Frames(), 2);
    EXPECT_EQ(take.Row(1)[8], -9.0);
}

struct Refusal {
    const char* text;
    int line;
    const char* reason;
};
const Refusal kRefusals[] = {
    {"ROOT Hips\n", 1, "HIERARCHY"},
    {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0\nCHANNELS 0\n}\n", 5, "OFFSET takes three finite numbers"},
    {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 7\n", 5, "CHANNELS takes a count"},
    {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 1 Wrotation\n", 5, "unknown channel"},
    {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 2 Xrotation Xrotation\n", 5, "named twice"},
    {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 0\n", 6, "ends inside a joint"},
    {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 0\n}\nROOT Two\n", 7, "second ROOT"},
    {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 1 Xrotation\n}\nMOTION\nFrames: 2\n"
     "Frame Time: 0.1\n1\nnan\n",
     11, "not a finite number"},
    {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 2 Xrotation Yrotation\n}\nMOTION\nFrames: 1\n"
     "Frame Time: 0.1\n1 2 3\n",
     10, "holds 3 values, the joints have 2"},
    {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 6 Xposition Yposition Zposition Xrotation "
     "Yrotation Zrotation\n}\nMOTION\nFrames: 999999999999\nFrame Time: 0.1\n",
     8, "more memory"},
};

TEST(BvhTakeReader, RefusesWithTheLineAndReasonAndKeepsNothing) {
    for (const Refusal& c : kRefusals) {
        BvhTake take;
        const BvhTakeResult r = ReadBvhTake(c.text, take);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_NE(r.message.find("line " + std::to_string(c.line) + ":"), std::string::npos) << r.message;
        EXPECT_NE(r.message.find(c.reason), std::string::npos) << r.message;
        EXPECT_TRUE(take.joints.empty() && take.values.empty()) << c.text;
    }
}

TEST(BvhTakeReader, KeepsTheRowsThereAreAndSaysWhenTheCountDisagrees) {
    const std::string head =
        "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 1 Xrotation\n}\nMOTION\nFrames: 3\nFrame Time: 0.1\n";
    BvhTake take;
    BvhTakeResult r = ReadBvhTake(head + "1\n2", take);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(take.Frames(), 2);
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_EQ(r.notes[0], "Frames: says 3, 2 rows read");
    r = ReadBvhTake(head + "1\n2\n3\n4\n", take);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(take.Frames(), 3);
    ASSERT_EQ(r.notes.size(), 1u);
    r = ReadBvhTake("HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 0\n}\n", take);
    EXPECT_TRUE(r.ok) << r.message;  // a skeleton without motion
    EXPECT_EQ(take.Frames(), 0);
}

// ---- Rotations -----------------------------------------------------------------------------

BvhTakeJoint JointWith(std::vector<BvhChannel> channels) {
    BvhTakeJoint j;
    j.channels = std::move(channels);
    return j;
}

// Column vector v turned by r.
std::array<double, 3> Turn(const BvhRotation& r, std::array<double, 3> v) {
    std::array<double, 3> out{};
    for (int i = 0; i < 3; ++i) out[i] = r.m[i][0] * v[0] + r.m[i][1] * v[1] + r.m[i][2] * v[2];
    return out;
}

TEST(BvhRotations, ChannelsComposeInFileOrderTheFirstListedTurningLast) {
    const double row[] = {90, 90};
    // Rx(90) · Rz(90): x goes to y by Z first, then y to z by X.
    const auto xz = Turn(BvhJointRotation(JointWith({BvhChannel::Xrotation, BvhChannel::Zrotation}), row), {1, 0, 0});
    EXPECT_NEAR(xz[2], 1.0, 1e-12);
    // Rz(90) · Rx(90): X leaves x alone, then Z takes it to y.
    const auto zx = Turn(BvhJointRotation(JointWith({BvhChannel::Zrotation, BvhChannel::Xrotation}), row), {1, 0, 0});
    EXPECT_NEAR(zx[1], 1.0, 1e-12);
}

TEST(BvhRotations, ZxyAnglesRecomposeEveryRotationGimbalIncluded) {
    const BvhTakeJoint other = JointWith({BvhChannel::Yrotation, BvhChannel::Xrotation, BvhChannel::Zrotation});
    const BvhTakeJoint zxy = JointWith({BvhChannel::Zrotation, BvhChannel::Xrotation, BvhChannel::Yrotation});
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> angle(-180, 180);
    std::vector<std::array<double, 3>> cases = {{0, 90, 30}, {0, -90, -40}, {10, 89.9999999, 5}};
    for (int i = 0; i < 200; ++i) cases.push_back({angle(rng), angle(rng), angle(rng)});
    for (const auto& c : cases) {
        const BvhRotation r = BvhJointRotation(other, c.data());
        double row[3];
        BvhZxyAngles(r, row[1], row[2], row[0]);
        EXPECT_LE(std::abs(row[1]), 90.0);
        const BvhRotation back = BvhJointRotation(zxy, row);
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b)
                EXPECT_NEAR(back.m[a][b], r.m[a][b], 1e-9) << c[0] << " " << c[1] << " " << c[2];  // double round-off
    }
}

// ---- Folding, checked against assimp ------------------------------------------------------

// World positions of assimp's nodes by name at one frame, in file units.
std::map<std::string, aiVector3D> AssimpByName(const aiScene* scene, unsigned frame) {
    std::vector<std::pair<std::string, aiVector3D>> named;
    AssimpPositions(scene->mRootNode, aiMatrix4x4(), scene->mAnimations[0], frame, named);
    return {named.begin(), named.end()};
}

// The plug-in reader's joint positions by name at one frame, in file units.
std::map<std::string, cpoint3> ReaderByName(const std::string& text, int frame) {
    BVHBone container;
    EXPECT_TRUE(ReadBvhText(text, container).ok);
    std::map<std::string, cpoint3> out;
    if (container.children.empty()) return out;
    BVHBone* root = container.children[0].get();
    const std::vector<BVHBone*> joints = BvhPreOrder(root);
    for (BVHBone* j : joints) SetBvhPose(*j, frame);
    const std::vector<cpoint3> at = BvhWorldPositions(root);
    for (size_t i = 0; i < joints.size(); ++i)
        if (std::string(joints[i]->name) != "Bone") out[joints[i]->name] = at[i] * kBvhUnitsPerHost;
    return out;
}

// Largest distance, over the frames, between a normalised joint as the plug-in's reader puts
// it and the original joint (by `originalName`) as assimp puts it.
double LargestDrift(const std::string& original, const std::string& normalised,
                    const std::map<std::string, std::string>& originalName, const std::vector<int>& frames) {
    Assimp::Importer importer;
    const aiScene* theirs = importer.ReadFile(original, 0);
    EXPECT_TRUE(theirs && theirs->mNumAnimations > 0) << importer.GetErrorString();
    if (!theirs || theirs->mNumAnimations == 0) return 1e9;
    const std::string text = ReadText(normalised);
    double worst = 0;
    for (int f : frames) {
        const auto mine = ReaderByName(text, f);
        const auto other = AssimpByName(theirs, static_cast<unsigned>(f));
        EXPECT_EQ(mine.size(), originalName.size());
        for (const auto& [name, p] : mine) {
            const auto it = other.find(originalName.at(name));
            EXPECT_NE(it, other.end()) << name;
            if (it == other.end()) continue;
            worst = std::max(worst, static_cast<double>(Length(p - MakePt3(it->second.x, it->second.y, it->second.z))));
        }
    }
    return worst;
}

// The original name of every joint a normalised take keeps: the take renamed by the map, each
// kept joint found there by its new name.
std::map<std::string, std::string> OriginalNames(const std::string& original, const std::string& normalised,
                                                 const BvhNameMap& map) {
    BvhTake before, renamed, after;
    EXPECT_TRUE(ReadBvhTake(ReadText(original), before).ok);
    renamed = before;
    int count = 0;
    std::string error;
    EXPECT_TRUE(RenameBvhJoints(renamed, map, count, error)) << error;
    EXPECT_TRUE(ReadBvhTake(ReadText(normalised), after).ok);
    std::map<std::string, std::string> out;
    for (const BvhTakeJoint& j : after.joints)
        for (size_t i = 0; i < renamed.joints.size(); ++i)
            if (renamed.joints[i].name == j.name) out[j.name] = before.joints[i].name;
    return out;
}

// The largest distance of a joint from the root when nothing turns (file units): the take's size.
double RestExtent(const BvhTake& take) {
    std::vector<std::array<double, 3>> at(take.joints.size());
    double extent = 0;
    for (size_t j = 1; j < take.joints.size(); ++j) {
        const BvhTakeJoint& joint = take.joints[j];
        for (int a = 0; a < 3; ++a) at[j][a] = at[joint.parent][a] + joint.offset[a];
        extent = std::max(extent, std::hypot(at[j][0], at[j][1], at[j][2]));
    }
    return extent;
}

// Every joint's world rotation at a frame, by name: world = parentWorld · local (column vectors).
std::map<std::string, BvhRotation> WorldRotations(const BvhTake& take, int frame) {
    std::vector<BvhRotation> world(take.joints.size());
    std::map<std::string, BvhRotation> out;
    for (size_t j = 0; j < take.joints.size(); ++j) {
        const BvhRotation local = BvhJointRotation(take.joints[j], take.Row(frame));
        const int p = take.joints[j].parent;
        world[j] = p < 0 ? local : BvhRotation{};
        if (p >= 0)
            for (int a = 0; a < 3; ++a)
                for (int b = 0; b < 3; ++b)
                    for (int k = 0; k < 3; ++k) world[j].m[a][b] += world[p].m[a][k] * local.m[k][b];
        out[take.joints[j].name] = world[j];
    }
    return out;
}

BvhNameMap Preset(const std::string& name) {
    BvhNameMap map;
    std::string error;
    EXPECT_TRUE(ParseBvhNameMap(ReadText((fs::path(BvhMapsDir()) / (name + ".map")).string()), map, error)) << error;
    return map;
}

// Rotation first on the root, X Y Z on the chest, position channels below the root (at their
// offsets), a spine link the biped has no bone for (holding still), and fingers under the hand.
const char kOtherPipeline[] =
    "HIERARCHY\nROOT Hips\n{\n OFFSET 0 0 0\n CHANNELS 6 Yrotation Xrotation Zrotation Xposition "
    "Yposition Zposition\n JOINT Spine\n {\n  OFFSET 0 4 1\n  CHANNELS 3 Xrotation Yrotation Zrotation\n"
    "  JOINT Chest\n  {\n   OFFSET 0 6 0\n   CHANNELS 6 Xposition Yposition Zposition Xrotation "
    "Yrotation Zrotation\n   JOINT LeftWrist\n   {\n    OFFSET 8 0 0\n    CHANNELS 3 Zrotation "
    "Yrotation Xrotation\n    JOINT Finger\n    {\n     OFFSET 2 0 0\n     CHANNELS 3 Zrotation "
    "Xrotation Yrotation\n     End Site\n     {\n      OFFSET 1 0 0\n     }\n    }\n   }\n  }\n }\n}\n"
    "MOTION\nFrames: 3\nFrame Time: 0.0333333\n"
    "10 20 30 1 35 2   0 0 0   0 6 0 5 -40 70   30 60 -10   45 0 0\n"
    "-50 80 5 2 36 3   0 0 0   0 6 0 90 10 -20   0 0 0   10 20 30\n"
    "170 -89 45 3 37 4   0 0 0   0 6 0 -30 30 150   -20 5 175   0 90 0\n";

TEST_F(BvhSession, NormalizeFoldsAndReordersWithEveryKeptJointWhereItWas) {
    const std::string in = Write("other.bvh", kOtherPipeline);
    const std::string out = (dir_ / "normal.bvh").string();
    std::ostringstream said, err;
    ASSERT_EQ(BvhNormalize(in, out, std::string("classic"), BvhMapsDir(), said, err), 0) << err.str();
    EXPECT_NE(said.str().find("3 of 5 joints kept"), std::string::npos) << said.str();
    BvhTake result;
    ASSERT_TRUE(ReadBvhTake(ReadText(out), result).ok);
    ASSERT_EQ(result.joints.size(), 3u);
    EXPECT_EQ(result.joints[1].name, "Chest");
    EXPECT_EQ(result.joints[1].parent, 0);
    EXPECT_EQ(result.joints[1].channels.size(), 3u);  // position channels below the root dropped
    EXPECT_EQ(result.joints[0].channels.size(), 6u);
    EXPECT_TRUE(result.joints[2].hasEndSite);  // the wrist ends where its finger started

    const std::map<std::string, std::string> same{{"Hips", "Hips"}, {"Chest", "Chest"}, {"LeftWrist", "LeftWrist"}};
    // Written with six decimals: positions agree to well under a thousandth of a file unit.
    EXPECT_LT(LargestDrift(in, out, same, {0, 1, 2}), 1e-3);
}

// Real takes from other pipelines and the preset that renames them.
struct Take {
    const char* file;
    const char* preset;
    double drift;  // largest distance a kept joint may move, as a share of the take's size:
                   // the spine links and hip joints the biped has no bone for turn in these
                   // takes and carry the joints below them a little way (measured, rounded up)
};
constexpr Take kTakes[] = {
    {"real/wspr_walk.bvh", "mocapdb", 0.04},
    {"real/dme_xia_angry_13_000.bvh", "mocapdb", 0.05},
    {"real/pybvh_bvh_example.bvh", "mocapdb", 0.04},
    {"real/pybvh_bvh_test2.bvh", "classic", 0.09},
    {"real/20tab_test_freebvh.bvh", "mixamo", 0.05},
};

class BvhNormalizeTake : public BvhSession, public testing::WithParamInterface<Take> {};

TEST_P(BvhNormalizeTake, KeptJointsStayNearWhereAssimpPutsThemAndTheLegsImport) {
    const Take& take = GetParam();
    const std::string out = (dir_ / "normal.bvh").string();
    std::ostringstream said, err;
    ASSERT_EQ(BvhNormalize(DataPath(take.file), out, std::nullopt, BvhMapsDir(), said, err), 0) << err.str();
    EXPECT_NE(said.str().find(std::string("map ") + take.preset), std::string::npos) << said.str();

    BvhTake original, normal;
    ASSERT_TRUE(ReadBvhTake(ReadText(DataPath(take.file)), original).ok);
    ASSERT_TRUE(ReadBvhTake(ReadText(out), normal).ok);
    ASSERT_EQ(normal.Frames(), original.Frames());
    const int last = normal.Frames() - 1;
    const double drift = LargestDrift(DataPath(take.file), out, OriginalNames(DataPath(take.file), out, Preset(take.preset)),
                                      {0, last / 2, last});
    // Folding passes every turn on: kept joints turn in the world exactly as before, to the
    // six decimals of a degree the file is written with (about 1e-8 radians).
    const auto names = OriginalNames(DataPath(take.file), out, Preset(take.preset));
    for (int f : {0, last / 2, last}) {
        const auto before = WorldRotations(original, f);
        const auto after = WorldRotations(normal, f);
        for (const auto& [name, r] : after)
            for (int a = 0; a < 3; ++a)
                for (int b = 0; b < 3; ++b)
                    ASSERT_NEAR(r.m[a][b], before.at(names.at(name)).m[a][b], 1e-7) << name << " frame " << f;
    }
    const double share = drift / RestExtent(normal);
    RecordProperty("drift", std::to_string(share));
    EXPECT_LE(share, take.drift) << "drift " << drift << " of " << RestExtent(normal);

    const Json loaded = RunAndDump(BipedScript(8) + "range 0 100000\ntime 2\n" + LoadScript(out));
    std::vector<int> expected = Range(2, 2 + last);
    expected.insert(expected.begin(), 0);
    for (const char* bone : {"Bip01 R Thigh", "Bip01 R Calf", "Bip01 L Foot", "Bip01 L UpperArm"})
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
    EXPECT_NE(err.str().find("line 4: expected OFFSET"), std::string::npos) << err.str();
    const std::string twice = Write("twice.map", "hip Hips\nabdomen Hips\n");
    EXPECT_EQ(BvhNormalize(take, out, twice, BvhMapsDir(), said, err), 1);
    EXPECT_NE(err.str().find("two joints would be named Hips"), std::string::npos) << err.str();
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

}  // namespace
}  // namespace qvapp::test
