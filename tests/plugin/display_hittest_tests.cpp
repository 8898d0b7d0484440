// The modify tool's hit-test callback: picks are the host's; a click that selects another bone
// of the bound biped keeps the binding, any other click lets the next Init rebind.
#include <cmath>

#include "plugin_support.h"
#include "qvplatform/gl.h"
#include "quorvane/skin.h"

namespace pt {
namespace {

constexpr int kRadius = 4;  // pick radius, pixels

// Two small bipeds side by side: Bip01 at x = -4 (root, pelvis, spine up the z axis), bound,
// and Bip02 at x = +4 (root, pelvis).
class BipedClicks : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        bipani.bones[kSlotRoot] = Bone("Bip01", nullptr, {-4, 0, 0});
        bipani.bones[kSlotPelvis] = pelvis1_ =
            Bone("Bip01 Pelvis", bipani.bones[kSlotRoot], {-4, 0, 3});
        bipani.bones[kSlotSpine] = Bone("Bip01 Spine", pelvis1_, {-4, 0, 6});
        Bone("Bip02 Pelvis", Bone("Bip02", nullptr, {4, 0, 0}), {4, 0, 3});
        view_.Frame({-6, -1, -1}, {6, 1, 8});
    }
    static cnode* Bone(const char* name, cnode* parent, const cpoint3& world) {
        cbone* b = CreateNewBone();
        b->SetName(name);
        if (parent) parent->Attach(b, 0);
        b->SetPosition(0, world);
        Interface::AddToScene(b, 0);
        return b;
    }
    HitTestTool Tool(int x, int y) {
        HitTestTool tool;
        tool.x = x;
        tool.y = y;
        tool.radius = kRadius;
        return tool;
    }
    // Window point of a world point.
    std::pair<int, int> At(const cpoint3& p) {
        cpoint3 w;
        view_.Project(w, p.x, p.y, p.z);
        return {static_cast<int>(std::lround(w.x)), static_cast<int>(std::lround(w.y))};
    }
    qv::gl::View view_{qv::gl::ViewKind::Front, 200, 150};
    cnode* pelvis1_ = nullptr;
};

TEST_F(BipedClicks, OnlyAnotherBoneOfTheBoundBipedKeepsTheBinding) {
    Bone("Bip01 Prop", nullptr, {0, 0, 4});  // the biped's prefix, but none of its bones
    struct Click { std::pair<int, int> at; int hit; const char* selected; int keep; };
    const Click clicks[] = {
        {At({-4, 0, 4.5f}), 1, "Bip01 Pelvis", 1},  // on the pelvis's segment to the spine
        {At({4, 0, 1.5f}), 1, "Bip02", 0},          // on Bip02's segment to its pelvis
        {{3, 3}, 0, "(none)", 0},                   // empty space
        {At({0.1f, 0, 4}), 1, "Bip01 Prop", 0},     // along the prop's stub on its x axis
    };
    for (const Click& c : clicks) {
        bipani.keepBinding = 1 - c.keep;
        auto [x, y] = c.at;
        HitTestTool tool = Tool(x, y);
        EXPECT_EQ(cbipanim::hittestBip.HitTestAndSelect(0, &view_, x, y, 0, tool), c.hit)
            << c.selected;
        EXPECT_EQ(NameOf(Interface::GetSelNode()), c.selected);
        EXPECT_EQ(bipani.keepBinding, c.keep) << c.selected;
    }
}

TEST_F(BipedClicks, HitTestIsTheHostsPickWithItsArguments) {
    auto [x, y] = At({-4, 0, 4.5f});
    HitTestTool tool = Tool(x, y);
    bipani.keepBinding = 1;
    HitTestRes res;
    EXPECT_EQ(cbipanim::hittestBip.HitTest(0, &view_, x, y, 7, tool, nullptr, &res), 1);
    EXPECT_EQ(res.node, pelvis1_);
    // Excluding the pelvis (scene index 1) leaves only bones too far away.
    cbooleanarray exclude(Interface::NumNodes());
    exclude.Set(1, true);
    ASSERT_EQ(Interface::GetNodeAt(1), pelvis1_);
    EXPECT_EQ(cbipanim::hittestBip.HitTest(0, &view_, x, y, 0, tool, &exclude, &res), 0);
    // A plain hit test changes neither the selection nor the binding.
    EXPECT_EQ(Interface::NumSelNodes(), 0);
    EXPECT_EQ(bipani.keepBinding, 1);
}

}  // namespace
}  // namespace pt
