// The offscreen OpenGL context: a Mesa context rendering into a pixel buffer the host owns,
// for tests and for rendering views to image files without a window.
#include "qvview/gl.h"

#include <GL/gl.h>
#include <GL/osmesa.h>

#include <cstring>

namespace qv::gl {

namespace {
constexpr GLint kDepthBits = 24;
constexpr GLint kStencilBits = 0;
constexpr int kBytesPerPixel = 4;  // RGBA, 8 bits a channel
}  // namespace

struct OffscreenContext::Impl {
    OSMesaContext context = nullptr;
    int width = 0, height = 0;
    std::vector<unsigned char> buffer;  // bottom row first, as Mesa writes it
    std::string error;

    void FinishDrawing();
};

OffscreenContext::OffscreenContext(int width, int height) : impl_(std::make_unique<Impl>()) {
    if (width < 1 || height < 1 || width > kMaxSize || height > kMaxSize) {
        impl_->error = "offscreen context: size " + std::to_string(width) + "x" +
                       std::to_string(height) + " is not 1.." + std::to_string(kMaxSize) +
                       " pixels a side";
        return;
    }
    impl_->context = OSMesaCreateContextExt(OSMESA_RGBA, kDepthBits, kStencilBits, 0, nullptr);
    if (!impl_->context) {
        impl_->error = "offscreen context: Mesa could not create an RGBA context";
        return;
    }
    impl_->width = width;
    impl_->height = height;
    impl_->buffer.assign(static_cast<size_t>(width) * height * kBytesPerPixel, 0);
    MakeCurrent();
}

OffscreenContext::~OffscreenContext() {
    if (impl_ && impl_->context) OSMesaDestroyContext(impl_->context);
}

bool OffscreenContext::Ok() const { return impl_->context != nullptr && impl_->error.empty(); }
const std::string& OffscreenContext::Error() const { return impl_->error; }
int OffscreenContext::Width() const { return impl_->width; }
int OffscreenContext::Height() const { return impl_->height; }

void OffscreenContext::MakeCurrent() {
    if (!impl_->context) return;
    if (!OSMesaMakeCurrent(impl_->context, impl_->buffer.data(), GL_UNSIGNED_BYTE, impl_->width,
                           impl_->height)) {
        impl_->error = "offscreen context: Mesa could not make the context current";
    }
}

// Drawing issued to this context must land in the buffer before it is read. Mesa may still be
// rasterising it (also after another context was made current), so this context is made
// current for a glFinish and the one current before is put back on its own buffer.
void OffscreenContext::Impl::FinishDrawing() {
    OSMesaContext previous = OSMesaGetCurrentContext();
    if (previous == context) {
        glFinish();
        return;
    }
    GLint prevWidth = 0, prevHeight = 0, prevFormat = 0;
    void* prevBuffer = nullptr;
    const bool restorable =
        previous && OSMesaGetColorBuffer(previous, &prevWidth, &prevHeight, &prevFormat, &prevBuffer);
    OSMesaMakeCurrent(context, buffer.data(), GL_UNSIGNED_BYTE, width, height);
    glFinish();
    if (restorable)
        OSMesaMakeCurrent(previous, prevBuffer, GL_UNSIGNED_BYTE, prevWidth, prevHeight);
}

std::vector<unsigned char> OffscreenContext::ReadPixels() const {
    if (!Ok()) return {};
    impl_->FinishDrawing();
    const size_t rowBytes = static_cast<size_t>(impl_->width) * kBytesPerPixel;
    std::vector<unsigned char> out(impl_->buffer.size());
    for (int row = 0; row < impl_->height; ++row) {
        const unsigned char* src = impl_->buffer.data() + (impl_->height - 1 - row) * rowBytes;
        std::memcpy(out.data() + row * rowBytes, src, rowBytes);
    }
    return out;
}

void OffscreenContext::AddPixelsTo(std::vector<std::uint16_t>& sums) const {
    if (!Ok()) return;
    impl_->FinishDrawing();
    const size_t rowBytes = static_cast<size_t>(impl_->width) * kBytesPerPixel;
    if (sums.size() != impl_->buffer.size()) sums.assign(impl_->buffer.size(), 0);
    for (int row = 0; row < impl_->height; ++row) {
        const unsigned char* __restrict src =
            impl_->buffer.data() + (impl_->height - 1 - row) * rowBytes;
        std::uint16_t* __restrict dst = sums.data() + row * rowBytes;
#pragma omp simd
        for (size_t i = 0; i < rowBytes; ++i) dst[i] = static_cast<std::uint16_t>(dst[i] + src[i]);
    }
}

}  // namespace qv::gl
