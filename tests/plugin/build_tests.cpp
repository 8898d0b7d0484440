// The skeleton builder: where the bones of a fresh biped stand, how they hang, their colours and
// Idle rotations; and count changes on a biped under construction.
#include <algorithm>
#include <random>

#include "Skeleton/Bip/BipPoseTables.h"
#include "Skeleton/Bip/BipTables.h"
#include "plugin_support.h"
#include "quorvane/util.h"

namespace pt {
namespace {

// A biped freshly built at kRoot (height 8) with the counts of the module at load; its bones
// stay outside the scene and are disposed of afterwards, children first.
class BuiltBiped : public testing::Test {
protected:
    static constexpr float kHeight = 8.0f;
    // Products of table values and the height plus the root: a few ulps of the height.
    static constexpr float kPosTol = 1e-4f * kHeight;
    inline static const cpoint3 kRoot{3.0f, -2.0f, 1.0f};

    void SetUp() override {
        ApplyCounts({});
        ResetBuilder();
        BuildBiped(kRoot);
    }
    void TearDown() override {
        for (int i = bippreview.numNodes - 1; i >= 0; --i)
            if (bippreview.nodes[i] != nullptr) bippreview.nodes[i]->DeleteThis();
        ResetBuilder();
        ApplyCounts({});
    }
    static cpoint3 PositionOf(const std::string& name) {
        cnode* bone = PreviewBone(name);
        EXPECT_NE(bone, nullptr) << name;
        return bone == nullptr ? cpoint3{} : bone->GetPosition(GetAnimTime());
    }
    static cpoint3 TablePlace(const BipDefaultRecord& rec, float h = kHeight) {
        return cpoint3(rec.pos[0], rec.pos[1], rec.pos[2]) * h + kRoot;
    }
    // Every body record, and every digit record of five digits of three links.
    static std::vector<const BipDefaultRecord*> BodyAndDigitRecords() {
        std::vector<const BipDefaultRecord*> out;
        for (const BipDefaultRecord& rec : kLowerBodyTable) out.push_back(&rec);
        for (const BipDefaultRecord& rec : kUpperBodyTable) out.push_back(&rec);
        for (const auto* t :
             {&kRightFingerTables, &kLeftFingerTables, &kRightToeTables, &kLeftToeTables})
            for (const BipDefaultRecord& rec : (*t)[kMaxDigits - 1]) out.push_back(&rec);
        return out;
    }
};

// Applies the counts the way the creation panel does for each field that changed.
void ChangeCounts(const BipShape& next) {
    const BipShape before = CurrentCounts();
    ApplyCounts(next);
    if (next.numSpines != before.numSpines) SetSpineCount();
    if (next.numFingers != before.numFingers || next.numFingerLinks != before.numFingerLinks)
        RefreshFingers(createRoot);
    if (next.numToes != before.numToes || next.numToeLinks != before.numToeLinks)
        RefreshToes(createRoot);
}

// The parent-relative rotation world × Inverse(parentWorld).
cquat ParentRelative(cnode* bone) {
    const int t = GetAnimTime();
    cnode* parent = bone->GetParent();
    return parent == nullptr ? bone->GetRotation(t)
                             : bone->GetRotation(t) * Inverse(parent->GetRotation(t));
}

TEST_F(BuiltBiped, BonesStandAtHeightTimesTablePlusRootInTheDefaultHierarchy) {
    EXPECT_TRUE(PointNear(PositionOf("Bip01"), kRoot, kPosTol));
    for (const BipDefaultRecord* rec : BodyAndDigitRecords())
        EXPECT_TRUE(PointNear(PositionOf(rec->name), TablePlace(*rec), kPosTol)) << rec->name;
    ExpectDefaultHierarchy({});
}

// Values read straight off the default proportions, so that a slip in the generated tables (a
// step, a mirror, a link) shows.
TEST_F(BuiltBiped, PlacesMatchTheDefaultProportionsAtHeightEight) {
    const std::pair<const char*, cpoint3> places[] = {
        {"Bip01 R Finger42",
         {-0.12753f - 2 * 0.00134f, -0.02751f - 2 * 0.00273f, -0.04688f - 2 * 0.01340f}},
        {"Bip01 L Finger21", {0.12709f + 0.00188f, -0.04905f - 0.00382f, -0.04254f - 0.01875f}},
        {"Bip01 L Toe42", {0.02885f, -0.07967f - 2 * 0.01044f, -0.60989f}},
        {"Bip01 R Toe01", {-0.08105f, -0.07967f - 0.00824f, -0.60989f}},
        {"Bip01 L Hand", {0.1218123f, -0.03274749f, 0.009964927f}},
    };
    for (const auto& [name, place] : places)
        EXPECT_TRUE(PointNear(PositionOf(name), place * kHeight + kRoot, kPosTol)) << name;
    // Feet 0.5467 × 8 ≈ 4.37 below the root, the neck 0.3489 × 8 ≈ 2.79 above it (two decimals).
    EXPECT_NEAR(PositionOf("Bip01 L Foot").z - kRoot.z, -4.37f, 0.005f);
    EXPECT_NEAR(PositionOf("Bip01 R Foot").z - kRoot.z, -4.37f, 0.005f);
    EXPECT_NEAR(PositionOf("Bip01 Neck").z - kRoot.z, 2.79f, 0.005f);
    // Spine links divide spine to neck evenly.
    const cpoint3 spine = PositionOf("Bip01 Spine"), neck = PositionOf("Bip01 Neck");
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(PointNear(PositionOf("Bip01 Spine" + std::to_string(i)),
                              spine + (neck - spine) * (i / 4.0f), kPosTol));
    // The root's x axis points along -y: the biped faces -y with its left at +x.
    const cmatrix4 m = MatrixFromQuat(createRoot->GetRotation(GetAnimTime()));
    EXPECT_TRUE(PointNear(m.GetRow(0), {0.0f, -1.0f, 0.0f}, 1e-5f));
    EXPECT_TRUE(PointNear(m.GetRow(2), {0.0f, 0.0f, 1.0f}, 1e-5f));
}

TEST_F(BuiltBiped, LimbsTakeTheirSideColourAndTheCentreKeepsTheBoneColour) {
    cbone* fresh = CreateNewBone();
    const ccolor boneColour = fresh->GetColor();
    fresh->DeleteThis();
    for (int s = 0; s < kNumSlots; ++s) {
        if (!IsSlotPresent(s, {})) continue;
        const SlotSide side = GetSlotSide(s);
        const ccolor want = side == SlotSide::Right  ? rightColour
                            : side == SlotSide::Left ? leftColour
                                                     : boneColour;
        EXPECT_TRUE(SameColour(PreviewBone(FullName(s))->GetColor(), want)) << FullName(s);
    }
}

// The Idle row of the body pose table is what the builder's tables give: rows to five decimals,
// the tables to about seven; a wrong convention (product order, transposed matrix) is off by
// tenths.
TEST_F(BuiltBiped, ParentRelativeRotationsAreTheIdlePose) {
    const BipBodyPose& idle = bodyPoseTables[kBodyPoseIdle];
    int compared = 0;
    for (int s = 0; s < kNumSlots; ++s) {
        // The thumbs share one rotation with the other fingers, while the Idle row turns the
        // thumb 10 degrees about y: they are checked against finger 1 instead.
        if (s == kSlotRFinger0 || s == kSlotLFinger0) {
            EXPECT_TRUE(SameRotation(ParentRelative(PreviewBone(FullName(s))),
                                     ParentRelative(PreviewBone(FullName(s + 3))), 2e-3f))
                << FullName(s);
            continue;
        }
        if (!IsSlotPresent(s, {})) continue;
        EXPECT_TRUE(SameRotation(ParentRelative(PreviewBone(FullName(s))), idle[s].rot, 2e-3f))
            << FullName(s);
        ++compared;
    }
    EXPECT_EQ(compared, ExpectedBoneCount({}) - 2);
}

TEST_F(BuiltBiped, RescalingMovesTheBonesAndKeepsRotations) {
    cnode* lHand = PreviewBone("Bip01 L Hand");
    const cquat handBefore = lHand->GetRotation(GetAnimTime());
    SetBipedHeight(createRoot, 3.5f);
    for (const BipDefaultRecord* rec : BodyAndDigitRecords())
        EXPECT_TRUE(PointNear(PositionOf(rec->name), TablePlace(*rec, 3.5f), kPosTol)) << rec->name;
    const cpoint3 spine = PositionOf("Bip01 Spine"), neck = PositionOf("Bip01 Neck");
    EXPECT_TRUE(PointNear(PositionOf("Bip01 Spine2"), spine + (neck - spine) * 0.5f, kPosTol));
    EXPECT_TRUE(SameRotation(lHand->GetRotation(GetAnimTime()), handBefore, 1e-5f));
}

// --- count changes -----------------------------------------------------------------------------

using BuilderCounts = BuiltBiped;

TEST_F(BuilderCounts, FiveSpinesChainAndSpaceEvenlyThenOneHangsNeckAndClaviclesFromSpine) {
    BipShape c;
    c.numSpines = 5;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    const cpoint3 spine = PositionOf("Bip01 Spine");
    const cpoint3 neck = PositionOf("Bip01 Neck");
    // The neck keeps its default place while the links fill the way to it.
    EXPECT_TRUE(PointNear(neck, cpoint3(-7.165387e-06f, 3.274531e-05f, 0.348909f) * kHeight + kRoot,
                          kPosTol));
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(PointNear(PositionOf("Bip01 Spine" + std::to_string(i)),
                              spine + (neck - spine) * (i / 5.0f), kPosTol));
    c.numSpines = 1;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    EXPECT_TRUE(PointNear(PositionOf("Bip01 Neck"), neck, kPosTol));
    for (cnode* link : Bip_Spine) EXPECT_EQ(link, nullptr);
    EXPECT_EQ(TopSpineLink(), Bip_Lower[kLowerSpine]);
}

TEST_F(BuilderCounts, NoFingersOrToesLeaveHandsAndFeetEmpty) {
    BipShape c;
    c.numFingers = 0;
    c.numToes = 0;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    for (cnode* end : {Bip_Upper[kUpperRHand], Bip_Upper[kUpperLHand], Bip_Lower[kLowerRFoot],
                       Bip_Lower[kLowerLFoot]})
        EXPECT_EQ(end->NumChildren(), 0) << end->GetName();
    EXPECT_TRUE(
        std::all_of(std::begin(Bip_RFinger), std::end(Bip_RFinger), [](cnode* n) { return !n; }));
}

TEST_F(BuilderCounts, FewerLinksAndFingersTakeTheirOwnTablePlaces) {
    BipShape c;
    c.numFingerLinks = 1;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);
    for (int f = 0; f < 5; ++f) {  // each finger at its link-0 place
        const BipDefaultRecord& link0 = kRightFingerTables[kMaxDigits - 1][3 * f];
        EXPECT_EQ(NameOf(Bip_RFinger[f]), link0.name);  // compact index f × 1 + 0
        EXPECT_TRUE(PointNear(PositionOf(link0.name), TablePlace(link0), kPosTol)) << link0.name;
    }
    c.numFingers = 2;
    c.numFingerLinks = 3;
    ChangeCounts(c);
    ExpectDefaultHierarchy(c);  // slots 49..54 on the right, 68..73 on the left
    // The two-finger hand spreads its fingers differently from the five-finger one.
    EXPECT_TRUE(PointNear(PositionOf("Bip01 R Finger1"),
                          cpoint3(-0.12747f, -0.03020f, -0.04634f) * kHeight + kRoot, kPosTol));
    EXPECT_TRUE(PointNear(
        PositionOf("Bip01 L Finger12"),
        cpoint3(0.12747f + 2 * 0.00134f, -0.03020f - 2 * 0.00273f, -0.04634f - 2 * 0.01340f) *
                kHeight +
            kRoot,
        kPosTol));
}

TEST_F(BuilderCounts, RebuildAfterRescaleUsesTheStoredHeight) {
    height = 5.0f;
    SetBipedHeight(createRoot, height);
    ChangeCounts({.numToes = 3, .numToeLinks = 2});
    ExpectDefaultHierarchy({.numToes = 3, .numToeLinks = 2});
    const BipDefaultRecord& rec = kLeftToeTables[2][3 * 2 + 1];
    EXPECT_STREQ(rec.name, "Bip01 L Toe21");
    EXPECT_TRUE(PointNear(PositionOf(rec.name), TablePlace(rec, 5.0f), 1e-4f * 5.0f));
}

TEST_F(BuilderCounts, AnySequenceOfChangesKeepsListAndHierarchyWhole) {
    std::mt19937 rng(20240611);  // fixed seed: the same sequence on every run
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int assertsBefore = NumAssertsReported();
    for (int step = 0; step < 60; ++step) {
        BipShape c = CurrentCounts();
        switch (pick(0, 4)) {
            case 0: c.numSpines = pick(1, 5); break;
            case 1: c.numFingers = pick(0, 5); break;
            case 2: c.numFingerLinks = pick(1, 3); break;
            case 3: c.numToes = pick(1, 5); break;
            default: c.numToeLinks = pick(1, 3); break;
        }
        ChangeCounts(c);
        SCOPED_TRACE("step " + std::to_string(step) + ": spines " + std::to_string(c.numSpines) +
                     ", fingers " + std::to_string(c.numFingers) + "x" +
                     std::to_string(c.numFingerLinks) + ", toes " + std::to_string(c.numToes) +
                     "x" + std::to_string(c.numToeLinks));
        ExpectDefaultHierarchy(c);
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(NumAssertsReported(), assertsBefore);
}

}  // namespace
}  // namespace pt
