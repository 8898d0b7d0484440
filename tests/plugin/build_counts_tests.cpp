// Changing the counts of spine links, fingers, toes and their links on a biped under
// construction: the preview list, the hierarchy and the places of the remade bones.
#include <random>
#include <string>

#include "Skeleton/BipTables.h"
#include "build_fixture.h"
#include "quorvane/util.h"

namespace buildtest {
namespace {

using BuilderCounts = BuiltBiped;

// Applies the counts the way the creation panel does for each field that changed.
void ChangeCounts(const Counts& next) {
    const Counts before = CurrentCounts();
    ApplyCounts(next);
    if (next.spines != before.spines) SetSpineCount();
    if (next.fingers != before.fingers || next.fingerLinks != before.fingerLinks)
        RefreshFingers(createRoot);
    if (next.toes != before.toes || next.toeLinks != before.toeLinks) RefreshToes(createRoot);
}

TEST_F(BuilderCounts, OneSpineHangsNeckAndClaviclesFromSpine) {
    Counts c;
    c.spines = 1;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    for (int i = 0; i < kNumSpineLinks; ++i) EXPECT_EQ(Bip_Spine[i], nullptr) << i;
    EXPECT_EQ(TopSpineLink(), Bip_Lower[kLowerSpine]);
    EXPECT_EQ(NameOf(PreviewBone("Bip01 R Clavicle")->GetParent()), "Bip01 Spine");
}

TEST_F(BuilderCounts, FiveSpinesChainAndSpaceEvenlyThenCollapseBack) {
    Counts c;
    c.spines = 5;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    const cpoint3 spine = PositionOf("Bip01 Spine");
    const cpoint3 neck = PositionOf("Bip01 Neck");
    // The neck keeps its default place while the links fill the way to it.
    EXPECT_POINT_NEAR(neck, cpoint3(-7.165387e-06f, 3.274531e-05f, 0.348909f) * kHeight + kRoot,
                      kPosTol);
    for (int i = 1; i <= 4; ++i)
        EXPECT_POINT_NEAR(PositionOf("Bip01 Spine" + std::to_string(i)),
                          spine + (neck - spine) * (static_cast<float>(i) / 5.0f), kPosTol)
            << i;
    c.spines = 1;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    EXPECT_POINT_NEAR(PositionOf("Bip01 Neck"), neck, kPosTol);
}

TEST_F(BuilderCounts, NoFingersLeavesTheHandsEmpty) {
    Counts c;
    c.fingers = 0;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    EXPECT_EQ(Bip_Upper[kUpperRHand]->NumChildren(), 0);
    EXPECT_EQ(Bip_Upper[kUpperLHand]->NumChildren(), 0);
    for (int b = 0; b < kDigitRecords; ++b) {
        EXPECT_EQ(Bip_RFinger[b], nullptr);
        EXPECT_EQ(Bip_LFinger[b], nullptr);
    }
}

TEST_F(BuilderCounts, NoToesIsAcceptedByTheBuilder) {
    Counts c;
    c.toes = 0;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    EXPECT_EQ(Bip_Lower[kLowerRFoot]->NumChildren(), 0);
    EXPECT_EQ(Bip_Lower[kLowerLFoot]->NumChildren(), 0);
}

TEST_F(BuilderCounts, OneLinkLeavesEachFingerAtItsLinkZeroPlace) {
    Counts c;
    c.fingerLinks = 1;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    const BipDigitTable& right = kRightFingerTables[kMaxDigits - 1];
    for (int f = 0; f < 5; ++f) {
        const std::string name = "Bip01 R Finger" + std::to_string(f);
        EXPECT_EQ(NameOf(Bip_RFinger[f]), name);  // compact index f × 1 + 0
        const BipDefaultRecord& link0 = right[3 * f];
        EXPECT_POINT_NEAR(PositionOf(name),
                          cpoint3(link0.pos[0], link0.pos[1], link0.pos[2]) * kHeight + kRoot,
                          kPosTol);
        EXPECT_EQ(PreviewBone(name + "1"), nullptr);
    }
}

TEST_F(BuilderCounts, TwoFingersUseTheirOwnTableAndKeepTheirSlots) {
    Counts c;
    c.fingers = 2;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);  // slots 49..54 on the right, 68..73 on the left
    // The two-finger hand spreads its fingers differently from the five-finger one.
    EXPECT_POINT_NEAR(PositionOf("Bip01 R Finger1"),
                      cpoint3(-0.12747f, -0.03020f, -0.04634f) * kHeight + kRoot, kPosTol);
    EXPECT_POINT_NEAR(PositionOf("Bip01 L Finger12"),
                      cpoint3(0.12747f + 2 * 0.00134f, -0.03020f - 2 * 0.00273f,
                              -0.04634f - 2 * 0.01340f) * kHeight + kRoot,
                      kPosTol);
}

TEST_F(BuilderCounts, RebuildAfterRescaleUsesTheStoredHeight) {
    height = 5.0f;
    SetBipedHeight(createRoot, height);
    Counts c;
    c.toes = 3;
    c.toeLinks = 2;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    const BipDefaultRecord& rec = kLeftToeTables[2][3 * 2 + 1];  // "Bip01 L Toe21"
    EXPECT_STREQ(rec.name, "Bip01 L Toe21");
    EXPECT_POINT_NEAR(PositionOf(rec.name),
                      cpoint3(rec.pos[0], rec.pos[1], rec.pos[2]) * 5.0f + kRoot, 1e-4f * 5.0f);
}

TEST_F(BuilderCounts, AnySequenceOfChangesKeepsListAndHierarchyWhole) {
    std::mt19937 rng(20240611);  // fixed seed: the same sequence on every run
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int assertsBefore = NumAssertsReported();
    for (int step = 0; step < 60; ++step) {
        Counts c = CurrentCounts();
        switch (pick(0, 4)) {
            case 0: c.spines = pick(1, 5); break;
            case 1: c.fingers = pick(0, 5); break;
            case 2: c.fingerLinks = pick(1, 3); break;
            case 3: c.toes = pick(1, 5); break;
            default: c.toeLinks = pick(1, 3); break;
        }
        ChangeCounts(c);
        SCOPED_TRACE("step " + std::to_string(step) + ": spines " + std::to_string(c.spines) +
                     ", fingers " + std::to_string(c.fingers) + "x" +
                     std::to_string(c.fingerLinks) + ", toes " + std::to_string(c.toes) + "x" +
                     std::to_string(c.toeLinks));
        ExpectDefaultHierarchy(c);
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(NumAssertsReported(), assertsBefore);
}

}  // namespace
}  // namespace buildtest
