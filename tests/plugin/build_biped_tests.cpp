// A biped freshly built by the skeleton builder: where its bones stand, how they hang, the
// order of the preview list, their colours and their parent-relative rotations.
#include <algorithm>
#include <cmath>
#include <string>

#include "Skeleton/BipPoseTables.h"
#include "Skeleton/BipTables.h"
#include "build_fixture.h"
#include "quorvane/util.h"

namespace buildtest {
namespace {

cpoint3 TablePlace(const BipDefaultRecord& rec, float h, const cpoint3& root) {
    return cpoint3(rec.pos[0], rec.pos[1], rec.pos[2]) * h + root;
}

TEST_F(BuiltBiped, BodyBonesStandAtHeightTimesTablePlusRoot) {
    EXPECT_POINT_NEAR(PositionOf("Bip01"), kRoot, kPosTol);
    for (const BipDefaultRecord& rec : kLowerBodyTable)
        EXPECT_POINT_NEAR(PositionOf(rec.name), TablePlace(rec, kHeight, kRoot), kPosTol)
            << rec.name;
    for (const BipDefaultRecord& rec : kUpperBodyTable)
        EXPECT_POINT_NEAR(PositionOf(rec.name), TablePlace(rec, kHeight, kRoot), kPosTol)
            << rec.name;
}

TEST_F(BuiltBiped, FingersAndToesStandAtTheirTablePlaces) {
    for (const auto* tables : {&kRightFingerTables, &kLeftFingerTables, &kRightToeTables,
                               &kLeftToeTables}) {
        const BipDigitTable& table = (*tables)[kMaxDigits - 1];  // five digits of three links
        for (const BipDefaultRecord& rec : table)
            EXPECT_POINT_NEAR(PositionOf(rec.name), TablePlace(rec, kHeight, kRoot), kPosTol)
                << rec.name;
    }
}

// Values read straight off the default proportions: the outermost finger and toe tips and a
// hand, so that a slip in the generated tables (a step, a mirror, a link) shows.
TEST_F(BuiltBiped, DigitTipsMatchTheDefaultProportions) {
    const cpoint3 rFinger42 = cpoint3(-0.12753f - 2 * 0.00134f, -0.02751f - 2 * 0.00273f,
                                      -0.04688f - 2 * 0.01340f);
    EXPECT_POINT_NEAR(PositionOf("Bip01 R Finger42"), rFinger42 * kHeight + kRoot, kPosTol);
    const cpoint3 lFinger21(0.12709f + 0.00188f, -0.04905f - 0.00382f, -0.04254f - 0.01875f);
    EXPECT_POINT_NEAR(PositionOf("Bip01 L Finger21"), lFinger21 * kHeight + kRoot, kPosTol);
    const cpoint3 lToe42(0.02885f, -0.07967f - 2 * 0.01044f, -0.60989f);
    EXPECT_POINT_NEAR(PositionOf("Bip01 L Toe42"), lToe42 * kHeight + kRoot, kPosTol);
    const cpoint3 rToe01(-0.08105f, -0.07967f - 0.00824f, -0.60989f);
    EXPECT_POINT_NEAR(PositionOf("Bip01 R Toe01"), rToe01 * kHeight + kRoot, kPosTol);
    const cpoint3 lHand(0.1218123f, -0.03274749f, 0.009964927f);
    EXPECT_POINT_NEAR(PositionOf("Bip01 L Hand"), lHand * kHeight + kRoot, kPosTol);
}

TEST_F(BuiltBiped, FeetBelowAndNeckAboveTheRoot) {
    // At height 8: feet 0.5467 × 8 ≈ 4.37 below the root, neck 0.3489 × 8 ≈ 2.79 above it.
    const float kReadTol = 0.005f;  // the figures are given to two decimals
    EXPECT_NEAR(PositionOf("Bip01 L Foot").z - kRoot.z, -4.37f, kReadTol);
    EXPECT_NEAR(PositionOf("Bip01 R Foot").z - kRoot.z, -4.37f, kReadTol);
    EXPECT_NEAR(PositionOf("Bip01 Neck").z - kRoot.z, 2.79f, kReadTol);
}

TEST_F(BuiltBiped, SpineLinksDivideSpineToNeckEvenly) {
    const cpoint3 spine = PositionOf("Bip01 Spine");
    const cpoint3 neck = PositionOf("Bip01 Neck");
    const char* links[] = {"Bip01 Spine1", "Bip01 Spine2", "Bip01 Spine3"};
    for (int i = 0; i < 3; ++i)
        EXPECT_POINT_NEAR(PositionOf(links[i]),
                          spine + (neck - spine) * (static_cast<float>(i + 1) / 4.0f), kPosTol)
            << links[i];
    EXPECT_EQ(PreviewBone("Bip01 Spine4"), nullptr);
}

TEST_F(BuiltBiped, HangsInTheDefaultHierarchy) { ExpectDefaultHierarchy(Counts{}); }

TEST_F(BuiltBiped, PreviewListHoldsRootBodySpineFingersToesInOrder) {
    ASSERT_EQ(bippreview.numNodes, 1 + 8 + 10 + 3 + 30 + 30);
    EXPECT_EQ(bippreview.nodes[0], createRoot);
    EXPECT_EQ(NameOf(bippreview.nodes[0]), "Bip01");
    int i = 1;
    for (const BipDefaultRecord& rec : kLowerBodyTable)
        EXPECT_EQ(NameOf(bippreview.nodes[i++]), rec.name);
    for (const BipDefaultRecord& rec : kUpperBodyTable)
        EXPECT_EQ(NameOf(bippreview.nodes[i++]), rec.name);
    for (const char* name : {"Bip01 Spine1", "Bip01 Spine2", "Bip01 Spine3"})
        EXPECT_EQ(NameOf(bippreview.nodes[i++]), name);
    // Right and left alternate by compact index: finger f, link l.
    for (const char* stem : {"Finger", "Toe"})
        for (int f = 0; f < 5; ++f)
            for (int l = 0; l < 3; ++l) {
                const std::string suffix =
                    std::string(stem) + std::to_string(f) + (l > 0 ? std::to_string(l) : "");
                EXPECT_EQ(NameOf(bippreview.nodes[i++]), "Bip01 R " + suffix);
                EXPECT_EQ(NameOf(bippreview.nodes[i++]), "Bip01 L " + suffix);
            }
    EXPECT_EQ(i, bippreview.numNodes);
}

TEST_F(BuiltBiped, ArraysHoldTheBonesBySlotRelation) {
    EXPECT_EQ(NameOf(Bip_Lower[kLowerSpine]), "Bip01 Spine");
    EXPECT_EQ(NameOf(Bip_Lower[kLowerRFoot]), "Bip01 R Foot");
    EXPECT_EQ(NameOf(Bip_Upper[kUpperLHand]), "Bip01 L Hand");
    EXPECT_EQ(NameOf(Bip_Upper[kUpperRHand]), "Bip01 R Hand");
    EXPECT_EQ(NameOf(Bip_Spine[0]), "Bip01 Spine1");
    EXPECT_EQ(Bip_Spine[3], nullptr);
    EXPECT_EQ(NameOf(Bip_RFinger[3 * 2 + 1]), "Bip01 R Finger21");
    EXPECT_EQ(NameOf(Bip_LToe[3 * 4 + 2]), "Bip01 L Toe42");
    EXPECT_EQ(TopSpineLink(), Bip_Spine[2]);
}

TEST_F(BuiltBiped, LimbsTakeTheirSideColourAndTheCentreKeepsTheBoneColour) {
    auto same = [](const ccolor& a, const ccolor& b) {
        return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
    };
    cbone* fresh = CreateNewBone();
    const ccolor boneColour = fresh->GetColor();
    fresh->DeleteThis();
    for (int s = 0; s < kNumSlots; ++s) {
        if (!SlotPresent(s, Counts{})) continue;
        cnode* bone = PreviewBone(FullName(s));
        ASSERT_NE(bone, nullptr) << FullName(s);
        const bool right = (s >= 2 && s <= 19) || (s >= 45 && s <= 63);
        const bool left = (s >= 20 && s <= 37) || (s >= 64 && s <= 82);
        const ccolor expected = right ? rightColour : (left ? leftColour : boneColour);
        EXPECT_TRUE(same(bone->GetColor(), expected)) << FullName(s);
    }
}

// The parent-relative rotation world × Inverse(parentWorld), compared with a row up to the
// sign of the whole quaternion.
float QuatDistanceUpToSign(const cquat& a, const cquat& b) {
    const float sign = DotProd(a, b) < 0.0f ? -1.0f : 1.0f;
    return std::max({std::fabs(a.x - sign * b.x), std::fabs(a.y - sign * b.y),
                     std::fabs(a.z - sign * b.z), std::fabs(a.w - sign * b.w)});
}

cquat ParentRelative(cnode* bone) {
    const int t = GetAnimTime();
    const cquat world = bone->GetRotation(t);
    cnode* parent = bone->GetParent();
    return parent == nullptr ? world : world * Inverse(parent->GetRotation(t));
}

// The thumbs share one rotation with the other fingers in the builder's tables, while the
// "Idle" row turns the thumb 10 degrees about y; they are checked against finger 1 instead.
bool IsThumb(int s) { return s == kSlotRFinger0 || s == kSlotLFinger0; }

TEST_F(BuiltBiped, ParentRelativeRotationsAreTheIdlePose) {
    // Table rows are given to five decimals and the tables' rotations to about seven; 2e-3
    // covers both, while a wrong convention (product order, transposed matrix) is off by
    // tenths.
    const float kPoseTol = 2e-3f;
    const BipBodyPose& idle = bodyPoseTables[kBodyPoseIdle];
    int compared = 0;
    for (int s = 0; s < kNumSlots; ++s) {
        if (IsThumb(s) || !SlotPresent(s, Counts{})) continue;
        cnode* bone = PreviewBone(FullName(s));
        ASSERT_NE(bone, nullptr) << FullName(s);
        const cquat rel = ParentRelative(bone);
        const cquat& row = idle[s].rot;
        EXPECT_LT(QuatDistanceUpToSign(rel, row), kPoseTol)
            << FullName(s) << ": (" << rel.x << ", " << rel.y << ", " << rel.z << ", " << rel.w
            << ") vs (" << row.x << ", " << row.y << ", " << row.z << ", " << row.w << ")";
        ++compared;
    }
    EXPECT_EQ(compared, ExpectedBoneCount(Counts{}) - 2);
}

TEST_F(BuiltBiped, ThumbsTurnLikeTheOtherFingers) {
    const float kShareTol = 2e-3f;  // the finger tables share one rotation per side
    for (const char* side : {"R", "L"}) {
        const std::string prefix = std::string("Bip01 ") + side + " Finger";
        const cquat thumb = ParentRelative(PreviewBone(prefix + "0"));
        const cquat index = ParentRelative(PreviewBone(prefix + "1"));
        EXPECT_LT(QuatDistanceUpToSign(thumb, index), kShareTol) << side;
    }
}

TEST_F(BuiltBiped, RootTurnsAQuarterAboutZ) {
    // The root's x axis points along -y of the scene: the biped faces -y with its left at +x.
    const cmatrix4 m = MatrixFromQuat(createRoot->GetRotation(GetAnimTime()));
    EXPECT_POINT_NEAR(m.GetRow(0), cpoint3(0.0f, -1.0f, 0.0f), 1e-5f);
    EXPECT_POINT_NEAR(m.GetRow(2), cpoint3(0.0f, 0.0f, 1.0f), 1e-5f);
}

TEST_F(BuiltBiped, RescalingMovesTheBonesAndKeepsRotations) {
    const float kNewHeight = 3.5f;
    cnode* lHand = PreviewBone("Bip01 L Hand");
    const cquat handBefore = lHand->GetRotation(GetAnimTime());
    SetBipedHeight(createRoot, kNewHeight);
    for (const BipDefaultRecord& rec : kLowerBodyTable)
        EXPECT_POINT_NEAR(PositionOf(rec.name), TablePlace(rec, kNewHeight, kRoot), kPosTol)
            << rec.name;
    for (const BipDefaultRecord& rec : kRightToeTables[kMaxDigits - 1])
        EXPECT_POINT_NEAR(PositionOf(rec.name), TablePlace(rec, kNewHeight, kRoot), kPosTol)
            << rec.name;
    const cpoint3 spine = PositionOf("Bip01 Spine");
    const cpoint3 neck = PositionOf("Bip01 Neck");
    EXPECT_POINT_NEAR(PositionOf("Bip01 Spine2"), spine + (neck - spine) * 0.5f, kPosTol);
    EXPECT_LT(QuatDistanceUpToSign(lHand->GetRotation(GetAnimTime()), handBefore), 1e-5f);
}

}  // namespace
}  // namespace buildtest
