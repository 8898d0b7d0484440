// PNG files: what is written reads back pixel for pixel; bad input gives a message and no file.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>
#include <fstream>

#include "qvplatform/gl.h"

namespace {

namespace fs = std::filesystem;

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
};

TEST_F(PngFiles, PatternWithAlphaReadsBackExactly) {
    constexpr int kW = 7, kH = 5;  // odd width: rows are not a multiple of 8 bytes
    std::vector<unsigned char> rgba(kW * kH * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<unsigned char>((i * 37 + 11) % 256);
    std::string error;
    ASSERT_TRUE(qv::gl::WritePng(Path("pattern.png"), kW, kH, rgba, error)) << error;
    int w = 0, h = 0;
    std::vector<unsigned char> back;
    ASSERT_TRUE(qv::gl::ReadPng(Path("pattern.png"), w, h, back, error)) << error;
    EXPECT_EQ(w, kW);
    EXPECT_EQ(h, kH);
    EXPECT_EQ(back, rgba);
}

TEST_F(PngFiles, RenderedImageReadsBackExactly) {
    constexpr int kW = 40, kH = 30;
    qv::gl::OffscreenContext ctx(kW, kH);
    ASSERT_TRUE(ctx.Ok()) << ctx.Error();
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_TRIANGLES);  // colours blend across the triangle: many distinct pixels
    glColor3f(1, 0, 0);
    glVertex2f(-0.9f, -0.9f);
    glColor3f(0, 1, 0);
    glVertex2f(0.9f, -0.5f);
    glColor3f(0, 0, 1);
    glVertex2f(0.0f, 0.9f);
    glEnd();
    const std::vector<unsigned char> px = ctx.ReadPixels();
    std::string error;
    ASSERT_TRUE(qv::gl::WritePng(Path("render.png"), kW, kH, px, error)) << error;
    int w = 0, h = 0;
    std::vector<unsigned char> back;
    ASSERT_TRUE(qv::gl::ReadPng(Path("render.png"), w, h, back, error)) << error;
    ASSERT_EQ(w, kW);
    ASSERT_EQ(h, kH);
    EXPECT_EQ(back, px);
    // The file is a PNG as others read it: signature, then the IHDR chunk with the size.
    std::ifstream in(Path("render.png"), std::ios::binary);
    unsigned char head[24] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    EXPECT_EQ(head[1], 'P');
    EXPECT_EQ(head[12], 'I');
    EXPECT_EQ(head[19], kW);  // big-endian width, low byte
    EXPECT_EQ(head[23], kH);
}

TEST_F(PngFiles, WrongPixelCountIsRefusedWithoutAFile) {
    std::vector<unsigned char> rgba(10 * 10 * 4 - 1);
    std::string error;
    EXPECT_FALSE(qv::gl::WritePng(Path("short.png"), 10, 10, rgba, error));
    EXPECT_NE(error.find("10x10"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(Path("short.png")));
}

TEST_F(PngFiles, MissingFolderGivesAMessage) {
    std::vector<unsigned char> rgba(4 * 4 * 4, 255);
    std::string error;
    const std::string path = Path("no/such/folder/x.png");
    EXPECT_FALSE(qv::gl::WritePng(path, 4, 4, rgba, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
}

TEST_F(PngFiles, ReadingANonPngLeavesTheOutputsAlone) {
    std::ofstream(Path("text.png")) << "not an image at all";
    int w = 3, h = 4;
    std::vector<unsigned char> rgba{1, 2, 3};
    std::string error;
    EXPECT_FALSE(qv::gl::ReadPng(Path("text.png"), w, h, rgba, error));
    EXPECT_NE(error.find("not a PNG"), std::string::npos) << error;
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(rgba.size(), 3u);
    EXPECT_FALSE(qv::gl::ReadPng(Path("absent.png"), w, h, rgba, error));
}

TEST_F(PngFiles, TruncatedPngIsAnErrorNotACrash) {
    std::vector<unsigned char> rgba(16 * 16 * 4, 200);
    std::string error;
    ASSERT_TRUE(qv::gl::WritePng(Path("full.png"), 16, 16, rgba, error)) << error;
    fs::resize_file(Path("full.png"), 40);  // signature and part of the header only
    int w = 0, h = 0;
    std::vector<unsigned char> back;
    EXPECT_FALSE(qv::gl::ReadPng(Path("full.png"), w, h, back, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
