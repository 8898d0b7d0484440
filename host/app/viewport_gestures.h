// What a mouse does in the viewport, shared by session scripts and the window: a creation
// tool's press, drag and release; one drag of the transform tool; a click that picks a node.
#pragma once

#include "qvview/gl.h"
#include "quorvane/math.h"

class ccreateinterface;
class TransformCallback;

namespace qvapp {

class ToolManager;

// One press, drag and release (or stop with the button held) of a creation tool in a view:
// pressed at window point (x0, y0) over the scene point p, then dragged.
class CreationGesture {
public:
    CreationGesture(ccreateinterface* tool, qv::gl::View& view, int x0, int y0, const cpoint3& p);
    // The mouse at window point (x, y), with the span the drag has made (host units).
    void DragTo(int x, int y, float height);
    void Release();
    // Stops with the button still held; true when the tool cancelled what it was making.
    bool Cancel();

private:
    ccreateinterface* tool_;
    qv::gl::View& view_;
    cpoint3 p_;
    int x0_, y0_, x_, y_;
    float height_ = 0.0f;
};

// One drag of the host's transform tool on the selection, through the installed transform
// callback when there is one (the tool's own tracking), else the host's own move.
class TransformDrag {
public:
    explicit TransformDrag(int type);
    void Move(const cpoint3& d);
    void Rotate(const cquat& q);
    void Scale(const cpoint3& s);
    void Finish();

private:
    int type_;
    TransformCallback* cb_ = nullptr;
};

// Pixels around a click point that pick.
inline constexpr int kClickRadius = 4;

// A click at window point (x, y) of the view: picks and selects through the hit-test
// callback when one is installed, else the host's own hit testing; the open tool hears one
// selection change. True when something was hit.
bool ClickAt(ToolManager& tools, int t, qv::gl::View& view, int x, int y);

}  // namespace qvapp
