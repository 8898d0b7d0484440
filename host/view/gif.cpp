// Animated GIF files of rendered frames, through giflib: one palette of at most 256 colours for
// the whole animation (so colours never flicker between frames), looping forever; and reading
// one back (for comparing renders).
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "qvcore/file_write.h"
#include "qvview/gl.h"

namespace qv::gl {

namespace {
constexpr int kBytesPerPixel = 4;          // RGBA
constexpr int kPaletteSize = 256;          // colours a GIF palette holds at most
constexpr int kPaletteSampleFrames = 8;    // frames the palette is chosen from, evenly spaced
constexpr int kCacheBits = 6;              // bits a channel of the nearest-colour cache key
constexpr int kCentisecondMs = 10;         // GIF delays count hundredths of a second
constexpr int kMinDelayCs = 2;             // shorter delays are slowed down by most viewers
const char kLoopBlockName[] = "NETSCAPE2.0";  // the application block that makes GIFs loop

std::string GifError(int code) {
    const char* text = GifErrorString(code);
    return text ? text : "error " + std::to_string(code);
}

// The palette: median cut (giflib's quantiser) over a few frames stacked into one image.
bool ChoosePalette(int width, int height, const std::vector<std::vector<unsigned char>>& frames,
                   std::vector<GifColorType>& palette, std::string& why) {
    const size_t pixels = static_cast<size_t>(width) * height;
    const int samples = std::min<int>(kPaletteSampleFrames, static_cast<int>(frames.size()));
    std::vector<GifByteType> r, g, b;
    for (int s = 0; s < samples; ++s) {
        const auto& rgba = frames[s * (frames.size() - 1) / std::max(samples - 1, 1)];
        for (size_t p = 0; p < pixels; ++p) {
            r.push_back(rgba[p * kBytesPerPixel]);
            g.push_back(rgba[p * kBytesPerPixel + 1]);
            b.push_back(rgba[p * kBytesPerPixel + 2]);
        }
    }
    int size = kPaletteSize;
    palette.assign(kPaletteSize, GifColorType{0, 0, 0});
    std::vector<GifByteType> indices(r.size());
    if (GifQuantizeBuffer(static_cast<unsigned>(width), static_cast<unsigned>(height * samples),
                          &size, r.data(), g.data(), b.data(), indices.data(),
                          palette.data()) == GIF_ERROR) {
        why = "cannot choose a palette";
        return false;
    }
    palette.resize(static_cast<size_t>(std::max(size, 1)));
    return true;
}

// Maps RGBA pixels to the nearest palette entries, remembering each answer by colour.
class NearestColour {
public:
    explicit NearestColour(const std::vector<GifColorType>& palette) : palette_(palette) {
        cache_.fill(-1);
    }
    GifByteType operator()(const unsigned char* px) {
        constexpr int shift = 8 - kCacheBits;
        const int key = ((px[0] >> shift) << (2 * kCacheBits)) | ((px[1] >> shift) << kCacheBits) |
                        (px[2] >> shift);
        if (cache_[key] < 0) cache_[key] = static_cast<int16_t>(Search(px));
        return static_cast<GifByteType>(cache_[key]);
    }
private:
    int Search(const unsigned char* px) const {
        int best = 0, bestDistance = INT_MAX;
        for (size_t i = 0; i < palette_.size(); ++i) {
            const int dr = px[0] - palette_[i].Red, dg = px[1] - palette_[i].Green,
                      db = px[2] - palette_[i].Blue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) best = static_cast<int>(i), bestDistance = distance;
        }
        return best;
    }
    const std::vector<GifColorType>& palette_;
    std::array<int16_t, 1 << (3 * kCacheBits)> cache_;
};

// giflib's output function: the encoded bytes go to the string behind UserData.
int AppendBytes(GifFileType* gif, const GifByteType* bytes, int count) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes),
                                                     static_cast<size_t>(count));
    return count;
}

bool PutLoopBlock(GifFileType* gif) {
    const GifByteType loopForever[] = {1, 0, 0};  // sub-block 1, repeat count 0 = forever
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
           EGifPutExtensionBlock(gif, sizeof kLoopBlockName - 1, kLoopBlockName) != GIF_ERROR &&
           EGifPutExtensionBlock(gif, sizeof loopForever, loopForever) != GIF_ERROR &&
           EGifPutExtensionTrailer(gif) != GIF_ERROR;
}

bool PutFrame(GifFileType* gif, int width, int height, const std::vector<unsigned char>& rgba,
              int delayCs, NearestColour& nearest) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = delayCs;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
            GIF_ERROR ||
        EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_ERROR)
        return false;
    std::vector<GifByteType> line(width);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = rgba.data() + static_cast<size_t>(y) * width * kBytesPerPixel;
        for (int x = 0; x < width; ++x) line[x] = nearest(row + x * kBytesPerPixel);
        if (EGifPutLine(gif, line.data(), width) == GIF_ERROR) return false;
    }
    return true;
}
}  // namespace

bool WriteGif(const std::string& path, int width, int height,
              const std::vector<std::vector<unsigned char>>& frames, int delayMs,
              std::string& error) {
    const size_t bytes = static_cast<size_t>(width) * height * kBytesPerPixel;
    if (width < 1 || height < 1 || frames.empty() ||
        std::any_of(frames.begin(), frames.end(), [&](const auto& f) { return f.size() != bytes; })) {
        error = "GIF " + path + ": frames do not make " + std::to_string(width) + "x" +
                std::to_string(height) + " RGBA pictures";
        return false;
    }
    std::vector<GifColorType> palette;
    std::string why;
    if (!ChoosePalette(width, height, frames, palette, why)) {
        error = "GIF " + path + ": " + why;
        return false;
    }
    // Encoded in memory, then written whole: a failed write leaves any old file as it was.
    std::string encoded;
    int code = 0;
    GifFileType* gif = EGifOpen(&encoded, AppendBytes, &code);
    if (!gif) {
        error = "GIF " + path + ": cannot start the writer (" + GifError(code) + ")";
        return false;
    }
    EGifSetGifVersion(gif, true);
    std::vector<GifColorType> padded = palette;  // a GIF palette has 2^k entries
    padded.resize(kPaletteSize, GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(kPaletteSize, padded.data());
    const int delayCs = std::max(kMinDelayCs, (delayMs + kCentisecondMs / 2) / kCentisecondMs);
    NearestColour nearest(palette);
    bool ok = map && EGifPutScreenDesc(gif, width, height, 8, 0, map) != GIF_ERROR &&
              PutLoopBlock(gif);
    for (size_t i = 0; ok && i < frames.size(); ++i)
        ok = PutFrame(gif, width, height, frames[i], delayCs, nearest);
    const int failure = gif->Error;
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &code) == GIF_ERROR && ok) {
        error = "GIF " + path + ": " + GifError(code);
        return false;
    }
    if (!ok) {
        error = "GIF " + path + ": " + GifError(failure);
        return false;
    }
    return qv::WriteFileReplacing(path, encoded, error);
}

bool ReadGif(const std::string& path, GifFrames& out, std::string& error) {
    int code = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
    if (!gif) {
        error = "GIF " + path + ": cannot open for reading (" + GifError(code) + ")";
        return false;
    }
    if (DGifSlurp(gif) == GIF_ERROR) {
        error = "GIF " + path + ": " + GifError(gif->Error);
        DGifCloseFile(gif, &code);
        return false;
    }
    GifFrames frames;
    frames.width = gif->SWidth;
    frames.height = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap
                                                             : gif->SColorMap;
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        frames.delaysMs.push_back(control.DelayTime * kCentisecondMs);
        std::vector<unsigned char> rgba(static_cast<size_t>(frames.width) * frames.height *
                                        kBytesPerPixel, 0);
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const int px = d.Left + x, py = d.Top + y;
                if (!map || px >= frames.width || py >= frames.height) continue;
                const int index = image.RasterBits[static_cast<size_t>(y) * d.Width + x];
                if (index >= map->ColorCount) continue;
                unsigned char* p = rgba.data() + (static_cast<size_t>(py) * frames.width + px) *
                                                     kBytesPerPixel;
                p[0] = map->Colors[index].Red;
                p[1] = map->Colors[index].Green;
                p[2] = map->Colors[index].Blue;
                p[3] = 255;
            }
        frames.rgba.push_back(std::move(rgba));
    }
    DGifCloseFile(gif, &code);
    out = std::move(frames);
    return true;
}

}  // namespace qv::gl
