// Callbacks a modify tool installs in front of the host's transform tool and hit testing.
#pragma once

#include "quorvane/api.h"
#include "quorvane/math.h"

class CGLWindow;
class cbooleanarray;
class cnode;

// Transform types of StartTransform/EndTransform.
enum : int {
    QV_XFORM_MOVE = 0,
    QV_XFORM_ROTATE = 1,
    QV_XFORM_SCALE = 2,
    QV_XFORM_TYPED_MOVE = 3,
    QV_XFORM_TYPED_ROTATE = 4,
    QV_XFORM_TYPED_SCALE = 5,
};

// How a pick is made: the window point and the pick radius in pixels.
struct HitTestTool {
    int x = 0, y = 0;
    int radius = 4;
};

// Result of a hit test: the nearest node and its distance in pixels.
struct HitTestRes {
    cnode* node = nullptr;
    float distance = 0.0f;
};

// While installed (Interface::SetTransformCallback), the host routes every transform request
// to the callback, which calls the host's own Interface::Move etc.
class QVAPI TransformCallback {
public:
    virtual ~TransformCallback();
    virtual int IsEnabled();                                    // slot 0
    virtual void Reset();                                       // slot 1
    virtual void StartTransform(int type) = 0;                  // slot 2
    virtual void EndTransform(int type) = 0;                    // slot 3
    // Moves the selection by delta (world units); axisMode and amount are passed through.
    virtual void Move(cpoint3 delta, int axisMode, float amount) = 0;  // slot 4
    virtual void Rotate(cquat q) = 0;                           // slot 5: world rotation step
    virtual void Scale(cpoint3 s) = 0;                          // slot 6
    virtual void SetPosition(cpoint3 p, int axisMode, int absolute, float amount) = 0;  // slot 7
    virtual void SetRotation(cpoint3 eulerDeg, int absolute) = 0;                    // slot 8
    virtual void SetScale(cpoint3 s, int absolute) = 0;                              // slot 9
};

// While installed (Interface::SetHitTestCallback), viewport picking goes through it.
class QVAPI HitTestCallback {
public:
    virtual ~HitTestCallback();
    virtual int IsEnabled();                                    // slot 0
    virtual void Reset();                                       // slot 1
    // Nearest node under the tool's point; 1 when something was hit.
    virtual int HitTest(int t, CGLWindow* view, int x, int y, int flags, HitTestTool& tool,
                        cbooleanarray* exclude, HitTestRes* res) = 0;       // slot 2
    // Picks and selects (replacing the selection); 1 when something was hit.
    virtual int HitTestAndSelect(int t, CGLWindow* view, int x, int y, int flags,
                                 HitTestTool& tool) = 0;                    // slot 3
};
