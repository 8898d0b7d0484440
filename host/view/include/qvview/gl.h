// OpenGL for the host: an offscreen context (Mesa) to draw into and read back, PNG and GIF
// files of what it drew, and a viewport view (camera, projection) that tools draw their
// overlays through.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "quorvane/math.h"
#include "quorvane/view.h"

namespace qv::gl {

// An offscreen RGBA context (8 bits a channel, 24-bit depth) of the given size, drawing into a
// buffer it owns. It is made current when created; Ok() is false (with Error()) when Mesa
// refused it or the size is not 1..kMaxSize pixels.
class OffscreenContext {
public:
    static constexpr int kMaxSize = 8192;  // pixels, either side

    OffscreenContext(int width, int height);
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;
    bool Ok() const;
    const std::string& Error() const;
    void MakeCurrent();
    int Width() const;
    int Height() const;
    // Finishes drawing and answers the pixels, RGBA, top row first (empty when not Ok).
    std::vector<unsigned char> ReadPixels() const;
    // Finishes drawing and adds each byte of the pixels (RGBA, top row first) to the sums; sums
    // of another size are made the size of the picture and zeroed first. The samples of a
    // supersampled picture add up there.
    void AddPixelsTo(std::vector<std::uint16_t>& sums) const;
private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Writes RGBA pixels (top row first) as an 8-bit RGBA PNG; false with an error text on failure.
bool WritePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgba, std::string& error);
// Reads a PNG of any colour type into RGBA pixels (top row first); false with an error text.
bool ReadPng(const std::string& path, int& width, int& height, std::vector<unsigned char>& rgba,
             std::string& error);

// Writes frames of RGBA pixels (top row first, each width × height) as a GIF animation that
// loops forever, each frame shown delayMs milliseconds (rounded to hundredths of a second, at
// least two), all frames sharing one palette of at most 256 colours.
bool WriteGif(const std::string& path, int width, int height,
              const std::vector<std::vector<unsigned char>>& frames, int delayMs,
              std::string& error);
// A GIF read back: its frames as RGBA (top row first) and each frame's delay.
struct GifFrames {
    int width = 0, height = 0;
    std::vector<std::vector<unsigned char>> rgba;
    std::vector<int> delaysMs;
};
bool ReadGif(const std::string& path, GifFrames& out, std::string& error);

// Named views of the scene. Scene axes: +z up, the biped faces -y (its left side is +x).
//   Front: camera on the -y side looking along +y (sees the biped's face); +x to the right.
//   Back:  camera on the +y side looking along -y; -x to the right.
//   Left:  camera on the -x side looking along +x; -y to the right.
//   Right: camera on the +x side looking along -x; +y to the right.
//   Top:   camera above looking down -z; +x to the right, +y up.
//   Persp: camera front-left-above (-x, -y, +z side) looking at the centre, perspective.
// The five axis views are orthographic; +z is up on the screen in all but Top.
enum class ViewKind { Front, Back, Left, Right, Top, Persp };
// "front", "back", "left", "right", "top", "persp" (or "perspective"), any case.
bool ParseViewKind(const std::string& name, ViewKind& out);
const char* ViewKindName(ViewKind kind);

// A viewport: camera and projection over a window of width × height pixels. Window
// coordinates run continuously from (0, 0), the top-left corner of the top-left pixel, to
// (width, height); pixel (i, j) covers [i, i+1) × [j, j+1).
class View : public CGLWindow {
public:
    // Framed on the box (-5, -5, 0) .. (5, 5, 10) until Frame is called.
    View(ViewKind kind, int width, int height);
    // Frames the camera on a box (world units) so that it fills the view with a margin of
    // kFrameMargin on every side, centred.
    void Frame(const cpoint3& boxMin, const cpoint3& boxMax);
    // Replaces the named view's direction for the next Frame: the camera looks along forward
    // (world, need not be unit) with upHint roughly up on the screen (an orbiting camera).
    void SetDirection(const cpoint3& forward, const cpoint3& upHint);
    // Where the view's window sits in a larger framebuffer (pixels from its bottom-left
    // corner, as glViewport counts them); Apply sets the GL viewport there. Default (0, 0).
    void SetOrigin(int x, int y) { originX_ = x; originY_ = y; }
    // Shifts what Apply projects by a fraction of a pixel (window pixels: x right, y down), for
    // drawing one sample of a supersampled picture; Project, Begin2D and Ray are not shifted.
    void SetSubpixelShift(float dx, float dy) { shiftX_ = dx; shiftY_ = dy; }
    // Sets the GL viewport and loads the projection and modelview matrices into the current
    // context; leaves the matrix mode at GL_MODELVIEW.
    void Apply() const;
    ViewKind Kind() const { return kind_; }
    bool IsPerspective() const { return kind_ == ViewKind::Persp; }

    // World → window (x right, y down, pixels; z depth 0..1 as the depth buffer holds it).
    void Project(const cpoint3* in, cpoint3* out, int n) override;
    void Project(cpoint3& out, float x, float y, float z) override;
    // Pushes both matrices and loads window coordinates: glVertex3f(x, y, z) with x, y as
    // Project answers them lands on that pixel, and z (0..1) at that depth.
    void Begin2D() override;
    // Pops what Begin2D pushed; the matrix mode is GL_MODELVIEW afterwards.
    void End2D() override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }

    // Window point → the world point on the plane z = planeZ (for drags and clicks);
    // false when the ray runs parallel to the plane or meets it behind the camera.
    bool Unproject(float wx, float wy, float planeZ, cpoint3& out) const;
    // Window point → world ray: origin on the near plane, unit direction into the scene.
    void Ray(float wx, float wy, cpoint3& origin, cpoint3& dir) const;

    // The camera's position (world).
    cpoint3 Eye() const { return eye_; }
    const cmatrix4& ViewMatrix() const { return viewM_; }
    const cmatrix4& ProjectionMatrix() const { return projM_; }

    static constexpr float kFrameMargin = 0.1f;       // fraction of the view on each side
    static constexpr float kPerspFovYDeg = 45.0f;     // vertical field of view, degrees

private:
    ViewKind kind_;
    int width_, height_;
    int originX_ = 0, originY_ = 0;
    float shiftX_ = 0.0f, shiftY_ = 0.0f;  // window pixels
    bool ownDirection_ = false;  // forward_/upHint_ set by SetDirection
    cpoint3 forward_, upHint_;
    cpoint3 eye_;
    cmatrix4 viewM_;   // world → camera (row vectors)
    cmatrix4 projM_;   // camera → clip (row vectors)
    cmatrix4 toClip_;  // viewM_ × projM_: world → clip
    cmatrix4 fromClip_;  // inverse of toClip_
};

}  // namespace qv::gl
