// The window's viewport camera: a named view, or a perspective camera orbiting a target,
// with pan and zoom; it makes the qv::gl::View that draws the scene and maps the mouse.
#pragma once

#include "qvview/gl.h"
#include "quorvane/math.h"
#include "scene_view.h"

namespace qvapp::window {

class Camera {
public:
    static constexpr float kOrbitDegPerPixel = 0.4f;
    static constexpr float kMinPitchDeg = -89.0f;  // degrees below the horizon, looking up
    static constexpr float kMaxPitchDeg = 89.0f;   // degrees above, looking down
    static constexpr float kZoomPerNotch = 0.85f;  // size factor of one wheel notch inwards
    static constexpr float kMinSize = 0.05f;       // host units: the smallest box framed

    // Frames the box (the whole scene at start, or on "Frame All").
    void FrameBox(const Box& box);
    // Switches to a named view; orbiting turns an axis view into the perspective one.
    void SetKind(qv::gl::ViewKind kind);
    qv::gl::ViewKind Kind() const { return kind_; }
    // Mouse drags in window pixels: orbit turns about the target, pan slides it across the
    // view by as much as the scene under the mouse moved.
    void Orbit(float dx, float dy);
    void Pan(float dx, float dy, int viewWidth, int viewHeight);
    // Wheel notches, positive towards the scene.
    void Zoom(float notches);
    // The view over a window of width × height pixels whose bottom-left corner sits at
    // (originX, originY) in the framebuffer.
    qv::gl::View MakeView(int width, int height, int originX = 0, int originY = 0) const;
    // The side of the cube framed about the target (host units).
    float Size() const { return size_; }
    // The camera's viewing direction (world, unit).
    cpoint3 Forward() const;

private:
    qv::gl::ViewKind kind_ = qv::gl::ViewKind::Persp;
    float yawDeg_ = 45.0f;     // about +z, from +y towards +x: the default perspective's yaw
    float pitchDeg_ = 35.26f;  // above the horizon: atan(1/sqrt(2)), the default's (1,1,-1) look
    cpoint3 target_{0, 0, 5};
    float size_ = 10.0f;       // host units: the side of the cube framed about the target
};

}  // namespace qvapp::window
