// Loading the golden walk onto a biped: the keys it gives with the options at their defaults,
// and how each group of load options changes them (source range, insertion, repeats, time
// stretch, reverse, existing keys, the planted foot, bone groups, the animation range).
#include "Skeleton/BipFile/BipFileBpdSave.h"
#include "file_support.h"

namespace pt {
namespace {

// Root positions are sums of scaled file steps in floats: a few ulps of values near 10 units.
constexpr float kRootTol = 1e-5f;
// Root rotations are normalised by the host when set; the file's are unit to 7 digits.
constexpr float kRotTol = 1e-6f;
// A foot found again through the hierarchy after the root moved: products of a dozen matrices.
constexpr float kFootTol = 1e-4f;

const golden::Bone& GoldenBone(int slot) {
    for (const golden::Bone& b : golden::Walk().bones)
        if (b.slot == slot) return b;
    return golden::Walk().bones.front();
}
cquat GoldenRot(int slot, int t) {
    for (const golden::Key& k : GoldenBone(slot).keys)
        if (k.t == t) return KeyOf(k).rot;
    ADD_FAILURE() << "no golden key at " << t << " on slot " << slot;
    return {};
}
cpoint3 GoldenRootPos(int t) {
    for (const golden::Key& k : GoldenBone(kSlotRoot).keys)
        if (k.t == t) return KeyOf(k).pos;
    ADD_FAILURE() << "no golden root key at " << t;
    return {};
}
bool SameQuat(const cquat& a, const cquat& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
std::vector<int> KeyTimes(int slot) {
    std::vector<int> out;
    for (const ckey& k : bipani.bones[slot]->anim.Keys()) out.push_back(k.time);
    return out;
}

class WalkLoad : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        BoundBiped();
        const cpoint3 thigh = bipani.bones[kSlotRThigh]->GetPosition(0);
        const cpoint3 calf = bipani.bones[kSlotRCalf]->GetPosition(0);
        const cpoint3 foot = bipani.bones[kSlotRFoot]->GetPosition(0);
        legRatio = (Length(thigh - calf) + Length(calf - foot)) / golden::Walk().legMeasure;
        rootStart = bipani.bones[kSlotRoot]->GetPosition(0);
        before = AllKeys();
    }
    int LoadWalk() { return Load(GoldenPath(golden::Walk().file)); }
    const ckey& FirstKeyBefore(int slot) const { return before[slot].front(); }

    float legRatio = 1;
    cpoint3 rootStart;
    std::vector<std::vector<ckey>> before;
};

TEST_F(WalkLoad, DefaultsKeyTheFileRotationsOnEachBoneAndMoveTheRootByScaledSteps) {
    ASSERT_EQ(LoadWalk(), 1);
    for (int slot : {int{kSlotPelvis}, int{kSlotRUpperArm}, 60, int{kSlotLUpperArm}}) {
        SCOPED_TRACE("slot " + std::to_string(slot));
        std::vector<int> times;
        for (const golden::Key& g : GoldenBone(slot).keys) times.push_back(g.t);
        EXPECT_EQ(KeyTimes(slot), times);
        for (int t : times) {
            ckey k = KeyAt(slot, t);
            EXPECT_TRUE(SameQuat(k.rot, GoldenRot(slot, t))) << "rotation at " << t;
            // The bone keeps its own position and scale; the file's are not used.
            EXPECT_EQ(std::memcmp(&k.pos, &FirstKeyBefore(slot).pos, 12), 0) << t;
            EXPECT_EQ(std::memcmp(&k.scale, &FirstKeyBefore(slot).scale, 12), 0) << t;
        }
    }
    cnode* root = bipani.bones[kSlotRoot];
    for (int t : {0, 10, 20}) {
        const cpoint3 step = (GoldenRootPos(t) - GoldenRootPos(0)) * legRatio;
        EXPECT_TRUE(PointNear(root->GetPosition(t), rootStart + step, kRootTol)) << t;
        EXPECT_TRUE(SameRotation(root->GetRotation(t), GoldenRot(kSlotRoot, t), kRotTol)) << t;
        EXPECT_TRUE(PointNear(root->GetScale(t), {1, 1, 1}, 0.0f)) << "file scale used at " << t;
    }
    EXPECT_EQ(Interface::GetAnimTPF(), 1000 / golden::Walk().fps);
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(WalkLoad, BonesTheBipedLacksAreSkippedAndTheRestStillLoad) {
    FileTest::TearDown();
    FileTest::SetUp();
    BoundBiped({4, 0, 1, 0, 1});  // no fingers, no toes: slot 60 is missing
    ASSERT_EQ(bipani.bones[60], nullptr);
    ASSERT_EQ(LoadWalk(), 1);
    EXPECT_TRUE(SameQuat(KeyAt(kSlotLUpperArm, 20).rot, GoldenRot(kSlotLUpperArm, 20)));
}

// Each case answers the options dialog, then checks where the right upper arm's keys went.
struct OptionCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> steps;  // control and text typed, or pressed
    std::vector<int> armKeys;          // key times of "R UpperArm" after the load
    std::vector<std::pair<int, int>> poses;  // scene frame, golden frame whose rotation it holds
};

void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.name; }

class LoadOptionGroups : public WalkLoad, public testing::WithParamInterface<OptionCase> {};

TEST_P(LoadOptionGroups, PlaceTheSourceKeysWhereTheOptionsSay) {
    const OptionCase& c = GetParam();
    for (const auto& [control, text] : c.steps) text ? Type(control, text) : Press(control);
    ASSERT_EQ(LoadAnswering(GoldenPath(golden::Walk().file), "no"), 1);
    EXPECT_EQ(KeyTimes(kSlotRUpperArm), c.armKeys);
    for (const auto& [scene, file] : c.poses)
        EXPECT_TRUE(SameQuat(KeyAt(kSlotRUpperArm, scene).rot, GoldenRot(kSlotRUpperArm, file)))
            << "frame " << scene << " should hold the file's frame " << file;
}

const OptionCase kOptionCases[] = {
    {"SourceRangeToInsertAt", {{"First Frame:", "5"}, {"Last Frame:", "15"}, {"Insert At:", "30"}},
     {0, 30, 35, 40}, {{30, 5}, {35, 10}, {40, 15}}},
    {"SourceRangeOutOfTheFileIsClampedAndOrdered",
     {{"First Frame:", "40"}, {"Last Frame:", "-3"}}, {0, 5, 10, 15, 20}, {{15, 15}}},
    {"RepeatPlacesCopiesBackToBack", {{"Repeat:", "3"}},
     {0, 5, 10, 15, 20, 21, 26, 31, 36, 41, 42, 47, 52, 57, 62}, {{26, 5}, {52, 10}, {62, 20}}},
    {"RepeatKeptWithinOneToAHundred", {{"Repeat:", "0"}}, {0, 5, 10, 15, 20}, {}},
    {"ScaleStretchesTheSourceToNumFrames", {{"Scale", nullptr}, {"#1060", "42"}},
     {0, 10, 20, 30, 40}, {{10, 5}, {30, 15}, {40, 20}}},
    {"NumFramesIgnoredWithoutScale", {{"Scale", nullptr}, {"#1060", "42"}, {"Scale", nullptr}},
     {0, 5, 10, 15, 20}, {}},
    {"InvertPlaysThePosesBackwards",
     {{"First Frame:", "5"}, {"Last Frame:", "10"}, {"Invert", nullptr}}, {0, 5},
     {{0, 15}, {5, 10}}},
};

INSTANTIATE_TEST_SUITE_P(Walk, LoadOptionGroups, testing::ValuesIn(kOptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WalkLoad, InvertRunsTheRootAlongThePathBackwards) {
    Press("Invert");
    ASSERT_EQ(LoadWalk(), 1);
    cnode* root = bipani.bones[kSlotRoot];
    for (int t : {0, 10, 20}) {
        const cpoint3 step = (GoldenRootPos(20 - t) - GoldenRootPos(20)) * legRatio;
        EXPECT_TRUE(PointNear(root->GetPosition(t), rootStart + step, kRootTol)) << t;
    }
    EXPECT_TRUE(SameQuat(KeyAt(kSlotLUpperArm, 0).rot, GoldenRot(kSlotLUpperArm, 20)));
}

TEST_F(WalkLoad, RepeatedCopiesCarryTheRootOnFromWhereTheLastEnded) {
    Type("Repeat:", "2");
    ASSERT_EQ(LoadWalk(), 1);
    const cpoint3 lap = (GoldenRootPos(20) - GoldenRootPos(0)) * legRatio;
    cnode* root = bipani.bones[kSlotRoot];
    EXPECT_TRUE(PointNear(root->GetPosition(21), rootStart + lap, kRootTol));
    EXPECT_TRUE(PointNear(root->GetPosition(41), rootStart + lap * 2.0f, kRootTol));
}

// --- existing keys -----------------------------------------------------------------------------

class ExistingKeys : public WalkLoad {
protected:
    // The right upper arm keyed at 0, 3, 12 and 50 with rotations of its own.
    void KeyArm() {
        canim& arm = bipani.bones[kSlotRUpperArm]->anim;
        for (int t : {0, 3, 12, 50}) {
            ckey k = KeyAt(kSlotRUpperArm, t);
            k.rot = QuatFromAngleAxis(static_cast<float>(t) + 1.0f, {0, 1, 0});
            arm.SetKey(k);
        }
        armBefore = arm.Keys();
    }
    ckey Before(int t) const {
        for (const ckey& k : armBefore)
            if (k.time == t) return k;
        return {};
    }
    std::vector<ckey> armBefore;
};

TEST_F(ExistingKeys, ClearAtFrameZeroRemovesTheFilledFramesButKeepsTheFirstKeyAndLaterOnes) {
    KeyArm();
    ASSERT_EQ(LoadWalk(), 1);
    EXPECT_EQ(KeyTimes(kSlotRUpperArm), (std::vector<int>{0, 5, 10, 15, 20, 50}));
    EXPECT_TRUE(SameQuat(KeyAt(kSlotRUpperArm, 50).rot, Before(50).rot));
}

TEST_F(ExistingKeys, MoveShiftsKeysFromInsertAtOnByTheLoadedLength) {
    KeyArm();
    Type("Insert At:", "10");
    Press("Move");
    ASSERT_EQ(LoadWalk(), 1);
    // 12 and 50 move on by 21 frames; the new keys fill 10..30.
    EXPECT_EQ(KeyTimes(kSlotRUpperArm), (std::vector<int>{0, 3, 10, 15, 20, 25, 30, 33, 71}));
    EXPECT_TRUE(SameQuat(KeyAt(kSlotRUpperArm, 33).rot, Before(12).rot));
    EXPECT_TRUE(SameQuat(KeyAt(kSlotRUpperArm, 71).rot, Before(50).rot));
    EXPECT_TRUE(SameQuat(KeyAt(kSlotRUpperArm, 3).rot, Before(3).rot));
}

TEST_F(ExistingKeys, MoveAtFrameZeroKeepsTheFirstKeyAndCopiesItPastTheLoad) {
    KeyArm();
    Press("Move");
    ASSERT_EQ(LoadWalk(), 1);
    EXPECT_EQ(KeyTimes(kSlotRUpperArm), (std::vector<int>{0, 5, 10, 15, 20, 21, 24, 33, 71}));
    EXPECT_TRUE(SameQuat(KeyAt(kSlotRUpperArm, 21).rot, Before(0).rot));
}

TEST_F(ExistingKeys, OneFrameFileAtFrameZeroRemovesNothing) {
    KeyArm();
    ASSERT_EQ(Load(GoldenPath(golden::OneFrame().file)), 1);
    EXPECT_EQ(KeyTimes(kSlotRUpperArm), (std::vector<int>{0, 3, 12, 50}));
    EXPECT_EQ(Interface::GetAnimTPF(), 1000 / golden::OneFrame().fps);
}

// --- the planted foot, bone groups, the animation range ----------------------------------------

TEST_F(WalkLoad, AlignKeepsTheChosenFootWhereItStoodAtInsertAt) {
    for (int foot : {kSlotRFoot, kSlotLFoot}) {
        SCOPED_TRACE(foot);
        Interface::SetAnimTime(4);
        const cpoint3 stood = bipani.bones[foot]->GetPosition(4);
        Press(foot == kSlotRFoot ? "#1118" : "#1119");
        ASSERT_EQ(LoadWalk(), 1);
        EXPECT_TRUE(PointNear(bipani.bones[foot]->GetPosition(4), stood, kFootTol));
    }
}

TEST_F(WalkLoad, UncheckedBoneGroupKeepsItsKeysAndTheChecksStayForTheNextLoad) {
    Press("Right UpperArm");
    ASSERT_EQ(LoadWalk(), 1);
    EXPECT_TRUE(SameKeys(bipani.bones[kSlotRUpperArm]->anim.Keys(), before[kSlotRUpperArm]));
    EXPECT_EQ(KeyTimes(kSlotLUpperArm), (std::vector<int>{0, 20}));  // the file kept in step
    ASSERT_EQ(LoadWalk(), 1);  // the box opens as it was left
    EXPECT_TRUE(SameKeys(bipani.bones[kSlotRUpperArm]->anim.Keys(), before[kSlotRUpperArm]));
}

TEST_F(WalkLoad, GroupButtonsSetAndClearRunsOfBoxes) {
    Press("#1043");  // "Clear" under "Upper": spine to left fingers
    Press("Right Arm");
    ASSERT_EQ(LoadWalk(), 1);
    EXPECT_EQ(KeyTimes(kSlotRUpperArm).size(), 5u);
    EXPECT_TRUE(SameKeys(bipani.bones[kSlotLUpperArm]->anim.Keys(), before[kSlotLUpperArm]));
    EXPECT_EQ(KeyTimes(kSlotPelvis), (std::vector<int>{0, 20}));  // lower body still on
}

TEST_F(WalkLoad, EndPastTheAnimationRangeAsksOnceAndYesExtendsIt) {
    for (const char* answer : {"no", "yes"}) {
        Type("Insert At:", "90");
        ASSERT_EQ(LoadAnswering(GoldenPath(golden::Walk().file), answer), 1);
        EXPECT_EQ(MessageTexts().size(), 1u);
        EXPECT_EQ(Interface::GetAnimEnd(), std::string(answer) == "yes" ? 110 : 100);
        qv::ui::ClearMessages();
    }
}

TEST_F(WalkLoad, CancelChangesNothing) {
    driver.Push([] {
        qv::ui::Action a;
        a.control = "Cancel";
        return a;
    }());
    EXPECT_EQ(bipani.Load(const_cast<char*>(GoldenPath(golden::Walk().file).c_str())), 0);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    EXPECT_EQ(Interface::GetAnimTPF(), 33);
}

}  // namespace
}  // namespace pt
