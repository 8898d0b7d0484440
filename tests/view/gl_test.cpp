// OpenGL for the host: the offscreen context draws into its own buffer and reads back top row
// first; PNG files of what it drew; views: where each named camera stands, how a framed box fills
// the window, and that drawing through a view lands where projecting says; the software OpenGL
// library loaded by the first context and not before.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <link.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "qvview/gl.h"

namespace {

namespace fs = std::filesystem;

// The red, green, blue and alpha of pixel (x, y) of a top-row-first RGBA image.
std::vector<int> PixelAt(const std::vector<unsigned char>& px, int width, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * width + x) * 4;
    return {px[i], px[i + 1], px[i + 2], px[i + 3]};
}

TEST(OffscreenContext, UpperHalfQuadFillsTheFirstRows) {
    constexpr int kW = 32, kH = 24;
    qv::gl::OffscreenContext ctx(kW, kH);
    ASSERT_TRUE(ctx.Ok()) << ctx.Error();
    EXPECT_EQ(ctx.Width(), kW);
    EXPECT_EQ(ctx.Height(), kH);
    // Identity matrices: vertices in normalised device coordinates, y = 1 the window's top.
    glViewport(0, 0, kW, kH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(0.0f, 1.0f, 0.0f);
    glRectf(-1.0f, 0.0f, 1.0f, 1.0f);
    const std::vector<unsigned char> px = ctx.ReadPixels();
    ASSERT_EQ(px.size(), static_cast<size_t>(kW * kH * 4));
    for (int y : {0, kH / 2 - 1})
        EXPECT_EQ(PixelAt(px, kW, 3, y), (std::vector<int>{0, 255, 0, 255}));
    for (int y : {kH / 2, kH - 1})
        EXPECT_EQ(PixelAt(px, kW, 3, y), (std::vector<int>{0, 0, 0, 255}));
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 24);
}

// True when a shared object whose file name contains `part` is loaded in this process.
bool LibraryLoaded(const char* part) {
    struct Search {
        const char* part;
        bool found;
    } search{part, false};
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            auto* s = static_cast<Search*>(data);
            if (info->dlpi_name && std::strstr(info->dlpi_name, s->part)) s->found = true;
            return 0;
        },
        &search);
    return search.found;
}

// Starting a program costs nothing for OpenGL: the library comes with the first context. Run
// in a fresh process (the other tests of this program have loaded it long before).
TEST(OffscreenContext, SoftwareOpenGLIsLoadedByTheFirstContextOnly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (LibraryLoaded("libOSMesa")) std::exit(1);
            qv::gl::OffscreenContext ctx(4, 4);
            std::exit(ctx.Ok() && LibraryLoaded("libOSMesa") ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(OffscreenContext, RefusesImpossibleSizes) {
    for (auto [w, h] : {std::pair{0, 10}, {10, -1}, {qv::gl::OffscreenContext::kMaxSize + 1, 4}}) {
        qv::gl::OffscreenContext ctx(w, h);
        EXPECT_FALSE(ctx.Ok());
        EXPECT_NE(ctx.Error().find("size"), std::string::npos) << ctx.Error();
        EXPECT_TRUE(ctx.ReadPixels().empty());
    }
}

class PngFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qv_png_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    fs::path dir_;
    std::string error;
};

TEST_F(PngFiles, PatternWithAlphaReadsBackExactly) {
    constexpr int kW = 7, kH = 5;  // odd width: rows are not a multiple of 8 bytes
    std::vector<unsigned char> rgba(kW * kH * 4);
    for (size_t i = 0; i < rgba.size(); ++i)
        rgba[i] = static_cast<unsigned char>((i * 37 + 11) % 256);
    ASSERT_TRUE(qv::gl::WritePng(Path("pattern.png"), kW, kH, rgba, error)) << error;
    int w = 0, h = 0;
    std::vector<unsigned char> back;
    ASSERT_TRUE(qv::gl::ReadPng(Path("pattern.png"), w, h, back, error)) << error;
    EXPECT_EQ(w, kW);
    EXPECT_EQ(h, kH);
    EXPECT_EQ(back, rgba);
    // The file is a PNG as others read it: signature, then the IHDR chunk with the size.
    std::ifstream in(Path("pattern.png"), std::ios::binary);
    unsigned char head[24] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    EXPECT_EQ(head[1], 'P');
    EXPECT_EQ(head[12], 'I');
    EXPECT_EQ(head[19], kW);  // big-endian width, low byte
    EXPECT_EQ(head[23], kH);
}

TEST_F(PngFiles, WrongPixelCountIsRefusedWithoutAFile) {
    std::vector<unsigned char> rgba(10 * 10 * 4 - 1);
    EXPECT_FALSE(qv::gl::WritePng(Path("short.png"), 10, 10, rgba, error));
    EXPECT_NE(error.find("10x10"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(Path("short.png")));
}

using qv::gl::View;
using qv::gl::ViewKind;

// Window positions are computed in floats over windows of a few hundred pixels.
constexpr float kPixelTol = 1e-3f;  // pixels

const cpoint3 kBoxMin{-1.0f, -1.0f, 0.0f}, kBoxMax{1.0f, 1.0f, 8.0f}, kBoxCentre{0.0f, 0.0f, 4.0f};
const ViewKind kAllKinds[] = {ViewKind::Front, ViewKind::Back, ViewKind::Left,
                              ViewKind::Right, ViewKind::Top,  ViewKind::Persp};

cpoint3 Proj(View& v, const cpoint3& p) {
    cpoint3 out;
    v.Project(out, p.x, p.y, p.z);
    return out;
}

View Framed(ViewKind kind, int w = 200, int h = 200) {
    View v(kind, w, h);
    v.Frame(kBoxMin, kBoxMax);
    return v;
}

// Screen step (right, down, deeper) of a world step from the box centre, in pixels.
cpoint3 ScreenStep(View& v, const cpoint3& step) {
    return Proj(v, kBoxCentre + step) - Proj(v, kBoxCentre);
}

TEST(ViewFrame, BoxIsCentredAndEveryCornerInsideEveryView) {
    for (ViewKind kind : kAllKinds) {
        SCOPED_TRACE(qv::gl::ViewKindName(kind));
        View v = Framed(kind, 320, 240);
        const cpoint3 c = Proj(v, kBoxCentre);
        EXPECT_NEAR(c.x, 160.0f, kPixelTol);
        EXPECT_NEAR(c.y, 120.0f, kPixelTol);
        for (float x : {kBoxMin.x, kBoxMax.x})
            for (float y : {kBoxMin.y, kBoxMax.y})
                for (float z : {kBoxMin.z, kBoxMax.z}) {
                    const cpoint3 p = Proj(v, {x, y, z});
                    EXPECT_TRUE(p.x >= 0 && p.x <= 320 && p.y >= 0 && p.y <= 240) << x << y << z;
                    EXPECT_TRUE(p.z > 0 && p.z < 1) << "clipped: " << x << " " << y << " " << z;
                }
    }
}

TEST(ViewFrame, OrthoBoxFillsTheWindowLessTheMarginWithoutStretching) {
    // A tall box in a wide window: its height is what limits the fit.
    View v = Framed(ViewKind::Front, 400, 200);
    const cpoint3 top = Proj(v, {0, 0, 8}), bottom = Proj(v, {0, 0, 0});
    EXPECT_NEAR(top.y, 200.0f * View::kFrameMargin, 1e-2f);
    EXPECT_NEAR(bottom.y, 200.0f * (1.0f - View::kFrameMargin), 1e-2f);
    EXPECT_NEAR(Proj(v, {1, 0, 4}).x - Proj(v, {0, 0, 4}).x, (bottom.y - top.y) / 8.0f, kPixelTol);
    cpoint3 pts[2] = {{0, 0, 4}, {1, 0, 4}};  // arrays project in place
    const cpoint3 expected1 = Proj(v, pts[1]);
    v.Project(pts, pts, 2);
    EXPECT_NEAR(pts[0].x, 200.0f, kPixelTol);
    EXPECT_NEAR(pts[1].x, expected1.x, kPixelTol);
}

TEST(ViewProject, AxisViewsPutTheirAxesWhereNamed) {
    // The biped faces -y: the front view sees its face with +x to the right.
    struct Case { ViewKind kind; cpoint3 rightward, up, towardCamera; };
    const Case cases[] = {
        {ViewKind::Front, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
        {ViewKind::Back, {-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {ViewKind::Left, {0, -1, 0}, {0, 0, 1}, {-1, 0, 0}},
        {ViewKind::Right, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {ViewKind::Top, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::gl::ViewKindName(c.kind));
        View v = Framed(c.kind);
        const cpoint3 right = ScreenStep(v, c.rightward), up = ScreenStep(v, c.up);
        const cpoint3 ahead = ScreenStep(v, c.towardCamera);
        EXPECT_GT(right.x, 1.0f);
        EXPECT_NEAR(right.y, 0.0f, kPixelTol);
        EXPECT_LT(up.y, -1.0f);  // window y grows downwards
        EXPECT_NEAR(up.x, 0.0f, kPixelTol);
        EXPECT_NEAR(ahead.x, 0.0f, kPixelTol);  // straight at the camera: same pixel, nearer
        EXPECT_NEAR(ahead.y, 0.0f, kPixelTol);
        EXPECT_LT(ahead.z, 0.0f);
    }
}

TEST(ViewProject, PerspStandsFrontLeftAboveAndShrinksDistantThings) {
    View v = Framed(ViewKind::Persp);
    EXPECT_LT(v.Eye().x, kBoxMin.x);
    EXPECT_LT(v.Eye().y, kBoxMin.y);
    EXPECT_GT(v.Eye().z, kBoxMax.z);
    // The same unit step looks shorter deeper in the scene.
    const cpoint3 nearStep = Proj(v, {-1, -1, 4.5f}) - Proj(v, {-1, -1, 3.5f});
    const cpoint3 farStep = Proj(v, {1, 1, 4.5f}) - Proj(v, {1, 1, 3.5f});
    EXPECT_GT(std::fabs(nearStep.y), std::fabs(farStep.y) * 1.01f);
    EXPECT_LT(Proj(v, {-1, -1, 4}).z, Proj(v, {1, 1, 4}).z);
}

// --- a view drawing into a context: the GL matrices it loads put world points where Project
// says, and the 2-D overlay mode puts window coordinates on the same pixels and depths -----------

constexpr int kW = 120, kH = 90;
// A 24-bit depth buffer stores depth in steps of 2^-24; rasterisation adds a few steps.
constexpr float kDepthTol = 1e-5f;

class ViewDrawing : public ::testing::TestWithParam<ViewKind> {
protected:
    void SetUp() override {
        ASSERT_TRUE(ctx_.Ok()) << ctx_.Error();
        view_.Frame({-1, -1, 0}, {1, 1, 8});
        glPointSize(1.0f);
        glEnable(GL_DEPTH_TEST);
    }
    // Draws one red point on black and answers the pixel lit, (-1, -1) unless exactly one.
    std::pair<int, int> DrawPoint(float x, float y, float z) {
        glClearColor(0, 0, 0, 1);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1, 0, 0);
        glBegin(GL_POINTS);
        glVertex3f(x, y, z);
        glEnd();
        const std::vector<unsigned char> px = ctx_.ReadPixels();
        std::pair<int, int> lit{-1, -1};
        int count = 0;
        for (int j = 0; j < kH; ++j)
            for (int i = 0; i < kW; ++i)
                if (px[(static_cast<size_t>(j) * kW + i) * 4] > 128) lit = {i, j}, ++count;
        return count == 1 ? lit : std::pair{-1, -1};
    }
    qv::gl::OffscreenContext ctx_{kW, kH};
    View view_{GetParam(), kW, kH};
};

TEST_P(ViewDrawing, WorldAndOverlayPointsLandOnTheProjectedPixelAndDepth) {
    // Points chosen off the pixel grid's edges, so each projects well inside one pixel.
    for (const cpoint3& p :
         {cpoint3{0.31f, -0.2f, 2.27f}, {-0.77f, 0.4f, 6.61f}, {0.05f, 0.9f, 4.43f}}) {
        const cpoint3 w = Proj(view_, p);
        for (bool overlay : {false, true}) {
            SCOPED_TRACE(overlay ? "overlay" : "world");
            view_.Apply();
            if (overlay) view_.Begin2D();
            const auto [x, y] = overlay ? DrawPoint(w.x, w.y, w.z) : DrawPoint(p.x, p.y, p.z);
            if (overlay) view_.End2D();
            EXPECT_EQ(x, static_cast<int>(std::floor(w.x)));
            EXPECT_EQ(y, static_cast<int>(std::floor(w.y)));
            float depth = -1.0f;
            glReadPixels(x, kH - 1 - y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
            EXPECT_NEAR(depth, w.z, kDepthTol);
        }
    }
    // End2D put back the view's matrices and the modelview mode.
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    float modelview[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(modelview[i], (&view_.ViewMatrix().m[0][0])[i]) << i;
        EXPECT_FLOAT_EQ(projection[i], (&view_.ProjectionMatrix().m[0][0])[i]) << i;
    }
}

// A supersampled render draws each sample shifted within the pixel: a shift of whole pixels
// moves a world point by that many pixels (right and down), the 2-D overlay mode and Project
// stay where they were, and a zero shift loads the view's own projection again.
TEST_P(ViewDrawing, SubpixelShiftMovesWorldDrawingButNotOverlaysOrProjection) {
    const cpoint3 p{0.31f, -0.2f, 2.27f};
    const cpoint3 w = Proj(view_, p);
    const int x0 = static_cast<int>(std::floor(w.x)), y0 = static_cast<int>(std::floor(w.y));
    view_.SetSubpixelShift(2.0f, -1.0f);  // two pixels right, one up
    view_.Apply();
    EXPECT_EQ(DrawPoint(p.x, p.y, p.z), std::make_pair(x0 + 2, y0 - 1));
    const cpoint3 shifted = Proj(view_, p);
    EXPECT_NEAR(shifted.x, w.x, kPixelTol);
    EXPECT_NEAR(shifted.y, w.y, kPixelTol);
    view_.Begin2D();
    EXPECT_EQ(DrawPoint(w.x, w.y, w.z), std::make_pair(x0, y0));
    view_.End2D();
    view_.SetSubpixelShift(0.0f, 0.0f);
    view_.Apply();
    EXPECT_EQ(DrawPoint(p.x, p.y, p.z), std::make_pair(x0, y0));
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(projection[i], (&view_.ProjectionMatrix().m[0][0])[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(NamedViews, ViewDrawing,
                         ::testing::Values(ViewKind::Front, ViewKind::Left, ViewKind::Top,
                                           ViewKind::Persp),
                         [](const ::testing::TestParamInfo<ViewKind>& info) {
                             return std::string(qv::gl::ViewKindName(info.param));
                         });

}  // namespace
