// Decoding of .bmp files named by BITMAP resources: the file header, the info header, the
// colour table and uncompressed pixel rows (bottom-up unless the height is negative).
#include <cstdint>
#include <cstdlib>

#include "rc_parser.h"

namespace qv::res {
namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;  // BITMAPINFOHEADER; later versions are larger
constexpr uint32_t kRgb = 0;             // no compression
constexpr uint32_t kBitFields = 3;       // uncompressed with channel masks (16 and 32 bits)
constexpr int kMaxSide = 16384;          // pixels; larger is treated as a damaged file

uint32_t U32(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

// Scales a channel taken out by `mask` to 0..255.
uint32_t Channel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask & 1u)) {
        mask >>= 1;
        ++shift;
    }
    uint32_t v = (value >> shift) & mask;
    return static_cast<uint32_t>((static_cast<uint64_t>(v) * 255 + mask / 2) / mask);
}

}  // namespace

bool DecodeBmp(const std::string& b, Bitmap& out, std::string& error) {
    if (b.size() < kFileHeaderBytes + kInfoHeaderBytes || b[0] != 'B' || b[1] != 'M') {
        error = "not a BMP file";
        return false;
    }
    uint32_t dataOffset = U32(b, 10);
    uint32_t infoSize = U32(b, 14);
    if (infoSize < kInfoHeaderBytes || kFileHeaderBytes + infoSize > b.size()) {
        error = "unsupported BMP header";
        return false;
    }
    int32_t width = static_cast<int32_t>(U32(b, 18));
    int32_t height = static_cast<int32_t>(U32(b, 22));
    int bpp = U16(b, 28);
    uint32_t compression = U32(b, 30);
    uint32_t colours = U32(b, 46);
    bool topDown = height < 0;
    height = std::abs(height);
    if (width <= 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
        error = "bad size " + std::to_string(width) + " x " + std::to_string(height);
        return false;
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        error = "unsupported bits per pixel " + std::to_string(bpp);
        return false;
    }
    if (compression != kRgb && !(compression == kBitFields && (bpp == 16 || bpp == 32))) {
        error = "compressed BMP files are not supported";
        return false;
    }
    // Channel masks: explicit after the header with BI_BITFIELDS, else the defaults.
    uint32_t rMask = bpp == 16 ? 0x7C00 : 0xFF0000, gMask = bpp == 16 ? 0x03E0 : 0x00FF00,
             bMask = bpp == 16 ? 0x001F : 0x0000FF;
    size_t tableAt = kFileHeaderBytes + infoSize;
    if (compression == kBitFields) {
        size_t masksAt = infoSize >= 52 ? kFileHeaderBytes + kInfoHeaderBytes : tableAt;
        if (masksAt + 12 > b.size()) {
            error = "truncated channel masks";
            return false;
        }
        rMask = U32(b, masksAt), gMask = U32(b, masksAt + 4), bMask = U32(b, masksAt + 8);
        if (infoSize < 52) tableAt += 12;
    }
    Bitmap bm;
    bm.width = width;
    bm.height = height;
    bm.bitsPerPixel = bpp;
    if (bpp <= 8) {
        size_t n = colours ? colours : (1u << bpp);
        if (n > (1u << bpp) || tableAt + n * 4 > b.size()) {
            error = "bad colour table";
            return false;
        }
        for (size_t i = 0; i < n; ++i) bm.palette.push_back(U32(b, tableAt + i * 4) & 0xFFFFFF);
    }
    size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    if (dataOffset > b.size() || stride * height > b.size() - dataOffset) {
        error = "truncated pixel data";
        return false;
    }
    bm.pixels.resize(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        size_t at = dataOffset + stride * row;
        int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            uint32_t p = 0;
            if (bpp <= 8) {
                size_t bit = static_cast<size_t>(x) * bpp;
                uint8_t byte = static_cast<uint8_t>(b[at + bit / 8]);
                uint32_t index = (byte >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                p = index < bm.palette.size() ? bm.palette[index] : 0;
            } else if (bpp == 24) {
                size_t k = at + x * 3;
                p = static_cast<uint8_t>(b[k]) | static_cast<uint8_t>(b[k + 1]) << 8 |
                    static_cast<uint8_t>(b[k + 2]) << 16;
            } else {
                uint32_t v = bpp == 16 ? U16(b, at + x * 2) : U32(b, at + x * 4);
                p = Channel(v, rMask) << 16 | Channel(v, gMask) << 8 | Channel(v, bMask);
            }
            bm.pixels[static_cast<size_t>(y) * width + x] = p;
        }
    }
    out = std::move(bm);
    return true;
}

}  // namespace qv::res
