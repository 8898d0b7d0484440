// Mouse gestures in the window's viewport, reaching the tools through the same gestures the
// session scripts use (creation drag, transform drag, click).
#include "window/viewport_input.h"

#include <cmath>

#include "quorvane/callbacks.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "tools.h"

namespace qvapp::window {
namespace {

constexpr float kFlatLook = 0.2f;  // |forward.z| below this: the view looks across the ground

cpoint3 ViewForward(const qv::gl::View& view) {
    cpoint3 origin, dir;
    view.Ray(static_cast<float>(view.Width()) * 0.5f, static_cast<float>(view.Height()) * 0.5f,
             origin, dir);
    return dir;
}

// The upright plane's normal facing the view: the view's direction without its height.
cpoint3 UprightNormal(const qv::gl::View& view) {
    cpoint3 f = ViewForward(view);
    f.z = 0.0f;
    return Length(f) > 0.0f ? Normalize(f) : cpoint3{0, 1, 0};
}

}  // namespace

cpoint3 PlanePoint(const qv::gl::View& view, float x, float y, const cpoint3& p, const cpoint3& n) {
    cpoint3 origin, dir;
    view.Ray(x, y, origin, dir);
    const float along = DotProd(n, dir);
    if (std::fabs(along) < 1e-6f) return p;
    return origin + dir * (DotProd(n, p - origin) / along);
}

cpoint3 GroundPoint(const qv::gl::View& view, float x, float y) {
    if (std::fabs(ViewForward(view).z) >= kFlatLook) return PlanePoint(view, x, y, {0, 0, 0}, {0, 0, 1});
    return PlanePoint(view, x, y, {0, 0, 0}, UprightNormal(view));
}

void ViewportInput::Handle(const MouseState& mouse, Camera& camera, const qv::gl::View& view,
                           ToolManager& tools) {
    if (mouse.inside && mouse.pressed[0] && !leftHeld_) Press(mouse, view, tools);
    if (leftHeld_ && (mouse.x != lastX_ || mouse.y != lastY_)) DragLeft(mouse);
    if (leftHeld_ && (mouse.released[0] || !mouse.down[0])) ReleaseLeft(mouse, tools);
    if (leftHeld_) return;
    if (mouse.inside && (mouse.pressed[1] || mouse.pressed[2])) {
        cameraX_ = mouse.x;
        cameraY_ = mouse.y;
    }
    const float dx = mouse.x - cameraX_, dy = mouse.y - cameraY_;
    if (mouse.down[1]) camera.Orbit(dx, dy);
    if (mouse.down[2]) camera.Pan(dx, dy, view.Width(), view.Height());
    cameraX_ = mouse.x;
    cameraY_ = mouse.y;
    if (mouse.inside && mouse.wheel != 0.0f) camera.Zoom(mouse.wheel);
}

void ViewportInput::Press(const MouseState& mouse, const qv::gl::View& view, ToolManager& tools) {
    leftHeld_ = true;
    moved_ = false;
    pressX_ = lastX_ = mouse.x;
    pressY_ = lastY_ = mouse.y;
    dragView_ = std::make_unique<qv::gl::View>(view);
    if (ccreateinterface* tool = tools.CreateTool()) {
        pressPoint_ = GroundPoint(*dragView_, mouse.x, mouse.y);
        creating_ = std::make_unique<CreationGesture>(tool, *dragView_, static_cast<int>(mouse.x),
                                                      static_cast<int>(mouse.y), pressPoint_);
    }
}

void ViewportInput::DragLeft(const MouseState& mouse) {
    const float dx = mouse.x - lastX_, dy = mouse.y - lastY_;
    if (std::hypot(mouse.x - pressX_, mouse.y - pressY_) >= kDragThreshold) moved_ = true;
    if (creating_) {
        // The span is how far up the mouse has gone over the pressed point, on the upright
        // plane through it.
        const cpoint3 at = PlanePoint(*dragView_, mouse.x, mouse.y, pressPoint_, UprightNormal(*dragView_));
        creating_->DragTo(static_cast<int>(mouse.x), static_cast<int>(mouse.y),
                          std::max(at.z - pressPoint_.z, 0.0f));
    } else if (moved_ && mode != TransformMode::Select && Interface::NumSelNodes() > 0) {
        if (!transforming_) {
            const int type = mode == TransformMode::Move     ? QV_XFORM_MOVE
                             : mode == TransformMode::Rotate ? QV_XFORM_ROTATE
                                                             : QV_XFORM_SCALE;
            cnode* first = Interface::GetSelNode(0);
            pressPoint_ = first ? first->GetPosition(GetAnimTime()) : cpoint3{0, 0, 0};
            transforming_ = std::make_unique<TransformDrag>(type);
        }
        if (mode == TransformMode::Move) {
            const cpoint3 n = ViewForward(*dragView_);
            const cpoint3 from = PlanePoint(*dragView_, lastX_, lastY_, pressPoint_, n);
            const cpoint3 to = PlanePoint(*dragView_, mouse.x, mouse.y, pressPoint_, n);
            transforming_->Move(to - from);
        } else if (mode == TransformMode::Rotate) {
            cpoint3 a{0, 0, 0};
            a[axis] = 1.0f;
            transforming_->Rotate(QuatFromAngleAxis(dx * kRotateDegPerPixel, a));
        } else {
            const float f = std::pow(kScalePerPixel, -dy);
            transforming_->Scale({f, f, f});
        }
    }
    lastX_ = mouse.x;
    lastY_ = mouse.y;
}

void ViewportInput::ReleaseLeft(const MouseState& mouse, ToolManager& tools) {
    leftHeld_ = false;
    if (creating_) {
        creating_->Release();
        creating_.reset();
    } else if (transforming_) {
        transforming_->Finish();
        transforming_.reset();
    } else if (!moved_) {
        ClickAt(tools, GetAnimTime(), *dragView_, static_cast<int>(std::lround(mouse.x)),
                static_cast<int>(std::lround(mouse.y)));
    }
    dragView_.reset();
}

}  // namespace qvapp::window
