// The offscreen context: drawing with OpenGL 1.1 calls lands in its own buffer and reads back
// top row first; impossible sizes are refused with a message; PNG files of what it drew.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>
#include <fstream>

#include "qvplatform/gl.h"

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
    for (int y : {0, kH / 2 - 1}) EXPECT_EQ(PixelAt(px, kW, 3, y), (std::vector<int>{0, 255, 0, 255}));
    for (int y : {kH / 2, kH - 1}) EXPECT_EQ(PixelAt(px, kW, 3, y), (std::vector<int>{0, 0, 0, 255}));
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 24);
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
    EXPECT_EQ(PixelAt(blue.ReadPixels(), 8, 3, 3), (std::vector<int>{0, 0, 255, 255}));
    EXPECT_EQ(PixelAt(white.ReadPixels(), 16, 15, 3), (std::vector<int>{255, 255, 255, 255}));
    blue.MakeCurrent();  // drawing goes back to the first buffer
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(PixelAt(blue.ReadPixels(), 8, 0, 0)[0], 255);
    EXPECT_EQ(PixelAt(white.ReadPixels(), 16, 0, 0)[2], 255);  // still white
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
               ("qv_png_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
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
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<unsigned char>((i * 37 + 11) % 256);
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

TEST_F(PngFiles, BadInputGivesAMessageNoFileAndLeavesTheOutputsAlone) {
    std::vector<unsigned char> rgba(10 * 10 * 4 - 1);
    EXPECT_FALSE(qv::gl::WritePng(Path("short.png"), 10, 10, rgba, error));
    EXPECT_NE(error.find("10x10"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(Path("short.png")));
    rgba.assign(16 * 16 * 4, 255);
    const std::string nowhere = Path("no/such/folder/x.png");
    EXPECT_FALSE(qv::gl::WritePng(nowhere, 16, 16, rgba, error));
    EXPECT_NE(error.find(nowhere), std::string::npos) << error;
    std::ofstream(Path("text.png")) << "not an image at all";
    ASSERT_TRUE(qv::gl::WritePng(Path("full.png"), 16, 16, rgba, error)) << error;
    fs::resize_file(Path("full.png"), 40);  // signature and part of the header only
    int w = 3, h = 4;
    std::vector<unsigned char> out{1, 2, 3};
    EXPECT_FALSE(qv::gl::ReadPng(Path("text.png"), w, h, out, error));
    EXPECT_NE(error.find("not a PNG"), std::string::npos) << error;
    EXPECT_TRUE(w == 3 && h == 4 && out.size() == 3u);
    for (const char* bad : {"full.png", "absent.png"}) {
        error.clear();
        EXPECT_FALSE(qv::gl::ReadPng(Path(bad), w, h, out, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

}  // namespace
