// Drag creation and the hand-over: the biped grows with the drag, keeps its height at the
// release, is cancelled by a stop with the button held, and reaches the scene under the first
// free prefix with its joint limits.
#include "Skeleton/BipJointLimits.h"
#include "create_fixture.h"
#include "resources/resource.h"

namespace createtest {
namespace {

// Tolerance for positions compared after scaling by the height (float rounding at height 8).
constexpr float kPosTol = 1e-4f;

TEST_F(CreationTool, BeginDragPutsOnlyThePreviewNodeIntoTheScene) {
    BeginDragAt({2, 3, 0});
    EXPECT_EQ(Interface::NumNodes(), 1);
    EXPECT_EQ(Interface::GetNodeAt(0), &bippreview);
    EXPECT_STREQ(bippreview.GetName(), "Biped");
    EXPECT_EQ(bippreview.numNodes, BoneCount(4, 5, 3, 5, 3));
    const cpoint3 root = createRoot->GetPosition(0);
    EXPECT_NEAR(root.x, 2.0f, kPosTol);
    EXPECT_NEAR(root.y, 3.0f, kPosTol);
}

TEST_F(CreationTool, FirstDragWithoutMotionKeepsTheDefaultHeight) {
    BeginDragAt({0, 0, 0});
    EndDrag();
    EXPECT_FLOAT_EQ(height, 8.0f);
    EXPECT_EQ(Text(IDC_CREATE_HEIGHT), "8.000");
}

TEST_F(CreationTool, DraggedHeightIsTheSizeOfTheSum) {
    BeginDragAt({0, 0, 0});
    DragTo(-5.0f, 1.5f);
    EXPECT_FLOAT_EQ(dragHeight, 3.5f);
    EXPECT_EQ(Text(IDC_CREATE_HEIGHT), "3.500");
    EXPECT_FLOAT_EQ(height, 8.0f) << "the stored height changes only at the release";
    DragTo(0.0f, 0.0f);
    EXPECT_FLOAT_EQ(dragHeight, 8.0f);
    DragTo(4.0f);
    EndDrag();
    EXPECT_FLOAT_EQ(height, 4.0f);
}

TEST_F(CreationTool, ReleaseWithoutMotionTakesTheLastDraggedHeight) {
    BeginDragAt({0, 0, 0});
    DragTo(6.0f);
    EndDrag();
    BeginDragAt({5, 0, 0});
    EndDrag();
    EXPECT_FLOAT_EQ(height, 6.0f);
    // At height 6 the feet stand 6 × 0.5467 below the root.
    EXPECT_NEAR(PreviewBone("Bip01 L Foot")->GetPosition(0).z, -6.0f * 0.5466958f, kPosTol * 6);
}

TEST_F(CreationTool, SecondDragHandsTheFirstBipedOver) {
    BeginDragAt({0, 0, 0});
    EndDrag();
    cnode* firstRoot = createRoot;
    BeginDragAt({10, 0, 0});
    EXPECT_STREQ(firstRoot->GetName(), "Bip01");
    EXPECT_NE(Interface::FindNode("Bip01 L Thigh"), nullptr);
    EXPECT_NE(createRoot, firstRoot);
    EXPECT_STREQ(createRoot->GetName(), "Bip01") << "the new one waits under its default name";
    EXPECT_EQ(Interface::NumSelNodes(), 0);
    bip.Done();
    EXPECT_STREQ(createRoot->GetName(), "Bip02");
    EXPECT_NE(Interface::FindNode("Bip02 R Finger42"), nullptr);
    EXPECT_EQ(Interface::GetSelNode(), createRoot) << "closing the panel selects the new root";
}

TEST_F(CreationTool, HandOverGivesJointLimitsToClassedBones) {
    BeginDragAt({0, 0, 0});
    EndDrag();
    bip.Done();
    cnode* calf = Interface::FindNode("Bip01 R Calf");
    ASSERT_NE(calf, nullptr);
    EXPECT_EQ(calf->GetIKInfo().dof, 1);
    EXPECT_FLOAT_EQ(calf->GetIKInfo().max.z, 180.0f);
    cnode* thigh = Interface::FindNode("Bip01 R Thigh");
    EXPECT_EQ(thigh->GetIKInfo().dof, 0) << "thighs have no joint class";
}

TEST_F(CreationTool, SelectingThePreviewNodeHandsOverWithoutSelectingTheRoot) {
    BeginDragAt({0, 0, 0});
    EndDrag();
    Interface::Select(&bippreview);
    EXPECT_EQ(bippreview.committed, 1);
    EXPECT_FALSE(qv::InScene(&bippreview));
    EXPECT_NE(Interface::FindNode("Bip01 Head"), nullptr);
    // The preview node left the scene (and with it the selection); the tool selects nothing.
    for (int i = 0; i < Interface::NumSelNodes(); ++i)
        EXPECT_NE(Interface::GetSelNode(i), createRoot);
    EXPECT_EQ(createRoot->GetFlags() & QV_FLAG_SELECTED, 0u);
}

TEST_F(CreationTool, StopWithTheButtonHeldCancelsTheBiped) {
    qv::ui::SetLeftButtonDown(true);
    BeginDragAt({0, 0, 0});
    DragTo(5.0f);
    EXPECT_EQ(Stop(), 1);
    qv::ui::SetLeftButtonDown(false);
    EXPECT_EQ(Interface::NumNodes(), 0);
    EXPECT_EQ(createRoot, nullptr);
    EXPECT_EQ(bippreview.numNodes, 0);

    BeginDragAt({0, 0, 0});
    EXPECT_EQ(bippreview.numNodes, BoneCount(4, 5, 3, 5, 3));
}

TEST_F(CreationTool, StopAfterTheReleaseKeepsTheBiped) {
    BeginDragAt({0, 0, 0});
    EndDrag();
    qv::ui::SetLeftButtonDown(false);
    EXPECT_EQ(Stop(), 0);
    EXPECT_NE(createRoot, nullptr);
    bip.Done();
    EXPECT_NE(Interface::FindNode("Bip01"), nullptr);
}

TEST_F(CreationTool, ClosingWithoutABipedSelectsNothing) {
    bip.Done();
    EXPECT_EQ(Interface::NumNodes(), 0);
    EXPECT_EQ(Interface::NumSelNodes(), 0);
    EXPECT_EQ(bippreview.committed, 1);
}

}  // namespace
}  // namespace createtest
