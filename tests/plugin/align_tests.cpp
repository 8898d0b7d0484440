// "Align" on a biped of the scene: the root keyed at the current time so that a bone returns
// to where it stood at another frame, on the chosen components only.
#include "plugin_support.h"

namespace pt {
namespace {

constexpr float kAlignTol = 1e-4f;  // units at height 8: world placements through two keys

class Aligning : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        MakeBiped();
        ASSERT_EQ(Open(Node("Bip01 R Foot")), 1);
        // The root moves off by (1, 2, 0.5) and turns 30° about z between frames 0 and 20.
        root = bipani.bones[kSlotRoot];
        Interface::SetAnimOn(1);
        root->SetPosition(20, root->GetPosition(0) + cpoint3{1.0f, 2.0f, 0.5f});
        root->SetRotation(20, root->GetRotation(0) * QuatFromAngleAxis(30.0f, {0.0f, 0.0f, 1.0f}));
        Interface::SetAnimOn(0);
        Interface::SetAnimTime(20);
    }
    cnode* root = nullptr;
};

// Only "Pos Y": the root moves along y by the foot's y displacement; x and z stay.
TEST_F(Aligning, OnePositionAxisMovesTheRootAlongThatAxisOnly) {
    cnode* foot = bipani.bones[kSlotRFoot];
    const cpoint3 rootBefore = root->GetPosition(20);
    const float dy = foot->GetPosition(0).y - foot->GetPosition(20).y;
    bipani.Align(kSlotRFoot, 0, 0, 1, 0, 0, 0, 0);
    const cpoint3 rootAfter = root->GetPosition(20);
    EXPECT_TRUE(PointNear(rootAfter, {rootBefore.x, rootBefore.y + dy, rootBefore.z}, kAlignTol));
    EXPECT_NEAR(foot->GetPosition(20).y, foot->GetPosition(0).y, kAlignTol);
    EXPECT_EQ(NewestLevelName(), "Biped Align");
    EXPECT_EQ(Interface::IsAnimOn(), 0);
}

// The root chosen as the bone takes back its frame-0 placement on every checked component.
TEST_F(Aligning, TheRootAlignedToItselfReturnsToTheFrame) {
    bipani.Align(kSlotRoot, 0, 1, 1, 1, 1, 1, 1);
    EXPECT_TRUE(PointNear(root->GetPosition(20), root->GetPosition(0), kAlignTol));
    EXPECT_TRUE(SameRotation(root->GetRotation(20), root->GetRotation(0), kAlignTol));
}

// The same frame, no component, or a slot the biped lacks: nothing at all happens; a bone that
// has not moved gets the root an extra key and no visible change.
TEST_F(Aligning, RefusalsAreSilentAndAnUnmovedBoneOnlyAddsAKey) {
    const auto before = AllKeys();
    const int levels = theUndo.NumLevels();
    bipani.Align(kSlotRFoot, 20, 1, 1, 1, 1, 1, 1);
    bipani.Align(kSlotRFoot, 0, 0, 0, 0, 0, 0, 0);
    bipani.Align(kNumSlots, 0, 1, 1, 1, 1, 1, 1);
    bipani.Align(-1, 0, 1, 1, 1, 1, 1, 1);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    EXPECT_EQ(theUndo.NumLevels(), levels);
    // Past the last key nothing moves: frame 25 seen from 30.
    Interface::SetAnimTime(30);
    const cpoint3 p = root->GetPosition(30);
    const cquat q = root->GetRotation(30);
    bipani.Align(kSlotRFoot, 25, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(root->anim.NumKeys(), 3);
    EXPECT_TRUE(PointNear(root->GetPosition(30), p, kAlignTol));
    EXPECT_TRUE(SameRotation(root->GetRotation(30), q, kAlignTol));
}

}  // namespace
}  // namespace pt
