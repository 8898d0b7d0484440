// Decoding of .bmp files named by BITMAP resources: the file header, the info header, the
// colour table and uncompressed pixel rows (bottom-up unless the height is negative).
#include <cstdint>
#include <cstdlib>

#include "rc_parser.h"

namespace qv::res {
namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;     // BITMAPINFOHEADER; later versions are larger
constexpr size_t kMasksInHeaderBytes = 52;  // info headers this large hold the channel masks
constexpr size_t kMasksBytes = 12;          // red, green and blue masks
constexpr uint32_t kRgb = 0;                // no compression
constexpr uint32_t kBitFields = 3;          // uncompressed with channel masks (16 and 32 bits)
constexpr int kMaxSide = 16384;             // pixels; larger is treated as a damaged file

// Byte offsets of the header fields read, from the start of the file.
constexpr size_t kAtDataOffset = 10;
constexpr size_t kAtInfoSize = 14;
constexpr size_t kAtWidth = 18;
constexpr size_t kAtHeight = 22;
constexpr size_t kAtBitsPerPixel = 28;
constexpr size_t kAtCompression = 30;
constexpr size_t kAtColoursUsed = 46;

// Little-endian 32-bit and 16-bit values at byte `at`.
uint32_t U32(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) |
                                 static_cast<uint8_t>(b[at + 1]) << 8);
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

struct BmpHeader {
    uint32_t dataOffset = 0;  // where the pixel rows start
    uint32_t infoSize = 0;
    int32_t width = 0;
    int32_t height = 0;       // positive; topDown tells the row order
    bool topDown = false;
    int bpp = 0;
    uint32_t compression = kRgb;
    uint32_t coloursUsed = 0;  // 0: all 2^bpp
};

struct ChannelMasks {
    uint32_t r, g, b;
};

// The file and info headers, with the sizes, depths and compressions this decoder reads.
bool ReadHeader(const std::string& b, BmpHeader& h, std::string& error) {
    if (b.size() < kFileHeaderBytes + kInfoHeaderBytes || b[0] != 'B' || b[1] != 'M') {
        error = "not a BMP file";
        return false;
    }
    h.dataOffset = U32(b, kAtDataOffset);
    h.infoSize = U32(b, kAtInfoSize);
    if (h.infoSize < kInfoHeaderBytes || kFileHeaderBytes + h.infoSize > b.size()) {
        error = "unsupported BMP header";
        return false;
    }
    h.width = static_cast<int32_t>(U32(b, kAtWidth));
    h.height = static_cast<int32_t>(U32(b, kAtHeight));
    h.bpp = U16(b, kAtBitsPerPixel);
    h.compression = U32(b, kAtCompression);
    h.coloursUsed = U32(b, kAtColoursUsed);
    h.topDown = h.height < 0;
    h.height = std::abs(h.height);
    if (h.width <= 0 || h.height == 0 || h.width > kMaxSide || h.height > kMaxSide) {
        error = "bad size " + std::to_string(h.width) + " x " + std::to_string(h.height);
        return false;
    }
    const int bpp = h.bpp;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        error = "unsupported bits per pixel " + std::to_string(bpp);
        return false;
    }
    if (h.compression != kRgb && !(h.compression == kBitFields && (bpp == 16 || bpp == 32))) {
        error = "compressed BMP files are not supported";
        return false;
    }
    return true;
}

// Channel masks: explicit after the header with BI_BITFIELDS, else the defaults. tableAt, where
// the colour table starts, moves past masks that follow a short header.
bool ReadMasks(const std::string& b, const BmpHeader& h, ChannelMasks& m, size_t& tableAt,
               std::string& error) {
    m = h.bpp == 16 ? ChannelMasks{0x7C00, 0x03E0, 0x001F}
                    : ChannelMasks{0xFF0000, 0x00FF00, 0x0000FF};
    if (h.compression != kBitFields) return true;
    size_t masksAt =
        h.infoSize >= kMasksInHeaderBytes ? kFileHeaderBytes + kInfoHeaderBytes : tableAt;
    if (masksAt + kMasksBytes > b.size()) {
        error = "truncated channel masks";
        return false;
    }
    m = {U32(b, masksAt), U32(b, masksAt + 4), U32(b, masksAt + 8)};
    if (h.infoSize < kMasksInHeaderBytes) tableAt += kMasksBytes;
    return true;
}

// The colour table of 1, 4 and 8 bits per pixel: coloursUsed entries, or all 2^bpp.
bool ReadPalette(const std::string& b, const BmpHeader& h, size_t tableAt,
                 std::vector<uint32_t>& palette, std::string& error) {
    size_t n = h.coloursUsed ? h.coloursUsed : (1u << h.bpp);
    if (n > (1u << h.bpp) || tableAt + n * 4 > b.size()) {
        error = "bad colour table";
        return false;
    }
    for (size_t i = 0; i < n; ++i) palette.push_back(U32(b, tableAt + i * 4) & 0xFFFFFF);
    return true;
}

// Pixel x of the row starting at rowAt, as 0x00RRGGBB.
uint32_t ReadPixel(const std::string& b, size_t rowAt, int x, int bpp, const ChannelMasks& m,
                   const std::vector<uint32_t>& palette) {
    if (bpp <= 8) {
        size_t bit = static_cast<size_t>(x) * bpp;
        uint8_t byte = static_cast<uint8_t>(b[rowAt + bit / 8]);
        uint32_t index = (byte >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        return index < palette.size() ? palette[index] : 0;
    }
    if (bpp == 24) {
        size_t k = rowAt + x * 3;
        return static_cast<uint8_t>(b[k]) | static_cast<uint8_t>(b[k + 1]) << 8 |
               static_cast<uint8_t>(b[k + 2]) << 16;
    }
    uint32_t v = bpp == 16 ? U16(b, rowAt + x * 2) : U32(b, rowAt + x * 4);
    return Channel(v, m.r) << 16 | Channel(v, m.g) << 8 | Channel(v, m.b);
}

}  // namespace

bool DecodeBmp(const std::string& b, Bitmap& out, std::string& error) {
    BmpHeader h;
    if (!ReadHeader(b, h, error)) return false;
    ChannelMasks masks;
    size_t tableAt = kFileHeaderBytes + h.infoSize;
    if (!ReadMasks(b, h, masks, tableAt, error)) return false;
    Bitmap bm;
    bm.width = h.width;
    bm.height = h.height;
    bm.bitsPerPixel = h.bpp;
    if (h.bpp <= 8 && !ReadPalette(b, h, tableAt, bm.palette, error)) return false;
    // Rows are padded to whole 32-bit words.
    size_t stride = ((static_cast<size_t>(h.width) * h.bpp + 31) / 32) * 4;
    if (h.dataOffset > b.size() || stride * h.height > b.size() - h.dataOffset) {
        error = "truncated pixel data";
        return false;
    }
    bm.pixels.resize(static_cast<size_t>(h.width) * h.height);
    for (int row = 0; row < h.height; ++row) {
        size_t at = h.dataOffset + stride * row;
        int y = h.topDown ? row : h.height - 1 - row;
        for (int x = 0; x < h.width; ++x)
            bm.pixels[static_cast<size_t>(y) * h.width + x] =
                ReadPixel(b, at, x, h.bpp, masks, bm.palette);
    }
    out = std::move(bm);
    return true;
}

}  // namespace qv::res
