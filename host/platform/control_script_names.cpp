// The name a script gives each control: the shortest of caption or label, group-qualified
// forms and "#id" that finds that control and no other.
#include <string>
#include <vector>

#include "control_layout.h"
#include "control_names.h"
#include "qvplatform/ui.h"

namespace qv::ui {
namespace {

// The control's own name: the caption a button shows, else the label in front of it.
std::string OwnName(const ControlPlace& p) {
    const Window* c = p.control;
    const bool captioned = c->kind != ControlKind::Edit && c->kind != ControlKind::ComboBox;
    if (captioned && !c->text.empty()) return StripMnemonic(c->text);
    return p.label;
}

// Candidates, shortest first: the own name, then qualified by each enclosing group alone
// (innermost first), then by all of them (outermost first).
std::vector<std::string> Candidates(const ControlPlace& p) {
    std::vector<std::string> names;
    const std::string own = OwnName(p);
    if (own.empty()) return names;
    names.push_back(own);
    for (const Window* g : p.groups) names.push_back(StripMnemonic(g->caption) + "/" + own);
    if (p.groups.size() > 1) {
        std::string chain;
        for (auto g = p.groups.rbegin(); g != p.groups.rend(); ++g)
            chain += StripMnemonic((*g)->caption) + "/";
        names.push_back(chain + own);
    }
    return names;
}

std::string NameThatFinds(Window* dialog, const ControlPlace& p) {
    for (const std::string& name : Candidates(p)) {
        Window* found = nullptr;
        std::string ignored;
        if (ResolveControl(dialog, name, found, ignored) && found == p.control) return name;
    }
    return "#" + std::to_string(p.control->id);
}

}  // namespace

std::vector<ControlName> ScriptNames(HWND dlg) {
    std::vector<ControlName> names;
    Window* d = DialogFromHandle(dlg);
    if (!d) return names;
    const std::vector<ControlPlace> places = Layout(d);
    const std::vector<ControlInfo> infos = Controls(dlg);  // the same controls, in the same order
    for (size_t i = 0; i < places.size(); ++i) {
        if (!Acts(places[i].control)) continue;
        names.push_back({infos[i].id, infos[i].kind, infos[i].group, NameThatFinds(d, places[i])});
    }
    return names;
}

}  // namespace qv::ui
