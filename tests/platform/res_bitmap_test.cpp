// The tool button image: a 24 by 24 bitmap of 8 bits a pixel with its palette, readable both
// as a file and through the module's resources.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "qvplatform/resources.h"
#include "resource_registry.h"

HINSTANCE BipedResources();

namespace {

constexpr int kSide = 24;           // pixels
constexpr int kBitsPerPixel = 8;
constexpr size_t kFileHeader = 14;  // bytes
constexpr size_t kInfoHeader = 40;  // bytes

uint32_t Le32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t Le16(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

TEST(ResourceBitmap, FileIsAnEightBitPalettedBmp) {
    std::ifstream in(BIPED_RESOURCES_DIR "/biped.bmp", std::ios::binary);
    ASSERT_TRUE(in);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    ASSERT_GE(b.size(), kFileHeader + kInfoHeader);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), b.size());  // the size the header claims is the file's
    EXPECT_EQ(Le32(b, 14), kInfoHeader);
    EXPECT_EQ(static_cast<int32_t>(Le32(b, 18)), kSide);
    EXPECT_EQ(static_cast<int32_t>(Le32(b, 22)), kSide);  // positive: rows stored bottom-up
    EXPECT_EQ(Le16(b, 26), 1);                             // planes
    EXPECT_EQ(Le16(b, 28), kBitsPerPixel);
    EXPECT_EQ(Le32(b, 30), 0u);                            // uncompressed
    const uint32_t colours = Le32(b, 46) ? Le32(b, 46) : 256;
    const uint32_t pixelsAt = Le32(b, 10);
    EXPECT_EQ(pixelsAt, kFileHeader + kInfoHeader + 4 * colours);
    // 24 pixels of one byte each fill a row exactly (rows pad to 4 bytes).
    EXPECT_EQ(b.size(), pixelsAt + static_cast<size_t>(kSide) * kSide);
    // Every pixel names a palette entry.
    for (size_t i = pixelsAt; i < b.size(); ++i) EXPECT_LT(b[i], colours);
}

TEST(ResourceBitmap, ModuleBitmapDecodesWithAFigureOnABackground) {
    const qv::res::BitmapResource* bmp = qv::res::FindBitmap(BipedResources(), MAKEINTRESOURCE(106));
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->bitmap.width, kSide);
    EXPECT_EQ(bmp->bitmap.height, kSide);
    EXPECT_EQ(bmp->bitmap.bitsPerPixel, kBitsPerPixel);
    EXPECT_FALSE(bmp->bitmap.palette.empty());
    ASSERT_EQ(bmp->bitmap.pixels.size(), static_cast<size_t>(kSide * kSide));
    // The corners are background, the middle of the figure is not, and the picture uses
    // several colours (a figure, not a flat square).
    const uint32_t background = bmp->bitmap.pixels[0];
    EXPECT_EQ(bmp->bitmap.pixels[kSide - 1], background);
    EXPECT_EQ(bmp->bitmap.pixels[kSide * kSide - 1], background);
    EXPECT_NE(bmp->bitmap.pixels[10 * kSide + 12], background);
    const std::set<uint32_t> colours(bmp->bitmap.pixels.begin(), bmp->bitmap.pixels.end());
    EXPECT_GE(colours.size(), 4u);
}

TEST(ResourceBitmap, LoadBitmapFindsItByNumber) {
    HBITMAP h = LoadBitmapA(BipedResources(), MAKEINTRESOURCE(106));
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(DeleteObject(h));
    EXPECT_EQ(LoadBitmapA(BipedResources(), MAKEINTRESOURCE(107)), nullptr);  // a dialog, no bitmap
}

}  // namespace
