// The ground grid under rendered views: how many lines cover the framed box, and drawing them.
#pragma once

#include "scene_view.h"

namespace qvapp {

inline constexpr float kGridSpacing = 1.0f;  // host units between grid lines
inline constexpr float kGridMargin = 2.0f;   // host units the grid reaches beyond the scene
inline constexpr int kMaxGridLines = 400;    // per direction, so that huge scenes stay cheap

// Lines on each side of the origin (per direction) that cover the box's x and y extent plus
// the margin: 0 .. kMaxGridLines / 2, whatever the box holds (huge, infinite or NaN bounds
// give the most).
int GridHalfLines(const Box& box);

// Grid lines on z = 0 every kGridSpacing, covering the box, into the current GL context.
void DrawGrid(const Box& box);

}  // namespace qvapp
