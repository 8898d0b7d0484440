// Measured qualities of the generated walk and run, frame by frame as the host plays them back
// (keys and the frames interpolated between them): planted feet stay put, no foot goes into
// the ground, the arms swing against the legs. On the default biped and on a small one with
// one spine link.
#include <cmath>
#include <cstdio>

#include "walkrun_support.h"

namespace pt {
namespace {

// Frames of one cycle (sample 0 at frame 0) in which each foot stands flat on the ground, as
// the gait tables author them: the walk's right foot from the key at 3 until its heel lifts
// at 12, the left half a cycle later. A running foot comes down between its landing key and
// its flat key and stands until its flat key (right) or until it rolls onto its toes (left).
struct Stance {
    int first, last;
};
constexpr Stance kStance[kNumGaits][2] = {{{3, 12}, {18, 27}}, {{9, 11}, {19, 20}}};
constexpr int kStanceFoot[2] = {kSlotRFoot, kSlotLFoot};

// A planted foot may drift by 2 % of the leg: the walk's given right-leg rows alone, played
// back with the host's interpolation, come to 1.73 %.
constexpr float kDriftPerLeg = 0.02f;
// No foot or toe joint below the ground by more than 1 % of the biped's height.
constexpr float kGroundPerHeight = 0.01f;
// A thigh swung less than this (degrees) off vertical says nothing about the arm's direction.
constexpr float kClearSwingDeg = 8.0f;

struct Biped {
    const char* name;
    float height;
    int spines;
};
constexpr Biped kBipeds[] = {{"default", 8.0f, 4}, {"small", 3.0f, 1}};

class GaitQuality : public ToolScene {
protected:
    void Make(const Biped& b) {
        MakeStandingBiped(b.height, b.spines);
        ASSERT_EQ(Open(Node("Bip01")), 1);
        ground = LowestZ(FootBones(), 0);
        leg = LegLength();
    }
    // Largest distance between two positions of the foot within each stance of the generated
    // range, over the leg length.
    float WorstStanceDrift(int gait, int startFoot, int loops) {
        const frame_t* root = gaitTables[gait][0];
        const int length = root[kGaitKeys].time;
        const int t0 = -root[GaitStartSample(gait, startFoot)].time;
        const int end = Bone(kSlotRoot)->anim.Keys().back().time;
        float worst = 0.0f;
        for (int side = 0; side < 2; ++side) {
            cnode* foot = Bone(kStanceFoot[side]);
            float lowest = 1e30f;
            for (int t = 0; t <= end; ++t) lowest = std::min(lowest, foot->GetPosition(t).z);
            for (int n = 0; n <= loops + 1; ++n) {
                const int a = t0 + kStance[gait][side].first + n * length;
                const int b = t0 + kStance[gait][side].last + n * length;
                if (a < 0 || b > end) continue;
                for (int i = a; i <= b; ++i) {
                    // A stance frame has the foot down: its ankle as low as it ever gets.
                    EXPECT_LT(foot->GetPosition(i).z - lowest, kDriftPerLeg * leg) << i;
                    for (int j = i + 1; j <= b; ++j)
                        worst = std::max(worst, Length(foot->GetPosition(i) - foot->GetPosition(j)));
                }
            }
        }
        return worst / leg;
    }
    // How far the feet's lowest joint goes below the ground (> 0) or stays above it (< 0).
    float DeepestBelowGround(int end) {
        float deepest = -1e30f;
        const std::vector<cnode*> feet = FootBones();
        for (int t = 0; t <= end; ++t) deepest = std::max(deepest, ground - LowestZ(feet, t));
        return deepest;
    }
    float ground = 0.0f;
    float leg = 0.0f;
};

TEST_F(GaitQuality, PlantedFeetHoldTheirPlaceAndStayAboveTheGround) {
    for (const Biped& b : kBipeds) {
        for (int gait : {kGaitWalk, kGaitRun}) {
            for (int startFoot : {1, 0}) {
                SCOPED_TRACE(std::string(b.name) + (gait ? " run" : " walk") +
                             (startFoot ? " right" : " left"));
                qv::ResetScene();
                ResetTool();
                Make(b);
                ASSERT_EQ(Generate({gait, startFoot, 2, 1, 0, 0}), 1);
                const float drift = WorstStanceDrift(gait, startFoot, 2);
                const int end = Bone(kSlotRoot)->anim.Keys().back().time;
                const float below = DeepestBelowGround(end) / b.height;
                std::printf("[ measure  ] %s %s %s: stance drift %.2f %% of leg, "
                            "lowest foot joint %.2f %% of height below the ground\n",
                            b.name, gait ? "run" : "walk", startFoot ? "right" : "left",
                            100.0f * drift, 100.0f * below);
                EXPECT_LT(drift, kDriftPerLeg);
                EXPECT_LT(below, kGroundPerHeight);
            }
        }
    }
}

// Forward swing of a limb's upper bone, degrees: its direction's angle from straight down
// towards the biped's forward direction.
float SwingDeg(cnode* upper, cnode* middle, int t, const cpoint3& forward) {
    const cpoint3 d = Normalize(middle->GetPosition(t) - upper->GetPosition(t));
    return std::atan2(DotProd(d, forward), -d.z) * 57.29578f;
}

TEST_F(GaitQuality, EachUpperArmSwingsAgainstTheThighOnItsSide) {
    const int sides[2][2] = {{kSlotRThigh, kSlotRUpperArm}, {kSlotLThigh, kSlotLUpperArm}};
    for (const Biped& b : kBipeds) {
        for (int gait : {kGaitWalk, kGaitRun}) {
            SCOPED_TRACE(std::string(b.name) + (gait ? " run" : " walk"));
            qv::ResetScene();
            ResetTool();
            Make(b);
            ASSERT_EQ(Generate({gait, 1, 1, 1, 0, 0}), 1);
            const cpoint3 fwd = Forward(0);
            int clear = 0;
            for (const ckey& k : Bone(kSlotRoot)->anim.Keys()) {
                for (const auto& side : sides) {
                    const float thigh = SwingDeg(Bone(side[0]), Bone(side[0] + 1), k.time, fwd);
                    const float arm = SwingDeg(Bone(side[1]), Bone(side[1] + 1), k.time, fwd);
                    if (std::fabs(thigh) < kClearSwingDeg) continue;
                    ++clear;
                    EXPECT_LT(thigh * arm, 0.0f) << "frame " << k.time << " thigh " << thigh
                                                 << " arm " << arm;
                }
            }
            EXPECT_GE(clear, 6);  // most keys have a leg clearly forward or back
        }
    }
}

// The upper arm swings back and forth: its swing at the keys spans more than 10 degrees.
TEST_F(GaitQuality, KneesBendForwardOnlyAndArmsReallySwing) {
    Make(kBipeds[0]);
    for (int gait : {kGaitWalk, kGaitRun}) {
        SCOPED_TRACE(gait);
        ASSERT_EQ(Generate({gait, 1, 1, 1, 0, 0}), 1);
        const cpoint3 fwd = Forward(0);
        float lo = 1e9f, hi = -1e9f;
        const int end = Bone(kSlotRoot)->anim.Keys().back().time;
        for (int t = 0; t <= end; ++t) {
            for (int thigh : {kSlotRThigh, kSlotLThigh}) {
                // The knee lies in front of the line from hip to ankle: a bent knee points
                // forward, never backward.
                const cpoint3 hip = Bone(thigh)->GetPosition(t);
                const cpoint3 knee = Bone(thigh + 1)->GetPosition(t);
                const cpoint3 ankle = Bone(thigh + 2)->GetPosition(t);
                const cpoint3 axis = Normalize(ankle - hip);
                const cpoint3 off = (knee - hip) - axis * DotProd(knee - hip, axis);
                EXPECT_GT(DotProd(off, fwd), -1e-3f * leg) << "frame " << t;
            }
            const float arm = SwingDeg(Bone(kSlotRUpperArm), Bone(kSlotRForearm), t, fwd);
            lo = std::min(lo, arm);
            hi = std::max(hi, arm);
        }
        EXPECT_GT(hi - lo, 10.0f);
        ASSERT_TRUE(theUndo.Undo());
    }
}

}  // namespace
}  // namespace pt
