// Control names: caption, label, "#id", and group qualification.
#include "control_names.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "control_layout.h"
#include "qvplatform/ui.h"

namespace qv::ui {
namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Loose form for a second try: case-folded, without a trailing ':'.
std::string Loose(const std::string& s) {
    std::string t = s;
    while (!t.empty() && (t.back() == ':' || t.back() == ' ')) t.pop_back();
    return Lower(t);
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i)
        if (i == s.size() || s[i] == sep) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    return parts;
}

bool SameText(const std::string& a, const std::string& b, bool loose) {
    return loose ? Loose(a) == Loose(b) : a == b;
}

// The control's own names: its caption (buttons) and its label.
bool NameFits(const ControlPlace& p, const std::string& name, bool loose) {
    const Window* c = p.control;
    bool captioned = c->kind != ControlKind::Edit && c->kind != ControlKind::ComboBox;
    // Buttons go by the text they show now (a procedure may have renamed them).
    if (captioned && !c->text.empty() && SameText(StripMnemonic(c->text), name, loose))
        return true;
    return !p.label.empty() && SameText(p.label, name, loose);
}

// Group qualifiers, outermost first, must name enclosing groups in that order.
bool GroupsFit(const ControlPlace& p, const std::vector<std::string>& qualifiers, bool loose) {
    size_t q = 0;
    for (auto g = p.groups.rbegin(); g != p.groups.rend() && q < qualifiers.size(); ++g)
        if (SameText(StripMnemonic((*g)->caption), qualifiers[q], loose)) ++q;
    return q == qualifiers.size();
}

std::string Describe(const ControlPlace& p) {
    std::string name = p.control->kind == ControlKind::Edit ||
                               p.control->kind == ControlKind::ComboBox || p.control->text.empty()
                           ? p.label
                           : StripMnemonic(p.control->text);
    std::string group = p.groups.empty() ? "" : StripMnemonic(p.groups.front()->caption) + "/";
    return "#" + std::to_string(p.control->id) + " \"" + group + name + "\"";
}

std::vector<const ControlPlace*> Matches(const std::vector<ControlPlace>& places,
                                         const std::string& name, bool loose) {
    std::vector<const ControlPlace*> out;
    std::vector<std::string> parts = Split(name, '/');
    for (const ControlPlace& p : places) {
        if (!Acts(p.control)) continue;
        bool fits = NameFits(p, name, loose);
        if (!fits && parts.size() > 1) {
            std::vector<std::string> qualifiers(parts.begin(), parts.end() - 1);
            fits = NameFits(p, parts.back(), loose) && GroupsFit(p, qualifiers, loose);
        }
        if (fits) out.push_back(&p);
    }
    return out;
}

// "#id": a hash and then digits (or a minus sign).
bool IsIdName(const std::string& name) {
    return name.size() > 1 && name[0] == '#' &&
           std::all_of(name.begin() + 1, name.end(), [](char c) {
               return std::isdigit(static_cast<unsigned char>(c)) || c == '-';
           });
}

}  // namespace

std::string DialogLabel(const Window* dialog) {
    return "\"" + dialog->text + "\" (" + std::to_string(dialog->dialogId) + ")";
}

bool ResolveControl(Window* dialog, const std::string& name, Window*& out, std::string& error) {
    out = nullptr;
    if (!dialog) {
        error = "no dialog is open";
        return false;
    }
    std::vector<ControlPlace> places = Layout(dialog);
    std::vector<const ControlPlace*> found;
    if (IsIdName(name)) {
        int id = std::atoi(name.c_str() + 1);
        bool passive = false;
        for (const ControlPlace& p : places) {
            if (p.control->id != id) continue;
            if (Acts(p.control)) found.push_back(&p);
            else passive = true;
        }
        if (found.empty() && passive) {
            error = "control " + name + " in dialog " + DialogLabel(dialog) +
                    " is a label or group box, which cannot be acted on";
            return false;
        }
    } else {
        found = Matches(places, name, false);
        if (found.empty()) found = Matches(places, name, true);
    }
    if (found.empty()) {
        error = "no control \"" + name + "\" in dialog " + DialogLabel(dialog);
        return false;
    }
    if (found.size() > 1) {
        error = "\"" + name + "\" fits several controls in dialog " + DialogLabel(dialog) + ":";
        for (size_t i = 0; i < found.size(); ++i)
            error += (i ? ", " : " ") + Describe(*found[i]);
        return false;
    }
    out = found.front()->control;
    return true;
}

bool FindControl(HWND dlg, const std::string& name, int& id, std::string& error) {
    Window* w = nullptr;
    if (!ResolveControl(DialogFromHandle(dlg), name, w, error)) return false;
    id = w->id;
    return true;
}

}  // namespace qv::ui
