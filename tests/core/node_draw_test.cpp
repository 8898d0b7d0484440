// How bones are drawn, checked on pixels rendered offscreen: shape from the joint toward the
// first child (or along x for an end bone), selected brighter, hidden not drawn.
#include "core_test_support.h"  // first: the host's Windows subset defines APIENTRY

#include <GL/gl.h>
#include <GL/osmesa.h>

#include <array>

namespace {

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

TEST_F(BoneDrawing, EndBoneLiesAlongItsXAxisAtAFifthOfItsParentDistance) {
    cbone* parent = AddBone("parent", nullptr, {0, -5, 0});
    cbone* end = AddBone("end", parent, {0, 5, 0});  // 5 units from its parent: 1 unit long
    ckey k;
    end->anim.GetKey(0, k);
    k.rot = QuatFromAngleAxis(-90, {0, 0, 1});  // its x axis: row 0 of M = (0, 1, 0)
    end->anim.SetKey(k);
    ASSERT_TRUE(PointNear(VectorTransform({1, 0, 0}, end->GetNodeTM(0)), {0, 1, 0}, kFloatTol));
    Render(end, 0);
    EXPECT_GT(Brightness(0.0f, 0.5f), 0);
    EXPECT_EQ(Brightness(0.0f, 1.4f), 0);  // past its length
    EXPECT_EQ(Brightness(0.5f, 0.0f), 0);
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
