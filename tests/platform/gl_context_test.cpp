// The offscreen context: drawing with OpenGL 1.1 calls lands in its own buffer and reads back
// top row first; impossible sizes are refused with a message.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "qvplatform/gl.h"

namespace {

struct Rgba { int r, g, b, a; };

Rgba PixelAt(const std::vector<unsigned char>& px, int width, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * width + x) * 4;
    return {px[i], px[i + 1], px[i + 2], px[i + 3]};
}

// Clears to opaque black with identity matrices: vertices are then in normalised device
// coordinates, (-1, -1) the bottom-left corner of the window.
void ClearToBlack(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

TEST(OffscreenContext, DrawsTriangleAndReadsTopRowFirst) {
    constexpr int kW = 64, kH = 48;
    qv::gl::OffscreenContext ctx(kW, kH);
    ASSERT_TRUE(ctx.Ok()) << ctx.Error();
    EXPECT_EQ(ctx.Width(), kW);
    EXPECT_EQ(ctx.Height(), kH);
    ClearToBlack(kW, kH);
    // Red triangle over the lower-left half of the window.
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_TRIANGLES);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    const std::vector<unsigned char> px = ctx.ReadPixels();
    ASSERT_EQ(px.size(), static_cast<size_t>(kW * kH * 4));

    const Rgba bottomLeft = PixelAt(px, kW, 2, kH - 3);  // last rows hold the window's bottom
    EXPECT_EQ(bottomLeft.r, 255);
    EXPECT_EQ(bottomLeft.g, 0);
    EXPECT_EQ(bottomLeft.b, 0);
    EXPECT_EQ(bottomLeft.a, 255);
    const Rgba topRight = PixelAt(px, kW, kW - 3, 2);
    EXPECT_EQ(topRight.r, 0);
    EXPECT_EQ(topRight.a, 255);
    // The top-left and bottom-right corners sit just inside the triangle's long edge.
    EXPECT_EQ(PixelAt(px, kW, 1, 2).r, 255);
    EXPECT_EQ(PixelAt(px, kW, kW - 4, kH - 2).r, 255);
}

TEST(OffscreenContext, TopHalfQuadFillsTheFirstRows) {
    constexpr int kW = 32, kH = 32;
    qv::gl::OffscreenContext ctx(kW, kH);
    ASSERT_TRUE(ctx.Ok()) << ctx.Error();
    ClearToBlack(kW, kH);
    glColor3f(0.0f, 1.0f, 0.0f);
    glBegin(GL_QUADS);  // y from 0 to 1: the upper half of the window
    glVertex2f(-1.0f, 0.0f);
    glVertex2f(1.0f, 0.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    const std::vector<unsigned char> px = ctx.ReadPixels();
    for (int y : {0, kH / 2 - 1}) EXPECT_EQ(PixelAt(px, kW, kW / 2, y).g, 255) << "row " << y;
    for (int y : {kH / 2, kH - 1}) EXPECT_EQ(PixelAt(px, kW, kW / 2, y).g, 0) << "row " << y;
}

TEST(OffscreenContext, TwoContextsKeepTheirOwnPixels) {
    qv::gl::OffscreenContext blue(8, 8);
    ASSERT_TRUE(blue.Ok()) << blue.Error();
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    qv::gl::OffscreenContext white(16, 4);  // now current
    ASSERT_TRUE(white.Ok()) << white.Error();
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    const Rgba b = PixelAt(blue.ReadPixels(), 8, 3, 3);
    EXPECT_EQ(b.r, 0);
    EXPECT_EQ(b.b, 255);
    const Rgba w = PixelAt(white.ReadPixels(), 16, 15, 3);
    EXPECT_EQ(w.r, 255);
    EXPECT_EQ(w.g, 255);

    blue.MakeCurrent();  // drawing goes back to the first buffer
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(PixelAt(blue.ReadPixels(), 8, 0, 0).r, 255);
    EXPECT_EQ(PixelAt(white.ReadPixels(), 16, 0, 0).b, 255);  // still white
}

TEST(OffscreenContext, RefusesImpossibleSizes) {
    for (auto [w, h] : {std::pair{0, 10}, std::pair{10, -1},
                        std::pair{qv::gl::OffscreenContext::kMaxSize + 1, 4}}) {
        qv::gl::OffscreenContext ctx(w, h);
        EXPECT_FALSE(ctx.Ok());
        EXPECT_NE(ctx.Error().find("size"), std::string::npos) << ctx.Error();
        EXPECT_TRUE(ctx.ReadPixels().empty());
    }
}

TEST(OffscreenContext, HasADepthBuffer) {
    qv::gl::OffscreenContext ctx(4, 4);
    ASSERT_TRUE(ctx.Ok()) << ctx.Error();
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 24);
}

}  // namespace
