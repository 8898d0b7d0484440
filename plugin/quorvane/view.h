// A viewport window as the plug-in sees it: projection of world points into window
// coordinates and a 2-D drawing mode, for overlays drawn with OpenGL 1.1.
#pragma once

#include "quorvane/api.h"
#include "quorvane/math.h"

class QVAPI CGLWindow {
public:
    virtual ~CGLWindow();
    // Projects n world points into window coordinates (x right, y down, in pixels; z the
    // depth 0..1). in and out may be the same array.
    virtual void Project(const cpoint3* in, cpoint3* out, int n) = 0;
    virtual void Project(cpoint3& out, float x, float y, float z) = 0;
    // Between Begin2D and End2D, glVertex takes window coordinates as Project gives them.
    virtual void Begin2D() = 0;
    virtual void End2D() = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};
