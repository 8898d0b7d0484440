// The axis triad: which way the world's x, y and z run in the picture, drawn small in the
// bottom-left corner so that every render says how it is turned.
#include <algorithm>
#include <array>
#include <cmath>

#include "overlay_2d.h"
#include "render_marks.h"

#include <GL/gl.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace qvapp {
namespace {

constexpr float kTriadShare = 0.07f;       // axis length as a share of the picture's short side
constexpr float kTriadMinLength = 12.0f;   // pixels
constexpr float kCornerMargin = 8.0f;      // pixels (times the mark scale) from the edges
constexpr float kLabelGap = 3.0f;          // pixels (times the mark scale) beyond an axis tip
// An axis drawn shorter than this share of its length points almost at the viewer: its name
// stands beside the origin instead of at the tip.
constexpr float kEndOnShare = 0.3f;

// Axis colours: red, green and blue as usual, but never the pure primaries, which the
// modify tool's overlays and the default side colours use.
constexpr float kAxisColours[3][3] = {{1.00f, 0.35f, 0.35f}, {0.35f, 0.90f, 0.35f},
                                      {0.45f, 0.60f, 1.00f}};
// Side of the square marking the origin when an axis points at the viewer (pixels, scaled).
constexpr float kEndOnMark = 4.0f;

// One world axis as the triad shows it: from the triad's origin to (dx, dy) pixels (x right,
// y down), and toward (+) or away from (-) the viewer, as a share of its length.
struct TriadAxis {
    char name;  // 'x', 'y', 'z'
    float dx, dy;
    float towardViewer;
};

// The three world axes seen along the view, each `length` pixels long when it lies across it.
// The view matrix's row i is world axis i in camera space (row vectors): camera x runs right,
// y up and z toward the viewer. Window y runs down, hence the sign of dy.
std::array<TriadAxis, 3> TriadAxes(const qv::gl::View& view, float length) {
    const cmatrix4& m = view.ViewMatrix();
    std::array<TriadAxis, 3> axes{};
    for (int i = 0; i < 3; ++i) {
        const cpoint3 camera = Normalize(m.GetRow(i));
        axes[i] = {static_cast<char>('x' + i), camera.x * length, -camera.y * length, camera.z};
    }
    return axes;
}

}  // namespace

int MarkScale(int width, int height) {
    constexpr int kPixelsPerScale = 240;  // a picture this short side long draws marks 1:1
    return std::max(1, std::min(width, height) / kPixelsPerScale);
}

void DrawAxisTriad(qv::gl::View& view) {
    const int scale = MarkScale(view.Width(), view.Height());
    const float s = static_cast<float>(scale);
    const float shortSide = static_cast<float>(std::min(view.Width(), view.Height()));
    const float length = std::max(kTriadMinLength, kTriadShare * shortSide);
    const float textW = kGlyphWidth * s, textH = kGlyphHeight * s;
    const std::array<TriadAxis, 3> axes = TriadAxes(view, length);

    // Laid out about the origin first: each name's centre, and the box around lines and names.
    float nameX[3], nameY[3];
    bool endOn[3];
    float left = 0.0f, right = 0.0f, top = 0.0f, bottom = 0.0f;
    for (int i = 0; i < 3; ++i) {
        const TriadAxis& a = axes[i];
        const float drawn = std::hypot(a.dx, a.dy);
        endOn[i] = drawn < kEndOnShare * length;
        if (endOn[i]) {
            // Up and to the right of the origin: the quarter that the two axes across the view
            // leave free in every named view.
            nameX[i] = 2.0f * kLabelGap * s + 0.5f * textW;
            nameY[i] = -2.0f * kLabelGap * s - 0.5f * textH;
        } else {
            const float push = kLabelGap * s + 0.5f * std::max(textW, textH);
            nameX[i] = a.dx + a.dx / drawn * push;
            nameY[i] = a.dy + a.dy / drawn * push;
        }
        left = std::min({left, a.dx, nameX[i] - 0.5f * textW});
        right = std::max({right, a.dx, nameX[i] + 0.5f * textW});
        top = std::min({top, a.dy, nameY[i] - 0.5f * textH});
        bottom = std::max({bottom, a.dy, nameY[i] + 0.5f * textH});
    }
    // The box's bottom-left corner kCornerMargin from the picture's.
    const float pad = kLabelGap * s;
    const float ox = kCornerMargin * s + pad - left;
    const float oy = static_cast<float>(view.Height()) - kCornerMargin * s - pad - bottom;

    // On a backing, so that grid lines and bones behind the triad do not blur it.
    FillBacking(ox + left - pad, oy + top - pad, right - left + 2.0f * pad,
                bottom - top + 2.0f * pad);

    // The axis farthest from the viewer first, so that nearer ones cross over it.
    std::array<int, 3> order{0, 1, 2};
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return axes[a].towardViewer < axes[b].towardViewer; });
    glLineWidth(2.0f * s);
    for (int i : order) {
        const TriadAxis& a = axes[i];
        glColor3fv(kAxisColours[i]);
        glBegin(GL_LINES);
        glVertex2f(ox, oy);
        glVertex2f(ox + a.dx, oy + a.dy);
        glEnd();
        if (endOn[i]) FillRect(ox - 0.5f * kEndOnMark * s, oy - 0.5f * kEndOnMark * s,
                               kEndOnMark * s, kEndOnMark * s);
        DrawText(ox + nameX[i] - 0.5f * textW, oy + nameY[i] - 0.5f * textH,
                 std::string(1, a.name), scale);
    }
    glLineWidth(1.0f);
}

}  // namespace qvapp
