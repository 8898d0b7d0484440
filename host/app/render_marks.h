// Marks drawn over a render, in window coordinates: the axis triad in a corner (always), and
// the key to the colours of the left and right bones (with the render option `legend`).
#pragma once

#include <array>
#include <vector>

#include "qvplatform/gl.h"
#include "quorvane/math.h"

namespace qvapp {

// Image pixels a font pixel (and a stroke) takes in a picture of this size.
int MarkScale(int width, int height);

// One world axis as the triad shows it: from the triad's origin to (dx, dy) pixels (x right,
// y down), and toward (+) or away from (-) the viewer, as a share of its length.
struct TriadAxis {
    char name;  // 'x', 'y', 'z'
    float dx, dy;
    float towardViewer;
};
// The three world axes seen along the view, each `length` pixels long when it lies across it.
std::array<TriadAxis, 3> TriadAxes(const qv::gl::View& view, float length);
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
