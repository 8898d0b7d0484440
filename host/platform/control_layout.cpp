// Geometry of dialog templates: group boxes around controls and labels in front of them,
// all in dialog units.
#include "control_layout.h"

#include <algorithm>
#include <climits>

namespace qv::ui {
namespace {

// Farthest a label may sit above its control (dialog units); a static farther up is a heading.
constexpr int kLabelReachAbove = 16;

bool Contains(const res::ControlTemplate& box, const res::ControlTemplate& c) {
    int cx = c.x + c.cx / 2, cy = c.y + c.cy / 2;
    return cx >= box.x && cx <= box.x + box.cx && cy >= box.y && cy <= box.y + box.cy;
}

long Area(const res::ControlTemplate& c) {
    return static_cast<long>(c.cx) * c.cy;
}

bool IsTextStatic(const Window* w) {
    if (w->kind != ControlKind::Static || w->text.empty()) return false;
    UINT type = w->tmpl.style & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
           type == SS_LEFTNOWORDWRAP;
}

std::vector<Window*> GroupsAround(Window* dialog, const Window* control) {
    std::vector<Window*> boxes;
    for (auto& g : dialog->controls) {
        if (g.get() == control || g->kind != ControlKind::GroupBox) continue;
        if (!Contains(g->tmpl, control->tmpl)) continue;
        // A box no larger than the control does not enclose it (two boxes on one spot).
        if (control->kind == ControlKind::GroupBox && Area(g->tmpl) <= Area(control->tmpl))
            continue;
        boxes.push_back(g.get());
    }
    std::stable_sort(boxes.begin(), boxes.end(),
                     [](Window* a, Window* b) { return Area(a->tmpl) < Area(b->tmpl); });
    return boxes;
}

Window* Innermost(const ControlPlace& p) {
    return p.groups.empty() ? nullptr : p.groups.front();
}

// The control a static labels: the nearest acting control to its right on its row, else the
// nearest one just below it, within the same innermost group.
int LabelTarget(const std::vector<ControlPlace>& places, size_t label) {
    const res::ControlTemplate& s = places[label].control->tmpl;
    int right = -1, below = -1;
    int bestRight = INT_MAX, bestBelow = INT_MAX;
    for (size_t i = 0; i < places.size(); ++i) {
        const Window* c = places[i].control;
        if (!Acts(c) || Innermost(places[i]) != Innermost(places[label])) continue;
        const res::ControlTemplate& t = c->tmpl;
        bool rowOverlap = t.y < s.y + s.cy && s.y < t.y + t.cy;
        bool columnOverlap = t.x < s.x + s.cx && s.x < t.x + t.cx;
        if (rowOverlap && t.x >= s.x + s.cx / 2 && t.x - s.x < bestRight) {
            bestRight = t.x - s.x;
            right = static_cast<int>(i);
        }
        int gap = t.y - (s.y + s.cy);
        if (columnOverlap && t.y >= s.y + s.cy / 2 && gap <= kLabelReachAbove && t.y < bestBelow) {
            bestBelow = t.y;
            below = static_cast<int>(i);
        }
    }
    return right >= 0 ? right : below;
}

}  // namespace

bool Acts(const Window* control) {
    return control->kind != ControlKind::Static && control->kind != ControlKind::GroupBox;
}

std::string StripMnemonic(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += caption[i];
    }
    return out;
}

std::vector<ControlPlace> Layout(Window* dialog) {
    std::vector<ControlPlace> places;
    for (auto& c : dialog->controls) places.push_back({c.get(), GroupsAround(dialog, c.get()), {}});
    for (size_t i = 0; i < places.size(); ++i) {
        if (!IsTextStatic(places[i].control)) continue;
        int target = LabelTarget(places, i);
        if (target >= 0 && places[target].label.empty())
            places[target].label = StripMnemonic(places[i].control->text);
    }
    return places;
}

}  // namespace qv::ui
