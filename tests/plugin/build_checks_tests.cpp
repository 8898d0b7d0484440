// The builder's internal checks: a missing root, hand or preview entry is reported through the
// host's assertion report and the operation stops without touching the preview list.
#include <gtest/gtest.h>

#include "build_fixture.h"
#include "quorvane/util.h"

namespace buildtest {
namespace {

class BuilderChecks : public testing::Test {
protected:
    void SetUp() override {
        ApplyCounts(Counts{});
        ResetBuilder();
    }
    void TearDown() override {
        DisposeBiped();
        ApplyCounts(Counts{});
    }
};

TEST_F(BuilderChecks, MissingRootIsReportedAndBuildsNothing) {
    const int before = NumAssertsReported();
    BuildLowerBody(nullptr);
    BuildUpperBody(nullptr);
    AttachPelvis(nullptr);
    AttachUpperBody(nullptr);
    ScaleLowerBody(nullptr, 8.0f);
    EXPECT_EQ(NumAssertsReported(), before + 5);
    EXPECT_EQ(bippreview.numNodes, 0);
    EXPECT_EQ(Bip_Lower[0], nullptr);
}

TEST_F(BuilderChecks, FingersWithoutHandsAreReportedAndNotMade) {
    cbone* root = CreateNewBone();
    const int before = NumAssertsReported();
    RebuildFingers(root);  // no upper body yet
    EXPECT_EQ(NumAssertsReported(), before + 1);
    EXPECT_EQ(Bip_RFinger[0], nullptr);
    EXPECT_EQ(bippreview.numNodes, 0);
    numFingers = 0;
    RebuildFingers(root);  // nothing to make: no check fires
    EXPECT_EQ(NumAssertsReported(), before + 1);
    root->DeleteThis();
}

TEST_F(BuilderChecks, SpineLinksWithoutSpineAreReported) {
    const int before = NumAssertsReported();
    RebuildSpineLinks();
    PlaceSpineLinks(8.0f);
    EXPECT_EQ(NumAssertsReported(), before + 2);
    EXPECT_EQ(Bip_Spine[0], nullptr);
    numSpines = 1;
    RebuildSpineLinks();  // one spine: no links are wanted
    EXPECT_EQ(NumAssertsReported(), before + 2);
}

TEST_F(BuilderChecks, ThrowingAwayABoneOutsideThePreviewIsReportedButStillDisposes) {
    cnode* holder = CreateNewBone();
    cnode* bones[2] = {CreateNewBone(), nullptr};
    holder->Attach(bones[0], 1);
    const int before = NumAssertsReported();
    ThrowAwayBone(bones, 0);
    EXPECT_EQ(NumAssertsReported(), before + 1);
    EXPECT_EQ(bones[0], nullptr);
    EXPECT_EQ(holder->NumChildren(), 0);
    holder->DeleteThis();
}

TEST_F(BuilderChecks, ClearingForgetsTheBipedButLeavesItsBones) {
    BuildBiped(cpoint3(0.0f, 0.0f, 0.0f));
    ASSERT_NE(createRoot, nullptr);
    cnode* hand = Bip_Upper[kUpperRHand];
    ClearBuilderState();
    EXPECT_EQ(createRoot, nullptr);
    EXPECT_EQ(Bip_Upper[kUpperRHand], nullptr);
    EXPECT_EQ(Bip_RToe[0], nullptr);
    EXPECT_EQ(Bip_Spine[0], nullptr);
    EXPECT_EQ(hand->NumChildren(), 5);  // the bones themselves stay: link 0 of five fingers
}

}  // namespace
}  // namespace buildtest
