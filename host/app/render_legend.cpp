// The colour key: which colour the left and which the right bones are drawn in, read from the
// drawn bones themselves so that it holds for any colours a panel picked.
#include <algorithm>
#include <sstream>
#include <string>

#include "overlay_2d.h"
#include "quorvane/node.h"
#include "render_marks.h"
#include "scene_view.h"

#include <GL/gl.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace qvapp {
namespace {

constexpr int kMaxSwatches = 4;          // colours shown a side; more are left out
constexpr float kMargin = 10.0f;         // pixels (times the mark scale) from the edges
constexpr float kPadding = 6.0f;         // pixels (times the mark scale) inside the key's box
constexpr float kSwatchGap = 3.0f;       // pixels (times the mark scale) between swatches
constexpr float kRowGap = 5.0f;          // pixels (times the mark scale) between rows
constexpr float kTextGrey = 0.95f;

bool HasWord(const char* name, const char* word) {
    std::istringstream words(name ? name : "");
    std::string w;
    while (words >> w)
        if (w == word) return true;
    return false;
}

bool SameColour(const ccolor& a, const ccolor& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

void AddDistinct(std::vector<ccolor>& colours, const ccolor& c) {
    auto same = [&](const ccolor& o) { return SameColour(o, c); };
    if (std::none_of(colours.begin(), colours.end(), same)) colours.push_back(c);
}

}  // namespace

SideColours CollectSideColours(int t) {
    SideColours sides;
    for (cnode* n : DrawnNodes(t)) {
        if (n->GetTypeID() != QV_TYPE_BONE) continue;
        if (HasWord(n->GetName(), "L")) AddDistinct(sides.left, n->GetColor());
        if (HasWord(n->GetName(), "R")) AddDistinct(sides.right, n->GetColor());
    }
    return sides;
}

void DrawSideLegend(qv::gl::View& view, const SideColours& colours) {
    const float s = static_cast<float>(MarkScale(view.Width(), view.Height()));
    const float textH = kGlyphHeight * s;
    const float swatch = textH + 2.0f * s;  // a square a little taller than the text
    struct Row {
        std::string label;
        const std::vector<ccolor>* colours;
    };
    const Row rows[] = {{"left bones", &colours.left}, {"right bones", &colours.right}};
    const float swatchesW = kMaxSwatches * (swatch + kSwatchGap * s);
    float labelW = 0.0f;
    for (const Row& r : rows)
        labelW = std::max(labelW, static_cast<float>(TextWidth(r.label, static_cast<int>(s))));
    const float boxW = 2.0f * kPadding * s + labelW + kSwatchGap * s + swatchesW;
    const float boxH = 2.0f * kPadding * s + 2.0f * swatch + kRowGap * s;
    const float boxX = static_cast<float>(view.Width()) - kMargin * s - boxW;
    const float boxY = kMargin * s;

    FillBacking(boxX, boxY, boxW, boxH);

    float y = boxY + kPadding * s;
    for (const Row& r : rows) {
        const float x = boxX + kPadding * s;
        glColor3f(kTextGrey, kTextGrey, kTextGrey);
        DrawText(x, y + (swatch - textH) * 0.5f, r.label, static_cast<int>(s));
        float sx = x + labelW + kSwatchGap * s;
        const int shown = std::min(static_cast<int>(r.colours->size()), kMaxSwatches);
        if (shown == 0) DrawText(sx, y + (swatch - textH) * 0.5f, "none", static_cast<int>(s));
        for (int i = 0; i < shown; ++i) {
            const ccolor& c = (*r.colours)[i];
            glColor3f(kTextGrey, kTextGrey, kTextGrey);  // a light rim keeps dark colours apart
            FillRect(sx, y, swatch, swatch);
            glColor3f(c.r, c.g, c.b);
            FillRect(sx + s, y + s, swatch - 2.0f * s, swatch - 2.0f * s);
            sx += swatch + kSwatchGap * s;
        }
        y += swatch + kRowGap * s;
    }
}

}  // namespace qvapp
