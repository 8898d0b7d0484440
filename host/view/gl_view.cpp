// Viewport views: the camera of each named view, framing a box, the GL matrices, and the
// mapping between world points and window pixels (for overlays, clicks and drags).
//
// Matrices hold row vectors (p' = p · M, row 3 the translation), as everywhere in the host.
// Such a matrix, stored row after row, is exactly the column-major array OpenGL expects for
// the same transform, so it is loaded with glLoadMatrixf as it stands.
#include "qvview/gl.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace qv::gl {

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kDegToRad = kPi / 180.0f;
const cpoint3 kDefaultBoxMin{-5.0f, -5.0f, 0.0f};  // host units
const cpoint3 kDefaultBoxMax{5.0f, 5.0f, 10.0f};
constexpr float kMinRadius = 1e-3f;        // host units: a box smaller than this is a point
constexpr float kDepthSlack = 1.5f;        // near/far planes at this many radii from the centre
constexpr float kMinNearShare = 0.01f;     // the near plane is at least this share of the distance
constexpr float kMinClipW = 1e-20f;        // a clip w of 0 is divided as this instead

struct Vec4 { float x, y, z, w; };

// (p, 1) · M.
Vec4 Transform(const cpoint3& p, const cmatrix4& m) {
    Vec4 r;
    r.x = p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0];
    r.y = p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1];
    r.z = p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2];
    r.w = p.x * m.m[0][3] + p.y * m.m[1][3] + p.z * m.m[2][3] + m.m[3][3];
    return r;
}

// World → camera for a camera at `eye` looking along unit `forward` with `up` roughly up:
// camera x = right, camera y = up, camera -z = forward (OpenGL's eye space).
// view = translate(-eye) × rotation(world axes → camera axes).
cmatrix4 LookAlong(const cpoint3& eye, const cpoint3& forward, const cpoint3& upHint) {
    const cpoint3 right = Normalize(CrossProd(forward, upHint));
    const cpoint3 up = CrossProd(right, forward);
    cmatrix4 rot;
    for (int i = 0; i < 3; ++i) {
        rot.m[i][0] = right[i];
        rot.m[i][1] = up[i];
        rot.m[i][2] = -forward[i];
    }
    cmatrix4 move;
    move.SetTrans(-eye);
    return move * rot;
}

// glOrtho's matrix, transposed for row vectors.
cmatrix4 Ortho(float l, float r, float b, float t, float n, float f) {
    cmatrix4 p;
    p.m[0][0] = 2.0f / (r - l);
    p.m[1][1] = 2.0f / (t - b);
    p.m[2][2] = -2.0f / (f - n);
    p.m[3][0] = -(r + l) / (r - l);
    p.m[3][1] = -(t + b) / (t - b);
    p.m[3][2] = -(f + n) / (f - n);
    return p;
}

// gluPerspective's matrix, transposed for row vectors.
cmatrix4 Perspective(float fovYDeg, float aspect, float n, float f) {
    const float c = 1.0f / std::tan(fovYDeg * kDegToRad / 2.0f);
    cmatrix4 p;
    p.m[0][0] = c / aspect;
    p.m[1][1] = c;
    p.m[2][2] = (f + n) / (n - f);
    p.m[2][3] = -1.0f;
    p.m[3][2] = 2.0f * f * n / (n - f);
    p.m[3][3] = 0.0f;
    return p;
}

// The viewing direction and screen-up hint of each named view.
void ViewAxes(ViewKind kind, cpoint3& forward, cpoint3& upHint) {
    upHint = {0.0f, 0.0f, 1.0f};
    switch (kind) {
        case ViewKind::Front: forward = {0, 1, 0}; break;
        case ViewKind::Back: forward = {0, -1, 0}; break;
        case ViewKind::Left: forward = {1, 0, 0}; break;
        case ViewKind::Right: forward = {-1, 0, 0}; break;
        case ViewKind::Top: forward = {0, 0, -1}; upHint = {0, 1, 0}; break;
        case ViewKind::Persp: forward = Normalize(cpoint3{1, 1, -1}); break;
    }
}

std::array<cpoint3, 8> Corners(const cpoint3& lo, const cpoint3& hi) {
    return {cpoint3{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z},
            {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}};
}

}  // namespace

bool ParseViewKind(const std::string& name, ViewKind& out) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const std::pair<const char*, ViewKind> kNames[] = {
        {"front", ViewKind::Front}, {"back", ViewKind::Back}, {"left", ViewKind::Left},
        {"right", ViewKind::Right}, {"top", ViewKind::Top},   {"persp", ViewKind::Persp},
        {"perspective", ViewKind::Persp}};
    for (const auto& [text, kind] : kNames)
        if (lower == text) { out = kind; return true; }
    return false;
}

const char* ViewKindName(ViewKind kind) {
    switch (kind) {
        case ViewKind::Front: return "front";
        case ViewKind::Back: return "back";
        case ViewKind::Left: return "left";
        case ViewKind::Right: return "right";
        case ViewKind::Top: return "top";
        case ViewKind::Persp: return "persp";
    }
    return "front";
}

View::View(ViewKind kind, int width, int height)
    : kind_(kind), width_(std::max(width, 1)), height_(std::max(height, 1)) {
    Frame(kDefaultBoxMin, kDefaultBoxMax);
}

// Places the camera on the box's centre line, far enough back to see all of it, and sizes the
// projection so the box (as seen along the view) fills the window less the margin.
// toClip = view × projection ("world → camera, then camera → clip"); fromClip = Inverse(toClip).
void View::Frame(const cpoint3& boxMin, const cpoint3& boxMax) {
    const cpoint3 lo{std::min(boxMin.x, boxMax.x), std::min(boxMin.y, boxMax.y),
                     std::min(boxMin.z, boxMax.z)};
    const cpoint3 hi{std::max(boxMin.x, boxMax.x), std::max(boxMin.y, boxMax.y),
                     std::max(boxMin.z, boxMax.z)};
    const cpoint3 centre = (lo + hi) * 0.5f;
    const float radius = std::max(Length(hi - lo) * 0.5f, kMinRadius);
    cpoint3 forward, upHint;
    ViewAxes(kind_, forward, upHint);
    if (ownDirection_) {
        forward = forward_;
        upHint = upHint_;
    }
    const float aspect = static_cast<float>(width_) / static_cast<float>(height_);
    const float fill = 1.0f - 2.0f * kFrameMargin;  // share of the window the box may cover

    if (IsPerspective()) {
        // The bounding sphere fits in the narrower of the two fields of view.
        const float halfFovY = kPerspFovYDeg * kDegToRad / 2.0f;
        const float halfFovX = std::atan(std::tan(halfFovY) * aspect);
        const float halfFov = std::min(halfFovX, halfFovY);
        const float dist = radius / std::sin(std::atan(std::tan(halfFov) * fill));
        eye_ = centre - forward * dist;
        viewM_ = LookAlong(eye_, forward, upHint);
        const float nearPlane = std::max(dist - kDepthSlack * radius, dist * kMinNearShare);
        projM_ = Perspective(kPerspFovYDeg, aspect, nearPlane, dist + kDepthSlack * radius);
    } else {
        const float dist = 2.0f * kDepthSlack * radius;
        eye_ = centre - forward * dist;
        viewM_ = LookAlong(eye_, forward, upHint);
        // Half extents of the box across the view, about the centre line.
        float halfW = 0.0f, halfH = 0.0f;
        const Vec4 c = Transform(centre, viewM_);
        for (const cpoint3& corner : Corners(lo, hi)) {
            const Vec4 p = Transform(corner, viewM_);
            halfW = std::max(halfW, std::fabs(p.x - c.x));
            halfH = std::max(halfH, std::fabs(p.y - c.y));
        }
        halfW = std::max(halfW, kMinRadius) / fill;
        halfH = std::max(halfH, kMinRadius) / fill;
        // Widen the tighter direction so one world unit is as many pixels across as up.
        if (halfW / halfH < aspect) halfW = halfH * aspect; else halfH = halfW / aspect;
        projM_ = Ortho(-halfW, halfW, -halfH, halfH, dist - kDepthSlack * radius,
                       dist + kDepthSlack * radius);
    }
    toClip_ = viewM_ * projM_;
    fromClip_ = Inverse(toClip_);
}

void View::SetDirection(const cpoint3& forward, const cpoint3& upHint) {
    ownDirection_ = true;
    forward_ = Normalize(forward);
    upHint_ = upHint;
}

// projection = projM_ × shift, the shift moving clip x and y by the sub-pixel offset times w
// (so that it is that offset in window pixels after the divide).
void View::Apply() const {
    cmatrix4 shifted = projM_;
    if (shiftX_ != 0.0f || shiftY_ != 0.0f) {
        cmatrix4 shift;  // row 3 scales the row vector's w into x and y: x' = x + ox · w
        shift.m[3][0] = 2.0f * shiftX_ / static_cast<float>(width_);
        shift.m[3][1] = -2.0f * shiftY_ / static_cast<float>(height_);  // window y runs down
        shifted = projM_ * shift;
    }
    glViewport(originX_, originY_, width_, height_);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(&shifted.m[0][0]);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(&viewM_.m[0][0]);
}

// window = viewport(clip / w): x right, y down from the top-left corner, depth 0..1.
void View::Project(const cpoint3* in, cpoint3* out, int n) {
    for (int i = 0; i < n; ++i) {
        const Vec4 c = Transform(in[i], toClip_);
        const float w = c.w != 0.0f ? c.w : kMinClipW;
        const float nx = c.x / w, ny = c.y / w, nz = c.z / w;
        out[i] = {(nx + 1.0f) * 0.5f * static_cast<float>(width_),
                  (1.0f - ny) * 0.5f * static_cast<float>(height_), (nz + 1.0f) * 0.5f};
    }
}

void View::Project(cpoint3& out, float x, float y, float z) {
    const cpoint3 p{x, y, z};
    Project(&p, &out, 1);
}

// Window coordinates: x 0..width to the right, y 0..height downwards, z 0..1 as depth
// (glOrtho with near 0 and far -1 maps z = 0 to depth 0 and z = 1 to depth 1).
void View::Begin2D() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width_, height_, 0.0, 0.0, -1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void View::End2D() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// The window point at depth 0 (near plane) and depth 1 (far plane), taken back to the world.
void View::Ray(float wx, float wy, cpoint3& origin, cpoint3& dir) const {
    const float nx = wx / static_cast<float>(width_) * 2.0f - 1.0f;
    const float ny = 1.0f - wy / static_cast<float>(height_) * 2.0f;
    auto back = [&](float nz) {
        const Vec4 p = Transform(cpoint3{nx, ny, nz}, fromClip_);
        const float w = p.w != 0.0f ? p.w : kMinClipW;
        return cpoint3{p.x / w, p.y / w, p.z / w};
    };
    origin = back(-1.0f);
    dir = Normalize(back(1.0f) - origin);
}

bool View::Unproject(float wx, float wy, float planeZ, cpoint3& out) const {
    constexpr float kParallel = 1e-6f;  // |dir.z| below this: the ray runs along the plane
    cpoint3 origin, dir;
    Ray(wx, wy, origin, dir);
    if (std::fabs(dir.z) < kParallel) return false;
    const float t = (planeZ - origin.z) / dir.z;
    if (IsPerspective() && t < 0.0f) return false;  // behind the camera
    out = origin + dir * t;
    return true;
}

}  // namespace qv::gl
