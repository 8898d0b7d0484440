// FreeType behind TextFace: glyphs rendered to 8-bit coverage and blended, kerning left out
// (dialog captions are short).
#include "text_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace qvapp {
namespace {

// Code points of UTF-8 text; a malformed byte stands for itself (Latin-1).
std::vector<uint32_t> CodePoints(const std::string& text) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        uint32_t cp = extra == 0 ? b : b & (0x3F >> extra);
        bool ok = i + extra < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            ok = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok || (b >= 0x80 && b < 0xC0)) {
            cp = b;
            extra = 0;
        }
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

}  // namespace

RgbaImage::RgbaImage(int w, int h, uint32_t rgb) : width(w), height(h), rgba(size_t(w) * h * 4) {
    Fill(0, 0, w, h, rgb);
}

void RgbaImage::Fill(int x, int y, int w, int h, uint32_t rgb) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, width), y1 = std::min(y + h, height);
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px) {
            uint8_t* p = &rgba[(size_t(py) * width + px) * 4];
            p[0] = (rgb >> 16) & 255;
            p[1] = (rgb >> 8) & 255;
            p[2] = rgb & 255;
            p[3] = 255;
        }
}

void RgbaImage::Blend(int x, int y, uint32_t rgb, int coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0) return;
    uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
    const int a = std::min(coverage, 255);
    const int c[3] = {int((rgb >> 16) & 255), int((rgb >> 8) & 255), int(rgb & 255)};
    for (int k = 0; k < 3; ++k) p[k] = static_cast<uint8_t>((c[k] * a + p[k] * (255 - a) + 127) / 255);
}

uint32_t RgbaImage::At(int x, int y) const {
    const uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

struct TextFace::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

TextFace::TextFace(const std::string& fontFile, int pixelSize) : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->library)) {
        error_ = "the font library did not start";
        return;
    }
    if (FT_New_Face(impl_->library, fontFile.c_str(), 0, &impl_->face)) {
        error_ = "cannot load the font " + fontFile;
        impl_->face = nullptr;
        return;
    }
    FT_Set_Pixel_Sizes(impl_->face, 0, static_cast<FT_UInt>(pixelSize));
}

TextFace::~TextFace() {
    if (impl_->face) FT_Done_Face(impl_->face);
    if (impl_->library) FT_Done_FreeType(impl_->library);
}

bool TextFace::Ok() const { return impl_->face != nullptr; }

int TextFace::Ascent() const { return Ok() ? static_cast<int>(impl_->face->size->metrics.ascender >> 6) : 0; }

int TextFace::LineHeight() const { return Ok() ? static_cast<int>(impl_->face->size->metrics.height >> 6) : 0; }

int TextFace::Width(const std::string& text) {
    if (!Ok()) return 0;
    long width = 0;
    for (uint32_t cp : CodePoints(text))
        if (!FT_Load_Char(impl_->face, cp, FT_LOAD_DEFAULT)) width += impl_->face->glyph->advance.x;
    return static_cast<int>(width >> 6);
}

void TextFace::Draw(RgbaImage& image, int x, int baseline, const std::string& text, uint32_t rgb,
                    int clipLeft, int clipTop, int clipRight, int clipBottom) {
    if (!Ok()) return;
    long pen = long(x) << 6;  // 26.6 fixed point
    for (uint32_t cp : CodePoints(text)) {
        if (FT_Load_Char(impl_->face, cp, FT_LOAD_RENDER)) continue;
        const FT_GlyphSlot g = impl_->face->glyph;
        const int left = static_cast<int>(pen >> 6) + g->bitmap_left;
        const int top = baseline - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row)
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const int px = left + static_cast<int>(col), py = top + static_cast<int>(row);
                if (px < clipLeft || px >= clipRight || py < clipTop || py >= clipBottom) continue;
                image.Blend(px, py, rgb, g->bitmap.buffer[row * g->bitmap.pitch + col]);
            }
        pen += g->advance.x;
    }
}

std::string DialogFontFile() { return QV_DIALOG_FONT_FILE; }

}  // namespace qvapp
