// The BVH reader on texts made for the purpose: every refusal with its message, the line ends
// and separators of files in the wild, lines and names of any length, frame posing by the
// channel layouts, playback wrapping, and the rotation the reader computes against the host's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Skeleton/BipFile/BipFileBvh.h"

namespace {

using testing::HasSubstr;

// One-joint file with an End Site: ROOT Hips at (12, 24, 36) with six channels, two frames.
const char kOneJoint[] =
    "HIERARCHY\nROOT Hips\n{\n\tOFFSET 12 24 36\n"
    "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
    "\tEnd Site\n\t{\n\t\tOFFSET 0 12 0\n\t}\n}\nMOTION\nFrames: 2\nFrame Time: 0.05\n"
    "12 24 36 0 90 0\n0 0 0 10 20 30\n";

struct Read {
    BVHBone container;
    BvhReadResult result;
    explicit Read(const std::string& text) : result(ReadBvhText(text, container)) {}
    BVHBone* Root() { return container.children.empty() ? nullptr : container.children[0].get(); }
};

std::string Replace(std::string s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

// --- refusals ------------------------------------------------------------------------------

struct Refusal {
    const char* name;
    std::string text;
    const char* message;  // the whole message, or the part that names the reason
};

const Refusal kRefusals[] = {
    {"NoHierarchyKeyword", "ROOT Hips\n{\n", "File Error - Expected hierarchy."},
    {"EmptyFile", "", "File Error - Expected hierarchy."},
    {"BlankFirstLine", "\nHIERARCHY\n", "File Error - Expected hierarchy."},
    // The brace on the joint's line: the OFFSET line is skipped as if it held the brace.
    {"BraceOnTheJointLine", "HIERARCHY\nROOT Hips {\n\tOFFSET 0 0 0\n\tCHANNELS 3 a b c\n}\n",
     "File Error - Expected OFFSET."},
    {"OffsetMissing", "HIERARCHY\nROOT Hips\n{\n\tCHANNELS 3 a b c\n", "File Error - Expected OFFSET."},
    {"ChannelsMissing", "HIERARCHY\nROOT Hips\n{\n\tOFFSET 0 0 0\n\tJOINT Chest\n",
     "File Error - Expected CHANNELS."},
    {"UnknownKeyword", "HIERARCHY\nSKELETON\n", "File Error - Expected ROOT or JOINT or MOTION."},
    {"BlankLineInTheHierarchy", "HIERARCHY\n\nROOT Hips\n",
     "File Error - Expected ROOT or JOINT or MOTION."},
    {"TooManyClosingBraces",
     "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 3 a b c\nEnd Site\n{\nOFFSET 0 0 0\n}\n}\n}\n"
     "MOTION\n",
     "File Error - Encountered too many closing braces."},
    {"NoFrameCount", "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 3 a b c\nEnd Site\n{\n"
     "OFFSET 0 0 0\n}\n}\nMOTION\nFrames : 2\n", "Couldn't Find FrameCnt Area"},
    // More motion lines than "Frames:" says: the first extra line stands where a keyword must.
    {"MoreRowsThanFrames", std::string(kOneJoint) + "1 2 3 4 5 6\n",
     "File Error - Expected ROOT or JOINT or MOTION."},
    {"FewerRowsThanFrames", Replace(kOneJoint, "0 0 0 10 20 30\n", ""),
     "Frames: says 2, the file holds 1"},
    {"MotionLineTooShort", Replace(kOneJoint, "0 0 0 10 20 30", "0 0 0 10 20"),
     "Too few values for the joints' channels (line 15)"},
    {"MotionValueNotANumber", Replace(kOneJoint, "0 0 0 10 20 30", "0 0 0 10 x20 30"),
     "\"x20\" is not a number (line 15)"},
    {"MotionValueOverflows", Replace(kOneJoint, "0 0 0 10 20 30", "0 0 0 10 1e60 30"),
     "\"1e60\" is not a number"},
    {"OffsetWithTwoNumbers", Replace(kOneJoint, "OFFSET 12 24 36", "OFFSET 12 24"),
     "OFFSET needs three numbers (line 4)"},
    {"NegativeFrameCount", Replace(kOneJoint, "Frames: 2", "Frames: -2"),
     "Frames: must not be negative"},
};

class BvhRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(BvhRefusal, IsRefusedWithItsMessage) {
    Read r(GetParam().text);
    EXPECT_FALSE(r.result.ok);
    EXPECT_THAT(r.result.message, HasSubstr(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(Reader, BvhRefusal, testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BvhReader, MissingFrameCountEmptiesTheTree) {
    Read r(std::string("HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 3 a b c\nEnd Site\n{\n"
                       "OFFSET 0 0 0\n}\n}\nMOTION\nFrame Time: 0.1\n"));
    ASSERT_FALSE(r.result.ok);
    EXPECT_TRUE(r.container.children.empty());
}

// --- what is accepted ----------------------------------------------------------------------

// Everything the reader keeps of a tree, flattened for comparison.
std::vector<std::string> Describe(BVHBone* root) {
    std::vector<std::string> out;
    for (BVHBone* j : BvhPreOrder(root)) {
        std::string s = std::string(j->name) + " " + std::to_string(j->position.x) + " " +
                        std::to_string(j->position.y) + " " + std::to_string(j->position.z) + " " +
                        std::to_string(BvhChannelCount(j->layout)) + " " +
                        std::to_string(j->frameCount) + " " + std::to_string(j->frameTime);
        for (float v : j->samples) s += " " + std::to_string(v);
        out.push_back(s);
    }
    return out;
}

TEST(BvhReader, LineEndsAndSeparatorsOfEveryKindReadTheSameTree) {
    Read lf(kOneJoint);
    ASSERT_TRUE(lf.result.ok) << lf.result.message;
    const auto expected = Describe(lf.Root());
    const std::string variants[] = {
        Replace(kOneJoint, "\n", "\r\n"),
        Replace(kOneJoint, "\n", "\r"),
        Replace(Replace(kOneJoint, " ", "\t "), "\n", " \t\n"),   // tabs and trailing blanks
        "\xEF\xBB\xBF" + std::string(kOneJoint),                 // a byte order mark
        Replace(kOneJoint, "12 24 36 0 90 0", "+12 24.0 3.6e1 0e0 90 .0"),
    };
    for (const std::string& text : variants) {
        Read r(text);
        ASSERT_TRUE(r.result.ok) << r.result.message;
        EXPECT_EQ(Describe(r.Root()), expected);
    }
}

// A chain of `joints` joints below Hips, each with three channels, and one frame whose value i
// is i: a motion line of several thousand characters.
std::string Chain(int joints, const std::string& jointName) {
    std::string text = "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 3 Z X Y\n";
    for (int i = 0; i < joints; ++i)
        text += "JOINT " + jointName + std::to_string(i) + "\n{\nOFFSET 0 12 0\nCHANNELS 3 Z X Y\n";
    text += "End Site\n{\nOFFSET 0 0 0\n";
    for (int i = 0; i < joints + 2; ++i) text += "}\n";
    text += "MOTION\nFrames: 1\nFrame Time: 0.1\n";
    for (int v = 0; v < 3 * (joints + 1); ++v) text += std::to_string(v) + ".123456 ";
    return text + "\n";
}

TEST(BvhReader, LongLinesDeepChainsAndLongNamesAreRead) {
    const std::string longName(100, 'n');
    Read r(Chain(200, longName));
    ASSERT_TRUE(r.result.ok) << r.result.message;
    const auto joints = BvhPreOrder(r.Root());
    ASSERT_EQ(joints.size(), 202u);  // Hips, 200 joints, the End Site
    EXPECT_EQ(std::string(joints[1]->name), longName.substr(0, kBvhNameSize - 1));
    // The last joint's values sit past the first 1023 characters of the motion line.
    ASSERT_EQ(joints[200]->samples.size(), 3u);
    EXPECT_FLOAT_EQ(joints[200]->samples[2], 602.123456f);
}

TEST(BvhReader, JointsNestedBeyondTheDepthLimitAreRefused) {
    Read r(Chain(kBvhMaxDepth + 1, "J"));
    EXPECT_FALSE(r.result.ok);
    EXPECT_THAT(r.result.message, HasSubstr("nested too deep"));
}

TEST(BvhReader, BracesLeftOpenAndALastLineWithoutLineEndAreAccepted) {
    // The last "}" has no line end, so it is not read: the root stays open.
    Read open("HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 6 a\nEnd Site\n{\nOFFSET 0 0 0\n}\n}");
    ASSERT_TRUE(open.result.ok) << open.result.message;
    ASSERT_NE(open.Root(), nullptr);
    EXPECT_EQ(open.Root()->children.size(), 1u);
    Read empty("HIERARCHY\nROOT Hips");
    ASSERT_TRUE(empty.result.ok);
    EXPECT_TRUE(empty.container.children.empty());
}

// --- posing --------------------------------------------------------------------------------

// Rotations equal up to the sign of the whole quaternion; float trigonometry of angles up to
// 180 degrees agrees to a few units in the sixth digit.
constexpr float kRotTol = 2e-6f;
void ExpectSameRotation(const cquat& a, const cquat& b) {
    const float s = (a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w) < 0.0f ? -1.0f : 1.0f;
    EXPECT_NEAR(a.x, s * b.x, kRotTol);
    EXPECT_NEAR(a.y, s * b.y, kRotTol);
    EXPECT_NEAR(a.z, s * b.z, kRotTol);
    EXPECT_NEAR(a.w, s * b.w, kRotTol);
}

TEST(BvhReader, RootPoseAtFrameZeroTakesPositionsOverTwelveAndTheRotation) {
    Read r(kOneJoint);
    ASSERT_TRUE(r.result.ok);
    BVHBone* hips = r.Root();
    EXPECT_FLOAT_EQ(hips->position.x, 1.0f);
    EXPECT_FLOAT_EQ(hips->position.y, 2.0f);
    EXPECT_FLOAT_EQ(hips->position.z, 3.0f);
    ExpectSameRotation(hips->rotation, QuatFromAngleAxis(90.0f, {1.0f, 0.0f, 0.0f}));
    // The End Site: a joint named "Bone" with its OFFSET / 12 and no samples.
    ASSERT_EQ(hips->children.size(), 1u);
    const BVHBone& end = *hips->children[0];
    EXPECT_STREQ(end.name, "Bone");
    EXPECT_FLOAT_EQ(end.position.y, 1.0f);
    EXPECT_TRUE(end.samples.empty());
    EXPECT_EQ(hips->frameCount, 2.0f);
    EXPECT_FLOAT_EQ(hips->frameTime, 0.05f);
}

TEST(BvhReader, RotationChannelsAreReadZXYWhateverTheirNames) {
    Read named(Replace(kOneJoint, "Zrotation Xrotation Yrotation", "Xrotation Yrotation Zrotation"));
    ASSERT_TRUE(named.result.ok);
    SetBvhPose(*named.Root(), 1);
    EXPECT_FLOAT_EQ(named.Root()->euler.z, 10.0f);
    EXPECT_FLOAT_EQ(named.Root()->euler.x, 20.0f);
    EXPECT_FLOAT_EQ(named.Root()->euler.y, 30.0f);
}

TEST(BvhReader, AJointWithFourChannelsTakesNoValuesAndTheNextJointReadsOn) {
    Read r("HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 4 a b c d\nJOINT Chest\n{\n"
           "OFFSET 0 1 0\nCHANNELS 3 Z X Y\nEnd Site\n{\nOFFSET 0 0 0\n}\n}\n}\n"
           "MOTION\nFrames: 1\nFrame Time: 0.1\n1 2 3 4\n");
    ASSERT_TRUE(r.result.ok) << r.result.message;
    EXPECT_TRUE(r.Root()->samples.empty());
    const BVHBone& chest = *r.Root()->children[0];
    EXPECT_EQ(chest.samples, (std::vector<float>{1, 2, 3}));
    EXPECT_FLOAT_EQ(chest.euler.z, 1.0f);
}

TEST(BvhReader, AdvanceWrapsFromTheLastFrameToTheFirst) {
    Read r(kOneJoint);
    ASSERT_TRUE(r.result.ok);
    AdvanceBvh(r.container, 1.0f, 1);
    EXPECT_FLOAT_EQ(r.Root()->euler.y, 30.0f);  // frame 1
    AdvanceBvh(r.container, 1.0f, 1);
    EXPECT_EQ(r.Root()->time, 0.0f);
    EXPECT_FLOAT_EQ(r.Root()->position.x, 1.0f);  // frame 0 again
    AdvanceBvh(r.container, -1.0f, 1);
    EXPECT_EQ(r.Root()->time, 1.0f);
}

// The writer turns rotations into Euler angles with the host's QuatToEuler; reading them back
// must give the same rotation, so the reader's formula is the host's EulerToQuat.
TEST(BvhReader, RotationOfEulerAnglesIsTheHostsEulerRotation) {
    for (float z = -170.0f; z <= 180.0f; z += 35.0f)
        for (float x = -85.0f; x <= 90.0f; x += 25.0f)
            for (float y = -175.0f; y <= 180.0f; y += 45.0f) {
                const cpoint3 e(x, y, z);
                ExpectSameRotation(BvhEulerToQuat(e), EulerToQuat(e));
            }
}

// World positions follow the file's own convention: the child's offset turned by the parent.
TEST(BvhReader, WorldPositionsTurnEachOffsetByItsParentsRotation) {
    Read r(kOneJoint);
    ASSERT_TRUE(r.result.ok);
    const auto world = BvhWorldPositions(r.Root());
    ASSERT_EQ(world.size(), 2u);
    // Hips at (1, 2, 3) turned 90 degrees about x: the End Site's (0, 1, 0) becomes (0, 0, 1).
    EXPECT_NEAR(world[1].x, 1.0f, 1e-6f);
    EXPECT_NEAR(world[1].y, 2.0f, 1e-6f);
    EXPECT_NEAR(world[1].z, 4.0f, 1e-6f);
}

}  // namespace
