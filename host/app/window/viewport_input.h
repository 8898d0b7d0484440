// The mouse in the viewport: the creation tool's drag, clicks that pick bones, the transform
// tool's drags (move, rotate about an axis, scale), and the camera's orbit, pan and zoom.
#pragma once

#include <memory>

#include "qvview/gl.h"
#include "viewport_gestures.h"
#include "window/camera.h"

namespace qvapp {
class ToolManager;
}

namespace qvapp::window {

// What the mouse did over the viewport this frame (window pixels relative to the viewport's
// top-left corner). Buttons: 0 left, 1 right, 2 middle.
struct MouseState {
    bool inside = false;  // over the viewport and not over the interface
    bool pressed[3] = {}, released[3] = {}, down[3] = {};
    float x = 0, y = 0;
    float wheel = 0;      // notches, positive away from the person
};

enum class TransformMode { Select, Move, Rotate, Scale };

class ViewportInput {
public:
    static constexpr float kDragThreshold = 3.0f;        // pixels before a press becomes a drag
    static constexpr float kRotateDegPerPixel = 0.5f;    // degrees a pixel across turns
    static constexpr float kScalePerPixel = 1.005f;      // scale factor a pixel upwards gives

    TransformMode mode = TransformMode::Select;
    int axis = 2;  // the world axis rotations turn about: 0 x, 1 y, 2 z

    // Acts on the frame's mouse with the view the frame was drawn with.
    void Handle(const MouseState& mouse, Camera& camera, const qv::gl::View& view,
                ToolManager& tools);
    bool Busy() const { return creating_ || transforming_; }

private:
    void Press(const MouseState& mouse, const qv::gl::View& view, ToolManager& tools);
    void DragLeft(const MouseState& mouse);
    void ReleaseLeft(const MouseState& mouse, ToolManager& tools);

    std::unique_ptr<qv::gl::View> dragView_;  // the view a left drag started in, kept for it
    std::unique_ptr<CreationGesture> creating_;
    std::unique_ptr<TransformDrag> transforming_;
    bool leftHeld_ = false, moved_ = false;
    float pressX_ = 0, pressY_ = 0, lastX_ = 0, lastY_ = 0;
    float cameraX_ = 0, cameraY_ = 0;  // the mouse when the camera last followed it
    cpoint3 pressPoint_;   // creation: the scene point pressed; move: a point on the drag plane
};

// The scene point under a window point: on the ground (z = 0) when the view looks down on
// it, else on the upright plane through the world's origin facing the view.
cpoint3 GroundPoint(const qv::gl::View& view, float x, float y);
// Where the ray through a window point meets the plane through p with normal n; p itself
// when the ray runs along the plane.
cpoint3 PlanePoint(const qv::gl::View& view, float x, float y, const cpoint3& p, const cpoint3& n);

}  // namespace qvapp::window
