// The modify tool's overlays drawn into an offscreen context and read back: the root's path in
// blue with its key points while the root is moved as a whole animation, the anchor crosses in
// the side colours, and the GL state put back afterwards.
#include "plugin_support.h"
#include "qvview/gl.h"

#include <GL/gl.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace pt {
namespace {

constexpr int kW = 200, kH = 150;  // pixels

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
constexpr Rgb kBlack{0, 0, 0}, kBlue{0, 0, 255}, kRed{255, 0, 0}, kGreen{0, 255, 0};

// A lone root bone bound as the tool's root, moved as a whole animation over frames 0..100.
class Overlays : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        ASSERT_TRUE(ctx_.Ok()) << ctx_.Error();
        Interface::SetAnimStart(0);
        Interface::SetAnimEnd(100);
        root_ = CreateNewBone();
        root_->SetName("Bip01");
        Interface::AddToScene(root_, 0);
        bipani.bones[kSlotRoot] = root_;
        bipani.selSlot = kSlotRoot;
        bipani.animTransform = 1;
        view_.Frame({-6, -1, -1}, {6, 1, 9});
        Clear();
    }

    static void Clear() {
        glClearColor(0, 0, 0, 1);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // Root keys at the given frames and world positions (the root has no parent).
    void RootKeys(const std::vector<std::pair<int, cpoint3>>& keys) {
        root_->anim.Clear();
        for (const auto& [time, pos] : keys) {
            ckey k;
            k.time = time;
            k.pos = pos;
            root_->anim.SetKey(k);
        }
    }

    void Draw() {
        view_.Apply();
        bipani.Display(GetAnimTime(), &view_, 0);
        pixels_ = ctx_.ReadPixels();
    }

    cpoint3 Win(const cpoint3& p) {
        cpoint3 w;
        view_.Project(w, p.x, p.y, p.z);
        return w;
    }
    Rgb At(float x, float y) const {
        const int i = static_cast<int>(std::floor(x)), j = static_cast<int>(std::floor(y));
        if (i < 0 || j < 0 || i >= kW || j >= kH) return kBlack;
        const size_t o = (static_cast<size_t>(j) * kW + i) * 4;
        return {pixels_[o], pixels_[o + 1], pixels_[o + 2]};
    }
    // Lines and points land on the pixels nearest their window coordinates; which of two
    // neighbours gets a line that runs along a pixel edge is the rasteriser's choice, so lit
    // checks look at the 3 × 3 pixels around a point and unlit checks want all of them dark.
    int CountAround(float x, float y, const Rgb& c) const {
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) n += At(x + dx, y + dy) == c;
        return n;
    }
    bool Near(float x, float y, const Rgb& c) const { return CountAround(x, y, c) > 0; }
    bool Dark(float x, float y) const { return CountAround(x, y, kBlack) == 9; }
    bool Near(const cpoint3& p, const Rgb& c) { return Near(Win(p).x, Win(p).y, c); }
    bool Dark(const cpoint3& p) { return Dark(Win(p).x, Win(p).y); }
    int Count(const Rgb& c) const {
        int n = 0;
        for (size_t o = 0; o + 3 < pixels_.size(); o += 4)
            n += Rgb{pixels_[o], pixels_[o + 1], pixels_[o + 2]} == c;
        return n;
    }
    int CountNotBlack() const { return kW * kH - Count(kBlack); }

    qv::gl::OffscreenContext ctx_{kW, kH};
    qv::gl::View view_{qv::gl::ViewKind::Front, kW, kH};
    cnode* root_ = nullptr;
    std::vector<unsigned char> pixels_;
};

TEST_F(Overlays, RootPathInBlueWithKeyPointsOnlyWhileTheRootIsMovedAsAWhole) {
    const cpoint3 a{-5, 0, 0}, b{0, 0, 5}, c{5, 0, 0};
    RootKeys({{0, a}, {50, b}, {100, c}});
    for (auto [slot, whole] : {std::pair{kSlotPelvis, 1}, {kSlotRoot, 0}}) {
        bipani.selSlot = slot;
        bipani.animTransform = whole;
        Draw();
        EXPECT_EQ(CountNotBlack(), 0);  // no anchors either: nothing at all
    }
    bipani.animTransform = 1;
    Draw();
    // Key points are 4 pixels wide: the projected point's pixel and the next ones are lit.
    for (const cpoint3& p : {a, b, c}) {
        const cpoint3 w = Win(p);
        EXPECT_EQ(At(w.x, w.y), kBlue);
        EXPECT_EQ(At(w.x + 1, w.y), kBlue);
        EXPECT_EQ(At(w.x, w.y + 1), kBlue);
    }
    EXPECT_TRUE(Near((a + b) * 0.5f, kBlue));
    EXPECT_TRUE(Near((b + c) * 0.5f, kBlue));
    EXPECT_TRUE(Dark((a + c) * 0.5f));         // no segment closes the path
    EXPECT_EQ(Count(kBlue), CountNotBlack());  // everything drawn is blue
}

// Keys outside the range 0..100 are left out, with their segments; one key inside is a point of
// 4 × 4 pixels without line.
TEST_F(Overlays, KeysOutsideTheRangeAreLeftOut) {
    const cpoint3 a{-5, 0, 0}, b{-2, 0, 6}, c{2, 0, 6}, d{5, 0, 0};
    RootKeys({{-10, a}, {20, b}, {80, c}, {150, d}});
    Draw();
    EXPECT_TRUE(Dark(a));
    EXPECT_TRUE(Near(b, kBlue));
    EXPECT_TRUE(Near(c, kBlue));
    EXPECT_TRUE(Dark(d));
    EXPECT_TRUE(Near((b + c) * 0.5f, kBlue));
    EXPECT_TRUE(Dark((a + b) * 0.5f));
    EXPECT_TRUE(Dark((c + d) * 0.5f));
    RootKeys({{-10, a}, {50, b}, {150, c}});
    Clear();
    Draw();
    EXPECT_EQ(At(Win(b).x, Win(b).y), kBlue);
    EXPECT_EQ(Count(kBlue), 16);
    EXPECT_EQ(CountNotBlack(), 16);
}

// Right anchors in rightColour, left ones in leftColour; each stroke reaches 20 window units
// to either side of the anchor's point.
TEST_F(Overlays, AnchorCrossesInTheSideColours) {
    bipani.animTransform = 0;
    rightColour = {1.0f, 0.0f, 0.0f, 1.0f};
    leftColour = {0.0f, 1.0f, 0.0f, 1.0f};
    const cpoint3 rightFoot{-3, 0, 1}, leftHand{3, 0, 6};
    bipani.anchorOn[0] = 1;
    bipani.anchorPos[0] = rightFoot;
    bipani.anchorOn[3] = 1;
    bipani.anchorPos[3] = leftHand;
    Draw();
    const struct { cpoint3 p; Rgb colour; } crosses[] = {{rightFoot, kRed}, {leftHand, kGreen}};
    for (const auto& [p, colour] : crosses) {
        const cpoint3 s = Win(p);
        EXPECT_TRUE(Near(s.x, s.y, colour));
        for (float d : {-18.0f, -10.0f, 10.0f, 18.0f}) {
            EXPECT_TRUE(Near(s.x + d, s.y, colour)) << "horizontal stroke at " << d;
            EXPECT_TRUE(Near(s.x, s.y + d, colour)) << "vertical stroke at " << d;
        }
        for (float d : {-23.0f, 23.0f}) {
            EXPECT_TRUE(Dark(s.x + d, s.y)) << "past the stroke's end at " << d;
            EXPECT_TRUE(Dark(s.x, s.y + d)) << "past the stroke's end at " << d;
        }
        EXPECT_TRUE(Dark(s.x + 8, s.y + 8));
    }
    EXPECT_EQ(Count(kRed) + Count(kGreen), CountNotBlack());
}

// Capabilities and sizes the overlays change are put back; the overlays draw over geometry
// nearer than them.
TEST_F(Overlays, StateIsRestoredAndOverlaysDrawOverGeometry) {
    const cpoint3 a{-5, 0, 0}, b{5, 0, 0};
    RootKeys({{0, a}, {100, b}});
    bipani.anchorOn[1] = 1;
    bipani.anchorPos[1] = {0, 0, 6};
    leftColour = {0.0f, 1.0f, 0.0f, 1.0f};

    // A red wall in front of everything, drawn with depth testing.
    view_.Apply();
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex3f(-20, -0.9f, -20);
    glVertex3f(20, -0.9f, -20);
    glVertex3f(20, -0.9f, 30);
    glVertex3f(-20, -0.9f, 30);
    glEnd();

    const GLenum caps[] = {GL_TEXTURE_2D, GL_BLEND, GL_ALPHA_TEST, GL_DITHER, GL_LIGHTING,
                           GL_DEPTH_TEST};
    for (GLenum cap : caps) glEnable(cap);
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    glPointSize(1.0f);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);

    bipani.Display(GetAnimTime(), &view_, 0);
    pixels_ = ctx_.ReadPixels();

    for (GLenum cap : caps) EXPECT_EQ(glIsEnabled(cap), GL_TRUE) << "capability " << cap;
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_POINT);
    EXPECT_EQ(mode[1], GL_POINT);
    GLfloat pointSize = 0.0f;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(pointSize, 1.0f);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], modelview[i]) << "modelview " << i;
    // The current colour is no part of the saved groups: the last cross's colour stays.
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[1], 1.0f);
    EXPECT_EQ(colour[2], 0.0f);

    EXPECT_TRUE(Near(a, kBlue));
    EXPECT_TRUE(Near((a + b) * 0.5f, kBlue));
    EXPECT_TRUE(Near({0, 0, 6}, kGreen));
    EXPECT_EQ(At(2, 2), kRed);  // the wall itself
}

}  // namespace
}  // namespace pt
