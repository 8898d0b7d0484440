// Walk and run key generation on bipeds of the scene: key times by gait, start foot and loops,
// which bones are keyed, the clearing before, the root brought into the biped's heading and
// scaled to its leg, "In Place", the planted foot kept in place, and bad input.
#include <cmath>

#include "walkrun_support.h"

namespace pt {
namespace {

// Positions a few tens of units from the origin after a few dozen float additions.
constexpr float kPosTol = 1e-3f;
constexpr float kRotTol = 1e-4f;

class WalkRun : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        MakeStandingBiped(8.0f, 4);
        ASSERT_EQ(Open(Node("Bip01")), 1);
    }
};

struct TimesCase {
    const char* name;
    GaitOptions options;
    std::vector<int> rootTimes;
    std::vector<int> samples;  // table sample keyed at each root key, -1 for the key kept at 0
};

TEST_F(WalkRun, RootAndBonesAreKeyedAtTheGaitsSampleTimes) {
    const TimesCase cases[] = {
        {"walk from the right foot at 0, one loop, closed",
         {kGaitWalk, 1, 1, 1, 0, 0}, {0, 3, 6, 9, 15, 21, 24, 30}, {5, 6, 0, 1, 2, 3, 4, 5}},
        {"run from the left foot at 10, two loops, open",
         {kGaitRun, 0, 2, 0, 0, 10},
         {0, 10, 13, 16, 19, 22, 25, 29, 33, 36, 39, 42, 45, 48, 52},
         {-1, 3, 4, 5, 6, 0, 1, 2, 3, 4, 5, 6, 0, 1, 2}},
        {"walk from the left foot at 0, one loop, closed",
         {kGaitWalk, 0, 1, 1, 0, 0}, {0, 6, 9, 15, 18, 21, 24, 30}, {2, 3, 4, 5, 6, 0, 1, 2}},
    };
    for (const TimesCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Generate(c.options), 1);
        EXPECT_EQ(KeyTimes(Bone(kSlotRoot)), c.rootTimes);
        // Each keyed bone other than the root carries its table's rotation of that sample.
        for (int b = 1; b < kNumGaitBones; ++b) {
            cnode* node = Bone(kGaitSlots[b]);
            if (!node) continue;
            ASSERT_EQ(KeyTimes(node), c.rootTimes) << node->GetName();
            for (size_t i = 0; i < c.rootTimes.size(); ++i) {
                if (c.samples[i] < 0) continue;
                ckey key;
                node->anim.GetKey(c.rootTimes[i], key);
                EXPECT_TRUE(SameRotation(
                    key.rot, gaitTables[c.options.gait][b][c.samples[i]].localRot, kRotTol))
                    << node->GetName() << " at " << c.rootTimes[i];
            }
        }
        ASSERT_TRUE(theUndo.Undo());
    }
}

// The panel clamps what is typed (panel_tests); a count set past it is clamped alike.
TEST_F(WalkRun, LoopCountsOutsideOneToAHundredAreBroughtIntoRange) {
    for (const auto& [asked, made] : {std::pair{0, 1}, {-3, 1}, {250, 100}}) {
        SCOPED_TRACE(asked);
        ASSERT_EQ(Generate({kGaitWalk, 1, asked, 0, 0, 0}), 1);
        EXPECT_EQ(Bone(kSlotRoot)->anim.NumKeys(), kGaitKeys * made);
        EXPECT_EQ(bipani.numLoops, made);
        ASSERT_TRUE(theUndo.Undo());
    }
}

TEST_F(WalkRun, OnlyTheTwentyThreeTableBonesGetKeys) {
    const auto before = AllKeys();
    ASSERT_EQ(Generate({kGaitRun, 1, 3, 1, 0, 0}), 1);
    const auto after = AllKeys();
    for (int s = 0; s < kNumSlots; ++s) {
        if (!Bone(s)) continue;
        const bool keyed = std::find(kGaitSlots, kGaitSlots + kNumGaitBones, s) !=
                           kGaitSlots + kNumGaitBones;
        EXPECT_EQ(SameKeys(before[s], after[s]), !keyed) << FullName(s);
    }
}

TEST_F(WalkRun, ClearingStartsAtTheCurrentTimeAndNeverTakesTheKeyAtZero) {
    cnode* head = Bone(kSlotHead);
    Interface::SetAnimOn(1);
    const cquat nod = QuatFromAngleAxis(20.0f, MakePt3(1.0f, 0.0f, 0.0f));
    for (int t : {0, 4, 12, 80}) head->SetRotation(t, nod * head->GetRotation(t));
    Interface::SetAnimOn(0);
    ckey atZero;
    head->anim.GetKey(0, atZero);

    ASSERT_EQ(Generate({kGaitWalk, 1, 1, 1, 0, 5}), 1);
    // Walk from 5: keys 5 .. 35; the key at 12 lies inside and goes, 4 and 80 lie outside.
    const std::vector<int> times = KeyTimes(head);
    EXPECT_EQ(std::count(times.begin(), times.end(), 12), 0);
    EXPECT_EQ(std::count(times.begin(), times.end(), 4), 1);
    EXPECT_EQ(std::count(times.begin(), times.end(), 80), 1);
    ckey zeroAfter;
    ASSERT_TRUE(head->anim.GetKey(0, zeroAfter));
    EXPECT_EQ(std::memcmp(&zeroAfter, &atZero, sizeof(ckey)), 0);

    // From frame 0 the key at 0 is rewritten by the first sample, not removed.
    ASSERT_EQ(Generate({kGaitWalk, 1, 1, 1, 0, 0}), 1);
    const std::vector<int> fromZero = KeyTimes(head);
    EXPECT_EQ(fromZero.front(), 0);
    EXPECT_EQ(std::count(fromZero.begin(), fromZero.end(), 4), 0);
}

// The root's displacement over the generated keys.
cpoint3 RootTravel() {
    const std::vector<ckey>& keys = Bone(kSlotRoot)->anim.Keys();
    return keys.back().pos - keys.front().pos;
}

TEST_F(WalkRun, TheBipedWalksTheWayItsRootFaces) {
    ASSERT_EQ(Generate({kGaitWalk, 1, 2, 1, 0, 0}), 1);
    const cpoint3 straight = RootTravel();
    // The default biped faces -y: it walks along -y, neither sideways nor far up or down.
    EXPECT_LT(straight.y, -1.0f);
    EXPECT_NEAR(straight.x, 0.0f, kPosTol);
    ASSERT_TRUE(theUndo.Undo());

    // Turned a quarter about z (world' = world × turn) it faces -x and walks along -x by the
    // same distance.
    cnode* root = Bone(kSlotRoot);
    root->SetRotation(0, root->GetRotation(0) * QuatFromAngleAxis(90.0f, MakePt3(0, 0, 1)));
    EXPECT_TRUE(PointNear(Forward(0), MakePt3(-1.0f, 0.0f, 0.0f), kPosTol));
    ASSERT_EQ(Generate({kGaitWalk, 1, 2, 1, 0, 0}), 1);
    const cpoint3 turned = RootTravel();
    EXPECT_TRUE(PointNear(turned, MakePt3(straight.y, -straight.x, straight.z), kPosTol));
}

// The table's walking axis (its y) brought into the scene: along the biped's heading for the
// walk; for the run turned by the root's yaw at the start sample against the run's own line.
cpoint3 TableAxisInScene(int gait, int startFoot) {
    const cquat startRot = gaitTables[gait][0][GaitStartSample(gait, startFoot)].worldRot;
    return (MakePt3(0.0f, 1.0f, 0.0f) * Inverse(bipani.GetDirectionRot(startRot))) *
           bipani.GetDirectionRot(0);
}

// A root tipped so that its y axis stands upright still has a heading: that of its x axis.
TEST_F(WalkRun, ARootWithItsYAxisUprightWalksTheWayItsXAxisSays) {
    cnode* root = Bone(kSlotRoot);
    // world' = world × turn: a quarter about the root's own x axis (which is -y) stands y up.
    const cpoint3 xAxis = MatrixFromQuat(root->GetRotation(0)).GetRow(0);
    root->SetRotation(0, root->GetRotation(0) * QuatFromAngleAxis(90.0f, xAxis));
    ASSERT_LT(std::fabs(MatrixFromQuat(root->GetRotation(0)).GetRow(1).x), 1e-4f);
    EXPECT_TRUE(PointNear(Forward(0), MakePt3(0.0f, -1.0f, 0.0f), kPosTol));
    ASSERT_EQ(Generate({kGaitWalk, 1, 1, 1, 0, 0}), 1);
    const cpoint3 travel = RootTravel();
    EXPECT_LT(travel.y, -1.0f);
    EXPECT_NEAR(travel.x, 0.0f, kPosTol);
}

TEST_F(WalkRun, InPlaceKeepsTheRootOnItsSpotAlongTheHeading) {
    EXPECT_TRUE(PointNear(TableAxisInScene(kGaitWalk, 1), Forward(0) * -1.0f, kPosTol));
    for (int gait : {kGaitWalk, kGaitRun}) {
        SCOPED_TRACE(gait);
        ASSERT_EQ(Generate({gait, 1, 2, 1, 1, 0}), 1);
        const cpoint3 fwd = TableAxisInScene(gait, 1);
        const std::vector<ckey>& keys = Bone(kSlotRoot)->anim.Keys();
        float upDown = 0.0f;
        for (const ckey& k : keys) {
            EXPECT_NEAR(DotProd(k.pos - keys.front().pos, fwd), 0.0f, kPosTol) << k.time;
            upDown = std::max(upDown, std::fabs(k.pos.z - keys.front().pos.z));
        }
        EXPECT_GT(upDown, 0.05f);  // the hips still rise and fall
        ASSERT_TRUE(theUndo.Undo());
    }
}

TEST_F(WalkRun, StrideIsProportionalToTheLeg) {
    ASSERT_EQ(Generate({kGaitRun, 1, 1, 1, 0, 0}), 1);
    const float stride = Length(RootTravel()), leg = LegLength();
    // A second biped of twice the height, beside the first.
    ResetTool();
    MakeStandingBiped(16.0f, 4, 20.0f, 0.0f);
    ASSERT_EQ(Open(Node("Bip02")), 1);
    ASSERT_EQ(Generate({kGaitRun, 1, 1, 1, 0, 0}), 1);
    EXPECT_NEAR(LegLength() / leg, 2.0f, 1e-3f);
    EXPECT_NEAR(Length(RootTravel()) / stride, 2.0f, 1e-3f);
}

// Both start feet of the walk: the foot planted at the first key is where it stood before.
// Our rows put the planted ankle within 0.3 table units of the given row, 0.6 % of the leg.
TEST_F(WalkRun, ThePlantedFootStaysWhereItStood) {
    for (int startFoot : {1, 0}) {
        SCOPED_TRACE(startFoot);
        cnode* planted = Bone(startFoot ? kSlotLFoot : kSlotRFoot);
        const cpoint3 before = planted->GetPosition(0);
        ASSERT_EQ(Generate({kGaitWalk, startFoot, 1, 1, 0, 0}), 1);
        EXPECT_TRUE(PointNear(planted->GetPosition(0), before, 0.006f * LegLength()));
        ASSERT_TRUE(theUndo.Undo());
    }
}

// The run from the right foot begins with the left foot rolling off its toes: the heel is up
// and the tip of the longest toe is on the ground where the toes stood. The run's line is the
// table's, turned by the root's yaw at the start sample (15 degrees off the biped's facing), and
// the foot turns with it: the tip lands 5 % of the leg beside where it stood; 6 % holds it.
TEST_F(WalkRun, TheRunStartsOnTheToesOfThePlantedFoot) {
    cnode* tip = Bone(kSlotLToe0 + 3 * (kMaxDigits - 1) + kMaxDigitLinks - 1);
    cnode* foot = Bone(kSlotLFoot);
    ASSERT_NE(tip, nullptr);
    const cpoint3 tipBefore = tip->GetPosition(0), footBefore = foot->GetPosition(0);
    ASSERT_EQ(Generate({kGaitRun, 1, 1, 1, 0, 0}), 1);
    EXPECT_NEAR(tip->GetPosition(0).z, tipBefore.z, 0.01f * LegLength());
    EXPECT_TRUE(PointNear(tip->GetPosition(0), tipBefore, 0.06f * LegLength()));
    EXPECT_GT(foot->GetPosition(0).z - footBefore.z, 0.05f * LegLength());  // heel up
}

TEST_F(WalkRun, LoopKeyRepeatsTheStartPoseOneStrideOn) {
    for (int gait : {kGaitWalk, kGaitRun}) {
        SCOPED_TRACE(gait);
        ASSERT_EQ(Generate({gait, 0, 3, 1, 0, 0}), 1);
        for (int b = 0; b < kNumGaitBones; ++b) {
            cnode* node = Bone(kGaitSlots[b]);
            if (!node) continue;
            const std::vector<ckey>& keys = node->anim.Keys();
            EXPECT_TRUE(SameRotation(keys.back().rot, keys.front().rot, kRotTol))
                << node->GetName();
        }
        ASSERT_TRUE(theUndo.Undo());
    }
}

TEST_F(WalkRun, OneUndoStepTakesTheWholeGenerationBackAndRedoGivesItAgain) {
    const auto before = AllKeys();
    const int levels = theUndo.NumLevels();
    ASSERT_EQ(Generate({kGaitRun, 1, 4, 1, 0, 0}), 1);
    const auto generated = AllKeys();
    ASSERT_EQ(theUndo.NumLevels(), levels + 1);
    EXPECT_EQ(NewestLevelName(), "Biped Footsteps");
    ASSERT_TRUE(theUndo.Undo());
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    ASSERT_TRUE(theUndo.Redo());
    EXPECT_TRUE(SameKeys(AllKeys(), generated));
}

// A biped that has lost a leg bone still walks when the other leg is whole (the stride is
// measured on it); without any whole leg nothing changes and the user is told why.
TEST_F(WalkRun, MissingLegBonesAreMeasuredOnTheOtherLegOrRefused) {
    const float leg = LegLength(kSlotLThigh);
    cnode* calf = Bone(kSlotRCalf);
    Interface::RemoveFromScene(calf, 0);
    bipani.bones[kSlotRCalf] = nullptr;
    EXPECT_NEAR(bipani.StrideFactor(), leg * 0.020749997f, 1e-6f);
    ASSERT_EQ(Generate({kGaitWalk, 0, 1, 1, 0, 0}), 1);  // the right foot is the planted one
    EXPECT_GT(Bone(kSlotRoot)->anim.NumKeys(), 1);
    ASSERT_TRUE(theUndo.Undo());

    bipani.bones[kSlotLFoot] = nullptr;
    const auto before = AllKeys();
    const int levels = theUndo.NumLevels();
    qv::ui::QueueDriver driver;
    qv::ui::SetDriver(&driver);
    qv::ui::Action ok;
    ok.kind = qv::ui::Action::Kind::Answer;
    ok.text = "ok";
    driver.Push(ok);
    EXPECT_EQ(Generate({kGaitWalk, 1, 1, 1, 0, 0}), 0);
    qv::ui::SetDriver(nullptr);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    EXPECT_EQ(theUndo.NumLevels(), levels);
    ASSERT_FALSE(qv::ui::Messages().empty());
    EXPECT_EQ(qv::ui::Messages().back().caption, "Biped");
}

}  // namespace
}  // namespace pt
