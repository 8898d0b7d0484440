// The creation panel: fields brought into range and applied to the biped under construction,
// the colour swatches, picker and defaults buttons.
#include "create_fixture.h"
#include "resources/resource.h"

namespace createtest {
namespace {

TEST_F(CreationTool, PanelOpensShowingTheParameters) {
    EXPECT_EQ(Text(IDC_CREATE_NUM_SPINES), "4");
    EXPECT_EQ(Text(IDC_CREATE_NUM_FINGER_LINKS), "3");
    EXPECT_EQ(Text(IDC_CREATE_HEIGHT), "8.000");
}

TEST_F(CreationTool, CountAboveRangeIsClampedOnceThenLeftAsTyped) {
    BeginDragAt({0, 0, 0});
    EndDrag();
    cnode* link1 = PreviewBone("Bip01 Spine1");
    Type("Num Spines:", "9");
    EXPECT_EQ(numSpines, 5);
    EXPECT_EQ(Text(IDC_CREATE_NUM_SPINES), "5");
    EXPECT_EQ(bippreview.numNodes, BoneCount(5, 5, 3, 5, 3));
    ASSERT_NE(PreviewBone("Bip01 Spine4"), nullptr);

    // The same value again: nothing stored, nothing rebuilt, the edit keeps the typed text.
    cnode* link4 = PreviewBone("Bip01 Spine4");
    Type("Num Spines:", "9");
    EXPECT_EQ(numSpines, 5);
    EXPECT_EQ(Text(IDC_CREATE_NUM_SPINES), "9");
    EXPECT_EQ(PreviewBone("Bip01 Spine4"), link4);
    EXPECT_NE(link1, nullptr);
}

TEST_F(CreationTool, ZeroFingersRemovesThemAndZeroToesGivesOne) {
    BeginDragAt({0, 0, 0});
    EndDrag();
    Type("Num Fingers:", "0");
    EXPECT_EQ(numFingers, 0);
    EXPECT_EQ(PreviewBone("Bip01 R Finger0"), nullptr);
    EXPECT_EQ(Bip_Upper[kUpperRHand]->NumChildren(), 0);
    EXPECT_EQ(Bip_Upper[kUpperLHand]->NumChildren(), 0);

    Type("Num Toes:", "0");
    EXPECT_EQ(numToes, 1);
    EXPECT_EQ(Text(IDC_CREATE_NUM_TOES), "1");
    EXPECT_EQ(bippreview.numNodes, BoneCount(4, 0, 3, 1, 3));
}

TEST_F(CreationTool, HeightTakesItsSizeAndStaysWithinRange) {
    Type("Height:", "-12.5");
    EXPECT_FLOAT_EQ(height, 12.5f);
    EXPECT_EQ(Text(IDC_CREATE_HEIGHT), "12.500");
    Type("Height:", "0");
    EXPECT_FLOAT_EQ(height, 8.0f);
    EXPECT_EQ(Text(IDC_CREATE_HEIGHT), "8.000");
    Type("Height:", "20000");
    EXPECT_FLOAT_EQ(height, 9999.0f);
}

TEST_F(CreationTool, HeightChangeRescalesTheBipedUnderConstruction) {
    BeginDragAt({1, 2, 0});
    EndDrag();
    cnode* foot = PreviewBone("Bip01 R Foot");
    const float footDrop8 = foot->GetPosition(0).z;
    Type("Height:", "16", /*enter=*/true);
    // Positions scale about the root, which stands at z = 0: the drop doubles (float rounding).
    EXPECT_NEAR(foot->GetPosition(0).z, 2.0f * footDrop8, 1e-4f);
}

TEST_F(CreationTool, EnterAndLeavingTheFieldBothApplyIt) {
    Type("Num Finger Links:", "1", /*enter=*/true);
    EXPECT_EQ(numFingerLinks, 1);
    Type("Num Toe Links:", "2", /*enter=*/false);
    EXPECT_EQ(numToeLinks, 2);
}

TEST_F(CreationTool, CountsChangedAfterHandOverLeaveTheSceneBonesAlone) {
    BeginDragAt({0, 0, 0});
    EndDrag();
    Interface::Select(&bippreview);  // a click on the biped hands it over
    ASSERT_EQ(bippreview.committed, 1);
    cnode* pinky = Interface::FindNode("Bip01 R Finger4");
    ASSERT_NE(pinky, nullptr);
    const int sceneNodes = Interface::NumNodes();
    Type("Num Fingers:", "2");
    EXPECT_EQ(numFingers, 2);  // stored for the next biped
    EXPECT_EQ(Interface::FindNode("Bip01 R Finger4"), pinky) << "a scene bone was thrown away";
    EXPECT_EQ(Interface::NumNodes(), sceneNodes);
}

TEST_F(CreationTool, SwatchesPaintTheSideColours) {
    EXPECT_EQ(SwatchColour(IDC_CREATE_LEFT_COLOUR), 0xFF0000ul);   // blue as 0x00BBGGRR
    EXPECT_EQ(SwatchColour(IDC_CREATE_RIGHT_COLOUR), 0x00FF00ul);  // green
}

TEST_F(CreationTool, BipedDefaultsRestoreBlueAndGreenButKeepAlpha) {
    Press("Quorvane Defaults");
    const ccolor host = cbone().GetColor();
    EXPECT_FLOAT_EQ(leftColour.r, host.r);
    EXPECT_FLOAT_EQ(rightColour.g, host.g);
    leftColour.a = 0.25f;  // an alpha that only the host's defaults could have set
    Press("Biped Defaults");
    EXPECT_FLOAT_EQ(leftColour.b, 1.0f);
    EXPECT_FLOAT_EQ(leftColour.r, 0.0f);
    EXPECT_FLOAT_EQ(rightColour.g, 1.0f);
    EXPECT_FLOAT_EQ(leftColour.a, 0.25f);
    EXPECT_FLOAT_EQ(rightColour.a, host.a);
}

TEST_F(CreationTool, PickedColourRecoloursTheLeftSide) {
    BeginDragAt({0, 0, 0});
    EndDrag();
    auto type = [](const char* field, const char* text) {
        qv::ui::Action a;
        a.kind = qv::ui::Action::Kind::Type;
        a.control = field;
        a.text = text;
        return a;
    };
    driver.Push(type("Red:", "255"));
    driver.Push(type("Green:", "128"));
    driver.Push(type("Blue:", "0"));
    qv::ui::Action ok;
    ok.control = "OK";
    driver.Push(ok);
    Press("#1111");
    EXPECT_FLOAT_EQ(leftColour.r, 1.0f * 255 * 0.003921569f);
    EXPECT_NEAR(leftColour.g, 128.0f / 255.0f, 1e-6f);
    EXPECT_FLOAT_EQ(leftColour.b, 0.0f);
    const ccolor thigh = PreviewBone("Bip01 L Thigh")->GetColor();
    EXPECT_FLOAT_EQ(thigh.r, leftColour.r);
    EXPECT_FLOAT_EQ(thigh.g, leftColour.g);
    const ccolor rightThigh = PreviewBone("Bip01 R Thigh")->GetColor();
    EXPECT_FLOAT_EQ(rightThigh.g, 1.0f);
    EXPECT_FLOAT_EQ(rightThigh.r, 0.0f);
}

TEST_F(CreationTool, CancelledPickerChangesNothing) {
    qv::ui::Action cancel;
    cancel.control = "Cancel";
    driver.Push(cancel);
    Press("#1112");
    EXPECT_FLOAT_EQ(rightColour.g, 1.0f);
    EXPECT_FLOAT_EQ(rightColour.r, 0.0f);
}

}  // namespace
}  // namespace createtest
