// Marks drawn over a render, in window coordinates: the axis triad in a corner (always), and
// the key to the colours of the left and right bones (with the render option `legend`).
#pragma once

#include <vector>

#include "qvview/gl.h"
#include "quorvane/math.h"

namespace qvapp {

// Image pixels a font pixel (and a stroke) takes in a picture of this size.
int MarkScale(int width, int height);

// The triad in the bottom-left corner: a line and a name for each world axis.
void DrawAxisTriad(qv::gl::View& view);

// The distinct colours of the drawn bones whose names carry the side word "L" or "R" as a
// word of their own ("Bip01 L Thigh"), in scene order.
struct SideColours {
    std::vector<ccolor> left, right;
};
SideColours CollectSideColours(int t);
// The key in the top-right corner: a row for each side with its colours.
void DrawSideLegend(qv::gl::View& view, const SideColours& colours);

}  // namespace qvapp
