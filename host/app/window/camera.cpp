// Orbit, pan and zoom of the window's camera, kept as a target, a framed size and (in
// perspective) a yaw and pitch.
#include "window/camera.h"

#include <algorithm>
#include <cmath>

namespace qvapp::window {
namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;

}  // namespace

void Camera::FrameBox(const Box& box) {
    const Box padded = PaddedBox(box, kMinFramedSize);
    target_ = (padded.min + padded.max) * 0.5f;
    const cpoint3 d = padded.max - padded.min;
    size_ = std::max({d.x, d.y, d.z, kMinSize});
}

void Camera::SetKind(qv::gl::ViewKind kind) { kind_ = kind; }

cpoint3 Camera::Forward() const {
    if (kind_ != qv::gl::ViewKind::Persp) {
        // The named view's own direction: the ray through the middle of its window.
        qv::gl::View v(kind_, 2, 2);
        cpoint3 origin, dir;
        v.Ray(1.0f, 1.0f, origin, dir);
        return dir;
    }
    const float yaw = yawDeg_ * kDegToRad, pitch = pitchDeg_ * kDegToRad;
    // From the camera towards the target: horizontally along (sin yaw, cos yaw), tilted down
    // by pitch.
    return {std::sin(yaw) * std::cos(pitch), std::cos(yaw) * std::cos(pitch), -std::sin(pitch)};
}

void Camera::Orbit(float dx, float dy) {
    kind_ = qv::gl::ViewKind::Persp;
    yawDeg_ += dx * kOrbitDegPerPixel;
    pitchDeg_ = std::clamp(pitchDeg_ + dy * kOrbitDegPerPixel, kMinPitchDeg, kMaxPitchDeg);
}

void Camera::Pan(float dx, float dy, int viewWidth, int viewHeight) {
    // The framed cube fills about the smaller side of the window.
    const float unitsPerPixel = size_ / static_cast<float>(std::max(std::min(viewWidth, viewHeight), 1));
    cpoint3 right = Normalize(CrossProd(Forward(), cpoint3{0, 0, 1}));
    if (Length(right) < 0.5f) right = {1, 0, 0};  // looking straight down: x stays right
    const cpoint3 up = CrossProd(right, Forward());
    target_ = target_ - right * (dx * unitsPerPixel) + up * (dy * unitsPerPixel);
}

void Camera::Zoom(float notches) {
    size_ = std::max(size_ * std::pow(kZoomPerNotch, notches), kMinSize);
}

qv::gl::View Camera::MakeView(int width, int height, int originX, int originY) const {
    qv::gl::View view(kind_, width, height);
    if (kind_ == qv::gl::ViewKind::Persp) view.SetDirection(Forward(), {0, 0, 1});
    const float h = size_ * 0.5f;
    view.Frame(target_ - cpoint3{h, h, h}, target_ + cpoint3{h, h, h});
    view.SetOrigin(originX, originY);
    return view;
}

}  // namespace qvapp::window
