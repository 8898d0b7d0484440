// OpenGL for the host: an offscreen context (Mesa) to draw into and read back, and a viewport
// view (camera, projection) that tools draw their overlays through.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "quorvane/math.h"
#include "quorvane/view.h"

namespace qv::gl {

// An offscreen RGBA context of the given size, current while it lives.
class OffscreenContext {
public:
    OffscreenContext(int width, int height);
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;
    bool Ok() const;
    const std::string& Error() const;
    void MakeCurrent();
    int Width() const;
    int Height() const;
    // The pixels, RGBA, top row first.
    std::vector<unsigned char> ReadPixels() const;
private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Writes RGBA pixels (top row first) as a PNG; false with an error text on failure.
bool WritePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgba, std::string& error);

// Named views of the scene. Scene axes: +z up, the biped faces -y.
enum class ViewKind { Front, Back, Left, Right, Top, Persp };
bool ParseViewKind(const std::string& name, ViewKind& out);

// A viewport: camera and projection over a window of width × height pixels.
class View : public CGLWindow {
public:
    View(ViewKind kind, int width, int height);
    // Frames the camera on a box (world units) so that it fills the view with a margin.
    void Frame(const cpoint3& boxMin, const cpoint3& boxMax);
    // Loads the projection and modelview matrices into the current GL context.
    void Apply() const;
    ViewKind Kind() const { return kind_; }

    // World → window (x right, y down, pixels; z depth 0..1).
    void Project(const cpoint3* in, cpoint3* out, int n) override;
    void Project(cpoint3& out, float x, float y, float z) override;
    void Begin2D() override;
    void End2D() override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }

    // Window point → the world point on the plane z = planeZ (for drags and clicks);
    // false when the ray misses it.
    bool Unproject(float wx, float wy, float planeZ, cpoint3& out) const;
    // Window point → world ray.
    void Ray(float wx, float wy, cpoint3& origin, cpoint3& dir) const;

private:
    ViewKind kind_;
    int width_, height_;
    cmatrix4 viewM_;   // world → camera (row vectors)
    cmatrix4 projM_;   // camera → clip (row vectors)
};

}  // namespace qv::gl
