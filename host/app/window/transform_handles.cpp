// Drawing the transform handles with OpenGL 1.1, over the scene and unlit.
#include "window/transform_handles.h"

#include <cmath>

#include "quorvane/interface.h"
#include "quorvane/node.h"

#include <GL/gl.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace qvapp::window {
namespace {

constexpr float kHandleLineWidth = 2.0f;  // pixels
constexpr int kCircleSegments = 48;
constexpr float kTwoPi = 6.28318531f;
const float kAxisColours[3][3] = {{0.9f, 0.2f, 0.2f}, {0.2f, 0.8f, 0.2f}, {0.25f, 0.4f, 1.0f}};

}  // namespace

void DrawTransformHandles(const qv::gl::View& view, TransformMode mode, int axis, float length) {
    if (mode == TransformMode::Select || Interface::NumSelNodes() == 0) return;
    cnode* node = Interface::GetSelNode(0);
    if (!node) return;
    const cpoint3 at = node->GetPosition(GetAnimTime());
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    view.Apply();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glLineWidth(kHandleLineWidth);
    glBegin(GL_LINES);
    for (int a = 0; a < 3; ++a) {
        if (mode == TransformMode::Rotate && a != axis) continue;
        cpoint3 end = at;
        end[a] += length;
        glColor3fv(kAxisColours[a]);
        glVertex3f(at.x, at.y, at.z);
        glVertex3f(end.x, end.y, end.z);
    }
    glEnd();
    if (mode == TransformMode::Rotate) {
        // The circle in the plane across the axis: its two other world axes.
        const int u = (axis + 1) % 3, v = (axis + 2) % 3;
        glColor3fv(kAxisColours[axis]);
        glBegin(GL_LINE_LOOP);
        for (int i = 0; i < kCircleSegments; ++i) {
            const float angle = kTwoPi * static_cast<float>(i) / kCircleSegments;
            cpoint3 p = at;
            p[u] += length * std::cos(angle);
            p[v] += length * std::sin(angle);
            glVertex3f(p.x, p.y, p.z);
        }
        glEnd();
    }
    glPopAttrib();
}

}  // namespace qvapp::window
