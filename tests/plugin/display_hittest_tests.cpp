// The modify tool's hit-test callback: picks are the host's; a click that selects another bone
// of the bound biped keeps the binding, any other click lets the next Init rebind.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "Skeleton/BipAnim.h"
#include "Skeleton/BipDisplay.h"
#include "Skeleton/BipGlobals.h"
#include "qvcore/host.h"
#include "qvplatform/gl.h"
#include "quorvane/callbacks.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"

namespace {

constexpr int kW = 200, kH = 150;  // pixels
constexpr int kRadius = 4;         // pick radius, pixels

// Two small bipeds side by side: Bip01 at x = -4 (root, pelvis, spine up the z axis) and Bip02
// at x = +4 (root, pelvis).
class BipedClicks : public testing::Test {
protected:
    void SetUp() override {
        qv::ResetScene();
        root1_ = Bone("Bip01", nullptr, {-4, 0, 0});
        pelvis1_ = Bone("Bip01 Pelvis", root1_, {-4, 0, 3});
        spine1_ = Bone("Bip01 Spine", pelvis1_, {-4, 0, 6});
        root2_ = Bone("Bip02", nullptr, {4, 0, 0});
        pelvis2_ = Bone("Bip02 Pelvis", root2_, {4, 0, 3});
        for (cnode*& b : bipani.bones) b = nullptr;
        bipani.bones[kSlotRoot] = root1_;
        bipani.bones[kSlotPelvis] = pelvis1_;
        bipani.bones[kSlotSpine] = spine1_;
        view_.Frame({-6, -1, -1}, {6, 1, 8});
        cb_ = &cbipanim::hittestBip;
        cb_->owner = &bipani;  // other tests' tools may have taken it over
    }
    void TearDown() override {
        for (cnode*& b : bipani.bones) b = nullptr;
        bipani.keepBinding = 0;
        qv::ResetScene();
    }

    static cnode* Bone(const char* name, cnode* parent, const cpoint3& world) {
        cbone* b = CreateNewBone();
        b->SetName(name);
        if (parent) parent->Attach(b, 0);
        b->SetPosition(0, world);
        Interface::AddToScene(b, 0);
        return b;
    }

    // Clicks at the window point of a world point.
    int ClickAt(const cpoint3& p) {
        cpoint3 w;
        view_.Project(w, p.x, p.y, p.z);
        return ClickAtWindow(static_cast<int>(std::lround(w.x)), static_cast<int>(std::lround(w.y)));
    }
    int ClickAtWindow(int x, int y) {
        HitTestTool tool;
        tool.x = x;
        tool.y = y;
        tool.radius = kRadius;
        return cb_->HitTestAndSelect(0, &view_, x, y, 0, tool);
    }

    static std::string Selected() {
        cnode* n = Interface::GetSelNode();
        return n ? n->GetName() : "(none)";
    }

    qv::gl::View view_{qv::gl::ViewKind::Front, kW, kH};
    HitTestBip* cb_ = nullptr;
    cnode *root1_ = nullptr, *pelvis1_ = nullptr, *spine1_ = nullptr;
    cnode *root2_ = nullptr, *pelvis2_ = nullptr;
};

TEST_F(BipedClicks, AnotherBoneOfTheBipedKeepsTheBinding) {
    bipani.keepBinding = 0;
    EXPECT_EQ(ClickAt({-4, 0, 4.5f}), 1);  // on the pelvis's segment to the spine
    EXPECT_EQ(Selected(), "Bip01 Pelvis");
    EXPECT_EQ(bipani.keepBinding, 1);
}

TEST_F(BipedClicks, ABoneOfAnotherBipedClearsIt) {
    bipani.keepBinding = 1;
    EXPECT_EQ(ClickAt({4, 0, 1.5f}), 1);  // on Bip02's segment to its pelvis
    EXPECT_EQ(Selected(), "Bip02");
    EXPECT_EQ(bipani.keepBinding, 0);
}

TEST_F(BipedClicks, EmptySpaceClearsIt) {
    bipani.keepBinding = 1;
    EXPECT_EQ(ClickAtWindow(3, 3), 0);
    EXPECT_EQ(Selected(), "(none)");
    EXPECT_EQ(bipani.keepBinding, 0);
}

// A node with the biped's prefix that is none of its bones is another node all the same.
TEST_F(BipedClicks, NodeWithThePrefixButNoSlotClearsIt) {
    Bone("Bip01 Prop", nullptr, {0, 0, 4});
    bipani.keepBinding = 1;
    EXPECT_EQ(ClickAt({0.1f, 0, 4}), 1);  // along its stub on its x axis
    EXPECT_EQ(Selected(), "Bip01 Prop");
    EXPECT_EQ(bipani.keepBinding, 0);
}

TEST_F(BipedClicks, HitTestIsTheHostsPickWithItsArguments) {
    cpoint3 w;
    view_.Project(w, -4, 0, 4.5f);
    const int x = static_cast<int>(std::lround(w.x)), y = static_cast<int>(std::lround(w.y));
    HitTestTool tool;
    tool.x = x;
    tool.y = y;
    tool.radius = kRadius;
    bipani.keepBinding = 1;

    for (int flags : {0, 7}) {  // flags is not passed on: the answer is the same
        HitTestRes res;
        EXPECT_EQ(cb_->HitTest(0, &view_, x, y, flags, tool, nullptr, &res), 1);
        EXPECT_EQ(res.node, pelvis1_);
    }
    // Excluding the pelvis (scene index 1) leaves only bones too far away.
    cbooleanarray exclude(Interface::NumNodes());
    exclude.Set(1, true);
    ASSERT_EQ(Interface::GetNodeAt(1), pelvis1_);
    HitTestRes res;
    EXPECT_EQ(cb_->HitTest(0, &view_, x, y, 0, tool, &exclude, &res), 0);
    // A plain hit test changes neither the selection nor the binding.
    EXPECT_EQ(Interface::NumSelNodes(), 0);
    EXPECT_EQ(bipani.keepBinding, 1);
}

}  // namespace
