// Bones in a view: picked as window-space segments within a radius, and drawn (checked on
// pixels rendered offscreen) from the joint toward the first child, selected brighter, hidden
// not at all.
#include "core_test_support.h"  // first: the host's Windows subset defines APIENTRY

#include <GL/gl.h>
#include <GL/osmesa.h>

#include <array>

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

// A 64 × 64 window over the scene square -2..2 in x and y, looking down -z.
constexpr int kSize = 64;
constexpr float kHalfExtent = 2.0f;  // host units from the centre to an edge

class BoneDrawing : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        ctx_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
        ASSERT_NE(ctx_, nullptr);
        ASSERT_TRUE(OSMesaMakeCurrent(ctx_, pixels_.data(), GL_UNSIGNED_BYTE, kSize, kSize));
        OSMesaPixelStore(OSMESA_Y_UP, 1);
    }
    void TearDown() override {
        if (ctx_) OSMesaDestroyContext(ctx_);
        SceneTest::TearDown();
    }

    void Render(cnode* n, unsigned flags) {
        glViewport(0, 0, kSize, kSize);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-kHalfExtent, kHalfExtent, -kHalfExtent, kHalfExtent, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        n->Draw(0, nullptr, flags);
        glFinish();
    }

    // Sum of the RGB components of the pixel at scene point (x, y).
    int Brightness(float x, float y) const {
        int col = static_cast<int>((x + kHalfExtent) / (2 * kHalfExtent) * kSize);
        int row = static_cast<int>((y + kHalfExtent) / (2 * kHalfExtent) * kSize);
        const unsigned char* p = &pixels_[(row * kSize + col) * 4];
        return p[0] + p[1] + p[2];
    }

    OSMesaContext ctx_ = nullptr;
    std::array<unsigned char, kSize * kSize * 4> pixels_{};
};

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

TEST_F(BoneDrawing, RunsTowardTheFirstChildSelectedBrighterAndHiddenNotAtAll) {
    cbone* bone = AddBone("bone");
    AddBone("child", bone, {1.5f, 0, 0});
    Render(bone, 0);
    const int plain = Brightness(0.5f, 0.0f);
    EXPECT_GT(plain, 0);
    EXPECT_EQ(Brightness(-0.6f, 0.0f), 0);
    EXPECT_EQ(Brightness(0.6f, 1.0f), 0);
    EXPECT_EQ(Brightness(0.0f, 0.8f), 0);
    Render(bone, 4);
    EXPECT_GT(Brightness(0.5f, 0.0f), plain);
    Interface::Select(bone);
    Render(bone, 0);
    EXPECT_GT(Brightness(0.5f, 0.0f), plain);
    bone->SetFlags(QV_FLAG_HIDDEN);
    Render(bone, 4);
    EXPECT_EQ(Brightness(0.5f, 0.0f), 0);
}
