// Viewport picking of bones as window-space segments within a radius.
#include "core_test_support.h"

namespace {

// A front view: scene x to the right, scene z up, 10 pixels per host unit, the scene origin
// at window (100, 100); y is depth.
class FrontView : public CGLWindow {
public:
    static constexpr float kPixelsPerUnit = 10.0f;
    static constexpr float kOrigin = 100.0f;
    void Project(const cpoint3* in, cpoint3* out, int n) override {
        for (int i = 0; i < n; ++i) Project(out[i], in[i].x, in[i].y, in[i].z);
    }
    void Project(cpoint3& out, float x, float y, float z) override {
        out = {kOrigin + x * kPixelsPerUnit, kOrigin - z * kPixelsPerUnit, 0.5f + y * 0.001f};
    }
    void Begin2D() override {}
    void End2D() override {}
    int Width() const override { return 200; }
    int Height() const override { return 200; }
};

using HitTest = SceneTest;

}  // namespace

TEST_F(HitTest, PicksTheNearestBoneSegmentWithinTheRadius) {
    FrontView view;
    cbone* thigh = AddBone("thigh", nullptr, {0, 0, 10});
    cbone* calf = AddBone("calf", thigh, {0, 0, -5});  // segment (100,0)..(100,50) in window
    cbone* other = AddBone("other", nullptr, {3, 0, 10});  // end bone: stub to x = 3.2
    HitTestTool tool;
    tool.radius = 4;
    HitTestRes res;
    ASSERT_TRUE(Interface::HitTestObjects(0, &view, 103, 25, tool, nullptr, &res));
    EXPECT_EQ(res.node, thigh);
    EXPECT_NEAR(res.distance, 3.0f, kFloatTol);
    // Halfway between the thigh (x 100) and the other bone's stub (x 130..132): nothing.
    EXPECT_FALSE(Interface::HitTestObjects(0, &view, 115, 0, tool, nullptr, &res));
    ASSERT_TRUE(Interface::HitTestObjects(0, &view, 131, 2, tool, nullptr, &res));
    EXPECT_EQ(res.node, other);
    // The calf is an end bone too: its stub runs from (100,50) along x.
    ASSERT_TRUE(Interface::HitTestObjects(0, &view, 101, 52, tool, nullptr, &res));
    EXPECT_EQ(res.node, calf);
    // Neither excluded nor hidden nodes are picked.
    cbooleanarray exclude(3);
    exclude.Set(0, true);
    EXPECT_FALSE(Interface::HitTestObjects(0, &view, 101, 25, tool, &exclude, &res));
    thigh->SetFlags(QV_FLAG_HIDDEN);
    EXPECT_FALSE(Interface::HitTestObjects(0, &view, 101, 25, tool, nullptr, &res));
}
