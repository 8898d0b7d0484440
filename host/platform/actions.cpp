// What a person does to controls: pressing buttons, typing into edits, choosing combo box
// items, with the notifications a dialog procedure receives from Windows controls.
#include <cctype>

#include "control_layout.h"
#include "control_messages.h"
#include "ui_internal.h"

namespace qv::ui {
namespace {

std::string Named(const Window* c) {
    std::string caption = StripMnemonic(c->caption);
    return "control #" + std::to_string(c->id) + (caption.empty() ? "" : " \"" + caption + "\"");
}

bool Usable(const Window* c, std::string& error) {
    if (!c->enabled) {
        error = Named(c) + " in dialog " + DialogLabel(c->parent) + " is disabled";
        return false;
    }
    return true;
}

// Clears the other automatic radio buttons of the control's group: the run of controls from
// the nearest WS_GROUP control at or before it up to the next WS_GROUP control.
void ClearRadioGroup(Window* radio) {
    auto& list = radio->parent->controls;
    size_t at = 0;
    while (list[at].get() != radio) ++at;
    size_t first = at;
    while (first > 0 && !(list[first]->tmpl.style & WS_GROUP)) --first;
    for (size_t i = first; i < list.size(); ++i) {
        if (i > first && (list[i]->tmpl.style & WS_GROUP)) break;
        Window* w = list[i].get();
        if (w != radio && w->kind == ControlKind::AutoRadioButton) w->check = BST_UNCHECKED;
    }
}

// What an edit keeps of typed text: digits only with ES_NUMBER, one line unless multiline,
// case forced by ES_UPPERCASE / ES_LOWERCASE.
std::string Filter(const Window* edit, const std::string& typed) {
    std::string out;
    UINT style = edit->tmpl.style;
    for (char ch : typed) {
        unsigned char c = static_cast<unsigned char>(ch);
        if ((style & ES_NUMBER) && !std::isdigit(c)) continue;
        if (!(style & ES_MULTILINE) && (ch == '\n' || ch == '\r')) continue;
        if (style & ES_UPPERCASE) ch = static_cast<char>(std::toupper(c));
        if (style & ES_LOWERCASE) ch = static_cast<char>(std::tolower(c));
        out += ch;
    }
    return out;
}

}  // namespace

bool PressControl(Window* c, std::string& error) {
    if (!Usable(c, error)) return false;
    switch (c->kind) {
    case ControlKind::PushButton:
    case ControlKind::OwnerDrawn:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: break;  // the procedure decides what the click means
    case ControlKind::AutoCheckBox:
        c->check = c->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        break;
    case ControlKind::AutoRadioButton:
        c->check = BST_CHECKED;
        ClearRadioGroup(c);
        break;
    default:
        error = Named(c) + " in dialog " + DialogLabel(c->parent) + " cannot be pressed";
        return false;
    }
    // A clicked button takes the focus (an edit that had it is told it lost it) and notifies.
    MoveFocus(c);
    Notify(c, BN_CLICKED);
    return true;
}

bool Press(HWND dlg, const std::string& control, std::string& error) {
    Window* c = nullptr;
    return ResolveControl(DialogFromHandle(dlg), control, c, error) && PressControl(c, error);
}

bool Type(HWND dlg, const std::string& control, const std::string& text, bool enter,
          std::string& error) {
    Window* d = DialogFromHandle(dlg);
    Window* c = nullptr;
    if (!ResolveControl(d, control, c, error) || !Usable(c, error)) return false;
    if (c->kind != ControlKind::Edit) {
        error = Named(c) + " in dialog " + DialogLabel(d) + " is not an edit";
        return false;
    }
    if (c->tmpl.style & ES_READONLY) {
        error = Named(c) + " in dialog " + DialogLabel(d) + " is read-only";
        return false;
    }
    MoveFocus(c);
    c->text = Filter(c, text);
    if (enter) {
        // Enter in a dialog: the edit keeps the focus and the dialog gets IDOK.
        SendToDialog(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(ToHandle(ControlById(d, IDOK))));
    } else {
        MoveFocus(nullptr);  // leaving the field: EN_KILLFOCUS
    }
    return true;
}

bool Choose(HWND dlg, const std::string& control, const std::string& item, std::string& error) {
    Window* d = DialogFromHandle(dlg);
    Window* c = nullptr;
    if (!ResolveControl(d, control, c, error) || !Usable(c, error)) return false;
    if (c->kind != ControlKind::ComboBox) {
        error = Named(c) + " in dialog " + DialogLabel(d) + " is not a combo box";
        return false;
    }
    int index = -1;
    for (size_t i = 0; i < c->items.size() && index < 0; ++i)
        if (c->items[i].text == item) index = static_cast<int>(i);
    if (index < 0) {
        error = "no item \"" + item + "\" in combo box #" + std::to_string(c->id) +
                " of dialog " + DialogLabel(d) + "; items:";
        for (size_t i = 0; i < c->items.size(); ++i)
            error += (i ? ", \"" : " \"") + c->items[i].text + "\"";
        if (c->items.empty()) error += " none";
        return false;
    }
    MoveFocus(c);
    ControlMessage(c, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(c, CBN_SELCHANGE);
    return true;
}

bool ApplyAction(HWND dlg, const Action& a, std::string& error) {
    switch (a.kind) {
    case Action::Kind::Press: return Press(dlg, a.control, error);
    case Action::Kind::Type: return Type(dlg, a.control, a.text, a.enter, error);
    case Action::Kind::Choose: return Choose(dlg, a.control, a.text, error);
    default: break;
    }
    const char* what = a.kind == Action::Kind::Answer ? "answer" : "file";
    Window* d = DialogFromHandle(dlg);
    error = std::string("\"") + what + "\" does not fit dialog " + (d ? DialogLabel(d) : "");
    return false;
}

}  // namespace qv::ui
