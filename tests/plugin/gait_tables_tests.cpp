// The gait tables as data: the same times and steps in every bone table of a gait, steps that
// add up to the times, unit rotations, a cycle that ends in the pose it began with, and root
// positions that follow the root's deltas (a mistyped digit in either breaks the chain).
#include <gtest/gtest.h>

#include <cmath>

#include "Skeleton/Bip/BipBones.h"
#include "Skeleton/Bip/BipGaitTables.h"

namespace {

// Given rotations carry four decimals, so their norms are 1 within 1e-3. Given positions and
// deltas carry four decimals, each rounded by up to 5e-5, and already disagree with each other
// by 1e-4 (0.0151 against 0.015 + 0); 2.5e-4 lets that pass and catches a last digit off by
// three or more, or any other digit mistyped.
constexpr float kUnitTol = 1e-3f;
constexpr float kChainTol = 2.5e-4f;

float Norm(const cquat& q) { return std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w); }

TEST(GaitTables, EveryBoneSharesItsGaitsTimesAndTheStepsAddUpToThem) {
    for (int g = 0; g < kNumGaits; ++g) {
        const frame_t* root = gaitTables[g][0];
        EXPECT_EQ(root[0].time, 0);
        EXPECT_EQ(root[0].step, root[kGaitKeys].step) << "sample 0 follows the cycle's end";
        for (int f = 1; f < kGaitSamples; ++f)
            EXPECT_EQ(root[f].time - root[f - 1].time, root[f].step) << g << " sample " << f;
        for (int b = 1; b < kNumGaitBones; ++b) {
            for (int f = 0; f < kGaitSamples; ++f) {
                EXPECT_EQ(gaitTables[g][b][f].time, root[f].time) << g << " bone " << b;
                EXPECT_EQ(gaitTables[g][b][f].step, root[f].step) << g << " bone " << b;
            }
        }
    }
}

TEST(GaitTables, RotationsAreUnitAndTheCycleEndsWhereItBegan) {
    // Keyed rotations within 2 degrees of sample 0 at the cycle's end (the given rows end a
    // little off their start, the authored ones exactly on it).
    const float kEndDot = std::cos(2.0f * 3.14159265f / 180.0f / 2.0f);
    for (int g = 0; g < kNumGaits; ++g) {
        for (int b = 0; b < kNumGaitBones; ++b) {
            const frame_t* t = gaitTables[g][b];
            for (int f = 0; f < kGaitSamples; ++f) {
                EXPECT_NEAR(Norm(t[f].localRot), 1.0f, kUnitTol) << g << " bone " << b;
                EXPECT_NEAR(Norm(t[f].worldRot), 1.0f, kUnitTol) << g << " bone " << b;
            }
            const cquat& a = t[0].localRot;
            const cquat& e = t[kGaitKeys].localRot;
            EXPECT_GT(std::fabs(a.x * e.x + a.y * e.y + a.z * e.z + a.w * e.w), kEndDot)
                << g << " bone " << b;
        }
    }
}

TEST(GaitTables, RootPositionsFollowTheRootsDeltas) {
    for (int g = 0; g < kNumGaits; ++g) {
        const frame_t* root = gaitTables[g][0];
        for (int f = 1; f < kGaitSamples; ++f) {
            const cpoint3 chained = root[f - 1].worldPos + root[f].posDelta;
            EXPECT_NEAR(chained.x, root[f].worldPos.x, kChainTol) << g << " sample " << f;
            EXPECT_NEAR(chained.y, root[f].worldPos.y, kChainTol) << g << " sample " << f;
            EXPECT_NEAR(chained.z, root[f].worldPos.z, kChainTol) << g << " sample " << f;
        }
        // Only the root moves by deltas.
        for (int b = 1; b < kNumGaitBones; ++b)
            for (int f = 0; f < kGaitSamples; ++f)
                EXPECT_EQ(Length(gaitTables[g][b][f].posDelta), 0.0f) << g << " bone " << b;
    }
}

TEST(GaitTables, TheTablesListTheKeyedBonesInSlotOrderByGroup) {
    // Root, pelvis, right leg, left leg, spine links, neck and head, right arm, left arm:
    // within each group consecutive slots.
    EXPECT_EQ(kGaitSlots[0], kSlotRoot);
    EXPECT_EQ(kGaitSlots[kGaitRFoot], kSlotRFoot);
    EXPECT_EQ(kGaitSlots[kGaitLFoot], kSlotLFoot);
    for (int b = 1; b < kNumGaitBones; ++b) EXPECT_LT(kGaitSlots[b - 1], kGaitSlots[b]);
}

}  // namespace
