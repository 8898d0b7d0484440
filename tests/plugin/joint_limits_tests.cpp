// Joint classes read off bone names and the IK defaults they give a bone.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Skeleton/BipBones.h"
#include "Skeleton/BipCreateParams.h"
#include "Skeleton/BipJointLimits.h"
#include "quorvane/node.h"

namespace {

// Sets numFingers for one test and puts the module's value back afterwards.
class JointClass : public testing::Test {
protected:
    void SetUp() override { saved_ = numFingers; numFingers = 5; }
    void TearDown() override { numFingers = saved_; }

private:
    int saved_ = 5;
};

TEST_F(JointClass, FiveFingerHandSeparatesTheThumb) {
    EXPECT_EQ(GetJointClass("Bip01 R Finger0"), 6);
    EXPECT_EQ(GetJointClass("Bip01 R Finger01"), 7);
    EXPECT_EQ(GetJointClass("Bip01 R Finger02"), 7);
    EXPECT_EQ(GetJointClass("Bip01 R Finger32"), 8);
    EXPECT_EQ(GetJointClass("Bip01 L Finger4"), 9);
}

TEST_F(JointClass, ThumbClassesNeedTwoFingers) {
    numFingers = 1;
    EXPECT_EQ(GetJointClass("Bip01 L Finger0"), 9);
    EXPECT_EQ(GetJointClass("Bip01 L Finger01"), 8);
    numFingers = 2;
    EXPECT_EQ(GetJointClass("Bip01 L Finger0"), 6);
    EXPECT_EQ(GetJointClass("Bip01 L Finger01"), 7);
    numFingers = 0;
    EXPECT_EQ(GetJointClass("Bip01 L Finger0"), 9);
}

TEST_F(JointClass, ToesFeetAndHands) {
    EXPECT_EQ(GetJointClass("Bip01 R Toe4"), 11);
    EXPECT_EQ(GetJointClass("Bip01 R Toe41"), 10);
    EXPECT_EQ(GetJointClass("Bip01 R Foot"), 4);
    EXPECT_EQ(GetJointClass("Bip01 L Hand"), 5);
}

TEST_F(JointClass, BonesWithoutLimits) {
    for (const char* name : {"Bip01", "Bip01 Spine3", "Bip01 L Thigh", "Bip01 R UpperArm",
                             "Bip01 Neck", "Bip01 Head", "", "Bip01 Finger"})
        EXPECT_EQ(GetJointClass(name), kNoJointClass) << '"' << name << '"';
    EXPECT_EQ(GetJointClass(nullptr), kNoJointClass);
}

TEST_F(JointClass, CaseDoesNotMatter) {
    EXPECT_EQ(GetJointClass("BIP01 R FINGER01"), 7);
    EXPECT_EQ(GetJointClass("bip01 l toe2"), 11);
    EXPECT_EQ(GetJointClass("Bip01 L cAlF"), 3);
    EXPECT_EQ(GetJointClass("BIP02 PELVIS"), 0);
}

// Class each slot of a full biped should get, from its place in the anatomy.
int ClassOfSlot(int s) {
    auto link = [](int s, int first) { return (s - first) % 3; };
    auto digit = [](int s, int first) { return (s - first) / 3; };
    if (s == kSlotPelvis) return 0;
    if (s == kSlotRClavicle || s == kSlotLClavicle) return 1;
    if (s == kSlotRForearm || s == kSlotLForearm) return 2;
    if (s == kSlotRCalf || s == kSlotLCalf) return 3;
    if (s == kSlotRFoot || s == kSlotLFoot) return 4;
    if (s == kSlotRHand || s == kSlotLHand) return 5;
    for (int first : {int{kSlotRFinger0}, int{kSlotLFinger0}})
        if (s >= first && s < first + 15) {
            const bool thumb = digit(s, first) == 0;
            if (link(s, first) == 0) return thumb ? 6 : 9;
            return thumb ? 7 : 8;
        }
    for (int first : {int{kSlotRToe0}, int{kSlotLToe0}})
        if (s >= first && s < first + 15) return link(s, first) == 0 ? 11 : 10;
    return kNoJointClass;
}

TEST_F(JointClass, EveryBoneOfAFullBipedGetsItsAnatomicalClass) {
    for (int s = 1; s < kNumSlots; ++s) {
        const std::string name = std::string("Bip01 ") + BipBaseName(s);
        EXPECT_EQ(GetJointClass(name.c_str()), ClassOfSlot(s)) << name;
    }
}

// A bone that records the IK calls made on it, in order.
class RecordingBone : public cbone {
public:
    std::vector<std::string> calls;
    void SetIKInitialRot(const cquat& q) override {
        calls.push_back("initial");
        cbone::SetIKInitialRot(q);
    }
    void SetIKMinRot(const cpoint3& d) override { calls.push_back("min"); cbone::SetIKMinRot(d); }
    void SetIKMaxRot(const cpoint3& d) override { calls.push_back("max"); cbone::SetIKMaxRot(d); }
    void EnableIKDOF(int on) override { calls.push_back("dof"); cbone::EnableIKDOF(on); }
};

using JointSetup = JointClass;

TEST_F(JointSetup, CalfGetsFirstKeyRotationAndItsLimitsInOrder) {
    RecordingBone bone;
    bone.SetName("Bip01 L Calf");
    const cquat first = Normalize(cquat(0.1f, 0.2f, 0.3f, 0.9f));
    ckey k0;
    k0.time = 0;
    k0.rot = first;
    bone.anim.SetKey(k0);
    ckey k1 = k0;
    k1.time = 10;
    k1.rot = cquat(0.0f, 0.0f, 1.0f, 0.0f);  // a later key must not be taken
    bone.anim.SetKey(k1);

    SetupJointLimits(&bone);
    EXPECT_EQ(bone.calls, (std::vector<std::string>{"initial", "min", "max", "dof"}));
    const cikinfo& ik = bone.GetIKInfo();
    EXPECT_EQ(ik.initial, first);
    EXPECT_EQ(ik.min, cpoint3(0, 0, 0));
    EXPECT_EQ(ik.max, cpoint3(0, 0, 180));
    EXPECT_EQ(ik.dof, 1);
}

TEST_F(JointSetup, ThumbAndToeLimitsInDegrees) {
    RecordingBone thumb;
    thumb.SetName("Bip01 R Finger0");
    SetupJointLimits(&thumb);
    EXPECT_EQ(thumb.GetIKInfo().min, cpoint3(0, -90, -15));
    EXPECT_EQ(thumb.GetIKInfo().max, cpoint3(0, 20, 15));
    RecordingBone toe;
    toe.SetName("Bip01 L Toe3");
    SetupJointLimits(&toe);
    EXPECT_EQ(toe.GetIKInfo().min, cpoint3(0, -15, -20));
    EXPECT_EQ(toe.GetIKInfo().max, cpoint3(0, 15, 90));
    RecordingBone pelvis;
    pelvis.SetName("Bip01 Pelvis");
    SetupJointLimits(&pelvis);
    EXPECT_EQ(pelvis.GetIKInfo().min, cpoint3(0, -180, 0));
    EXPECT_EQ(pelvis.GetIKInfo().max, cpoint3(0, 180, 0));
}

TEST_F(JointSetup, BoneWithoutClassKeepsTheHostSettings) {
    RecordingBone neck;
    neck.SetName("Bip01 Neck");
    cikinfo before;
    before.min = cpoint3(1, 2, 3);
    before.dof = 0;
    neck.SetIKInfo(before);
    SetupJointLimits(&neck);
    EXPECT_TRUE(neck.calls.empty());
    EXPECT_EQ(neck.GetIKInfo().min, cpoint3(1, 2, 3));
    EXPECT_EQ(neck.GetIKInfo().dof, 0);
    SetupJointLimits(nullptr);  // no bone: nothing happens
}

TEST(JointLimitTables, MinimaNeverExceedMaxima) {
    for (int c = 0; c < kNumJointClasses; ++c) {
        EXPECT_LE(jointLimitMin[c].x, jointLimitMax[c].x) << c;
        EXPECT_LE(jointLimitMin[c].y, jointLimitMax[c].y) << c;
        EXPECT_LE(jointLimitMin[c].z, jointLimitMax[c].z) << c;
    }
}

}  // namespace
