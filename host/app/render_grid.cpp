// The ground grid: its reach is worked out in floats and clamped before it becomes a count.
#include "render_grid.h"

#include <algorithm>
#include <cmath>

#include <GL/gl.h>

namespace qvapp {
namespace {

constexpr float kGridGrey = 0.38f;  // grey (0..1) of the grid lines

}  // namespace

int GridHalfLines(const Box& box) {
    constexpr float kMaxHalf = kMaxGridLines / 2;
    float lines = std::ceil(kGridMargin / kGridSpacing);
    for (int i = 0; i < 2; ++i)
        for (float bound : {box.min[i], box.max[i]}) {
            const float needed = std::ceil((std::fabs(bound) + kGridMargin) / kGridSpacing);
            // A NaN bound fails every comparison: it asks for the most lines.
            lines = needed <= kMaxHalf ? std::max(lines, needed) : kMaxHalf;
        }
    return static_cast<int>(std::min(lines, kMaxHalf));
}

void DrawGrid(const Box& box) {
    const int half = GridHalfLines(box);
    const float reach = half * kGridSpacing;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glColor3f(kGridGrey, kGridGrey, kGridGrey);
    glBegin(GL_LINES);
    for (int i = -half; i <= half; ++i) {
        const float v = i * kGridSpacing;
        glVertex3f(v, -reach, 0.0f);
        glVertex3f(v, reach, 0.0f);
        glVertex3f(-reach, v, 0.0f);
        glVertex3f(reach, v, 0.0f);
    }
    glEnd();
    glPopAttrib();
}

}  // namespace qvapp
