// Text for pictures drawn on the CPU (dialogs): a TrueType face rasterised by FreeType,
// anti-aliased, blended into an RGBA image.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qvapp {

// An RGBA picture, rows from the top, 4 bytes a pixel.
struct RgbaImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;

    RgbaImage(int w, int h, uint32_t rgb);
    // Fills [x, x + w) × [y, y + h), clipped to the image, with 0x00RRGGBB.
    void Fill(int x, int y, int w, int h, uint32_t rgb);
    // Mixes rgb into one pixel by coverage (0..255); outside the image nothing happens.
    void Blend(int x, int y, uint32_t rgb, int coverage);
    uint32_t At(int x, int y) const;  // 0x00RRGGBB
};

// A font face at one pixel size (the em square's height in pixels).
class TextFace {
public:
    // The face from a TrueType file; Ok() says whether it loaded.
    TextFace(const std::string& fontFile, int pixelSize);
    ~TextFace();
    TextFace(const TextFace&) = delete;
    TextFace& operator=(const TextFace&) = delete;

    bool Ok() const;
    const std::string& Error() const { return error_; }
    int Ascent() const;      // pixels above the baseline
    int LineHeight() const;  // pixels from one baseline to the next
    // Advance width of UTF-8 text in pixels.
    int Width(const std::string& text);
    // Draws UTF-8 text with its baseline starting at (x, baseline), clipped to the clip box.
    void Draw(RgbaImage& image, int x, int baseline, const std::string& text, uint32_t rgb,
              int clipLeft, int clipTop, int clipRight, int clipBottom);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string error_;
};

// The TrueType file of the font dialogs are drawn with (a condensed sans serif).
std::string DialogFontFile();

}  // namespace qvapp
