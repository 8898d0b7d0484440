// The window objects behind handles: building dialogs from templates, the live-handle set,
// message delivery and the keyboard focus.
#include "window.h"

#include <unordered_set>

namespace qv::ui {
namespace {

// Average character cell of the dialogs' font ("MS Sans Serif" 8) in pixels: a dialog unit is
// a quarter of the width and an eighth of the height.
constexpr int kBaseUnitX = 6;   // pixels
constexpr int kBaseUnitY = 13;  // pixels

std::unordered_set<Window*>& Live() {
    static std::unordered_set<Window*> live;
    return live;
}

Window* g_focus = nullptr;

ControlKind KindOf(const res::ControlTemplate& c) {
    switch (c.cls) {
    case res::ControlClass::Button:
        switch (c.style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_3STATE: return ControlKind::CheckBox;
        case BS_AUTOCHECKBOX:
        case BS_AUTO3STATE: return ControlKind::AutoCheckBox;
        case BS_RADIOBUTTON: return ControlKind::RadioButton;
        case BS_AUTORADIOBUTTON: return ControlKind::AutoRadioButton;
        case BS_GROUPBOX: return ControlKind::GroupBox;
        case BS_OWNERDRAW: return ControlKind::OwnerDrawn;
        default: return ControlKind::PushButton;
        }
    case res::ControlClass::Static: return ControlKind::Static;
    case res::ControlClass::Edit: return ControlKind::Edit;
    case res::ControlClass::ComboBox: return ControlKind::ComboBox;
    case res::ControlClass::ListBox: return ControlKind::ListBox;
    default: return ControlKind::Other;
    }
}

}  // namespace

Window* FromHandle(HWND hwnd) {
    Window* w = reinterpret_cast<Window*>(hwnd);
    return w && Live().count(w) ? w : nullptr;
}

HWND ToHandle(Window* w) {
    return reinterpret_cast<HWND>(w);
}

Window* DialogFromHandle(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w && w->type == Window::Type::Dialog ? w : nullptr;
}

Window* ControlFromHandle(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return w && w->type == Window::Type::Control ? w : nullptr;
}

Window* ControlById(Window* dialog, int id) {
    if (!dialog) return nullptr;
    for (auto& c : dialog->controls)
        if (c->id == id) return c.get();
    return nullptr;
}

std::unique_ptr<Window> BuildDialog(const res::DialogTemplate& tmpl, Window* owner,
                                    Procedure proc) {
    auto dlg = std::make_unique<Window>();
    dlg->type = Window::Type::Dialog;
    dlg->parent = owner;
    dlg->caption = dlg->text = tmpl.caption;
    dlg->dialogId = tmpl.id;
    dlg->dialog = tmpl;
    dlg->proc = std::move(proc);
    dlg->enabled = !(tmpl.style & WS_DISABLED);
    for (const res::ControlTemplate& c : tmpl.controls) {
        auto w = std::make_unique<Window>();
        w->type = Window::Type::Control;
        w->parent = dlg.get();
        w->id = c.id;
        w->tmpl = c;
        w->kind = KindOf(c);
        w->caption = w->text = c.text;
        w->enabled = !(c.style & WS_DISABLED);
        w->visible = (c.style & WS_VISIBLE) != 0;
        Live().insert(w.get());
        dlg->controls.push_back(std::move(w));
    }
    Live().insert(dlg.get());
    return dlg;
}

void RetireDialog(Window* dialog) {
    if (!dialog || !Live().count(dialog)) return;
    SendToDialog(dialog, WM_DESTROY, 0, 0);
    DropFocus(dialog);
    for (auto& c : dialog->controls) Live().erase(c.get());
    Live().erase(dialog);
}

INT_PTR SendToDialog(Window* dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!dialog || !dialog->proc || !Live().count(dialog)) return 0;
    // A copy: the procedure may replace itself or close the dialog while it runs.
    Procedure proc = dialog->proc;
    return proc(ToHandle(dialog), msg, wParam, lParam);
}

void Notify(Window* control, WORD code) {
    if (!control || !control->parent) return;
    SendToDialog(control->parent, WM_COMMAND, MAKEWPARAM(control->id, code),
                 reinterpret_cast<LPARAM>(ToHandle(control)));
}

RECT DialogUnitsToPixels(int x, int y, int cx, int cy) {
    RECT r;
    r.left = x * kBaseUnitX / 4;
    r.top = y * kBaseUnitY / 8;
    r.right = (x + cx) * kBaseUnitX / 4;
    r.bottom = (y + cy) * kBaseUnitY / 8;
    return r;
}

RECT PixelRect(const Window* control) {
    const res::ControlTemplate& c = control->tmpl;
    return DialogUnitsToPixels(c.x, c.y, c.cx, c.cy);
}

Window* MainWindowObject() {
    static Window* main = [] {
        static Window w;
        w.type = Window::Type::Main;
        w.caption = w.text = "Quorvane";
        Live().insert(&w);
        return &w;
    }();
    return main;
}

std::vector<Window*>& ModalStack() {
    static std::vector<Window*> stack;
    return stack;
}

Window* Focus() {
    if (g_focus && !Live().count(g_focus)) g_focus = nullptr;
    return g_focus;
}

void MoveFocus(Window* to) {
    Window* old = Focus();
    if (old == to) return;
    g_focus = to;
    if (old && old->type == Window::Type::Control && old->kind == ControlKind::Edit)
        Notify(old, EN_KILLFOCUS);
}

void DropFocus(Window* ifOwnedBy) {
    Window* f = Focus();
    if (f && (f == ifOwnedBy || f->parent == ifOwnedBy)) g_focus = nullptr;
}

void SetFocusQuietly(Window* w) {
    g_focus = w;
}

}  // namespace qv::ui
