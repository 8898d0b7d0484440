// PNG files of rendered views: writing RGBA pixels and reading them back (for comparing
// renders), through libpng. The image is encoded in memory and then replaces the file whole.
#include "qvview/gl.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "qvcore/file_write.h"

namespace qv::gl {

namespace {
constexpr int kBitDepth = 8;       // bits a channel
constexpr int kBytesPerPixel = 4;  // RGBA
// Renders are previews written often: zlib's fastest level, and the one row filter that
// suits flat backgrounds and smooth shading (each byte less the one to its left), in place of
// the default level and trying every filter on every row (about four times the time).
constexpr int kPreviewCompressionLevel = 1;
constexpr int kPreviewRowFilter = PNG_FILTER_SUB;

struct FileCloser {
    void operator()(FILE* f) const { if (f) std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// libpng reports through longjmp; the message is kept for the caller.
void OnPngError(png_structp png, png_const_charp message) {
    auto* text = static_cast<std::string*>(png_get_error_ptr(png));
    if (text) *text = message;
    longjmp(png_jmpbuf(png), 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

// libpng's output: the encoded bytes are appended to a string.
void AppendPngBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}
void FlushNothing(png_structp) {}

bool WriteRows(std::string& encoded, int width, int height, const unsigned char* rgba,
               std::string& why) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &why, OnPngError, OnPngWarning);
    if (!png) { why = "cannot start the PNG writer"; return false; }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        if (why.empty()) why = "PNG writer failed";
        return false;
    }
    png_set_write_fn(png, &encoded, AppendPngBytes, FlushNothing);
    png_set_compression_level(png, kPreviewCompressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, kPreviewRowFilter);
    png_set_IHDR(png, info, width, height, kBitDepth, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t rowBytes = static_cast<size_t>(width) * kBytesPerPixel;
    for (int row = 0; row < height; ++row)
        png_write_row(png, const_cast<png_bytep>(rgba + row * rowBytes));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Reads the whole image. Everything changed after setjmp lives in the caller (a longjmp back
// into this frame must find no local object it modified).
bool ReadRows(FILE* file, int& width, int& height, std::vector<unsigned char>& rgba,
              std::vector<png_bytep>& rows, std::string& why) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &why, OnPngError, OnPngWarning);
    if (!png) { why = "cannot start the PNG reader"; return false; }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        if (why.empty()) why = "PNG reader failed";
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    // Whatever the stored form, hand out 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    width = static_cast<int>(png_get_image_width(png, info));
    height = static_cast<int>(png_get_image_height(png, info));
    const size_t rowBytes = static_cast<size_t>(width) * kBytesPerPixel;
    rgba.assign(rowBytes * height, 0);
    rows.resize(height);
    for (int row = 0; row < height; ++row) rows[row] = rgba.data() + row * rowBytes;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}
}  // namespace

bool WritePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgba, std::string& error) {
    if (width < 1 || height < 1 ||
        rgba.size() != static_cast<size_t>(width) * height * kBytesPerPixel) {
        error = "PNG " + path + ": " + std::to_string(rgba.size()) + " bytes do not make " +
                std::to_string(width) + "x" + std::to_string(height) + " RGBA pixels";
        return false;
    }
    std::string encoded, why;
    if (!WriteRows(encoded, width, height, rgba.data(), why)) {
        error = "PNG " + path + ": " + why;
        return false;
    }
    return qv::WriteFileReplacing(path, encoded, error);
}

bool ReadPng(const std::string& path, int& width, int& height, std::vector<unsigned char>& rgba,
             std::string& error) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = "PNG " + path + ": cannot open for reading";
        return false;
    }
    unsigned char signature[8] = {};
    if (std::fread(signature, 1, sizeof signature, file.get()) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        error = "PNG " + path + ": not a PNG file";
        return false;
    }
    std::rewind(file.get());
    int w = 0, h = 0;
    std::vector<unsigned char> pixels;
    std::vector<png_bytep> rows;
    std::string why;
    if (!ReadRows(file.get(), w, h, pixels, rows, why)) {
        error = "PNG " + path + ": " + why;
        return false;
    }
    width = w;
    height = h;
    rgba = std::move(pixels);
    return true;
}

}  // namespace qv::gl
