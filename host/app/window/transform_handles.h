// The transform tool's handles at the selection: the three world axes (x red, y green, z
// blue) for Move and Scale, and the circle a rotation turns along for Rotate.
#pragma once

#include "qvview/gl.h"
#include "window/viewport_input.h"

namespace qvapp::window {

// Share of the framed size an axis handle is long.
inline constexpr float kHandleShare = 0.08f;

// Draws the handles over the scene at the first selected node (nothing in Select mode or
// without a selection); length is an axis handle's length in host units.
void DrawTransformHandles(const qv::gl::View& view, TransformMode mode, int axis, float length);

}  // namespace qvapp::window
