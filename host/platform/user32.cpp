// The window functions of the Windows subset: messages, text, check boxes, enabling, focus
// and window data, on the window objects behind handles.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "control_messages.h"
#include "ui_internal.h"

using qv::ui::ControlFromHandle;
using qv::ui::ControlKind;
using qv::ui::DialogFromHandle;
using qv::ui::FromHandle;
using qv::ui::ToHandle;
using qv::ui::Window;

namespace {

Window* Item(HWND dlg, int id) {
    return qv::ui::ControlById(DialogFromHandle(dlg), id);
}

bool IsRadio(const Window* w) {
    return w->kind == ControlKind::RadioButton || w->kind == ControlKind::AutoRadioButton;
}

}  // namespace

extern "C" {

BOOL WINAPI EndDialog(HWND dlg, INT_PTR result) {
    Window* w = DialogFromHandle(dlg);
    if (!w || !w->modal || w->ended) return FALSE;
    w->ended = true;
    w->result = result;
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FromHandle(wnd);
    if (!w) return 0;
    if (w->type == Window::Type::Control) return qv::ui::ControlMessage(w, msg, wParam, lParam);
    if (w->type == Window::Type::Dialog) {
        if (msg == WM_SETTEXT) {
            const char* s = reinterpret_cast<const char*>(lParam);
            w->text = s ? s : "";
            return TRUE;
        }
        if (msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH) {
            if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(w->text.size());
            char* out = reinterpret_cast<char*>(lParam);
            if (!out || wParam == 0) return 0;
            size_t n = std::min<size_t>(w->text.size(), wParam - 1);
            std::memcpy(out, w->text.data(), n);
            out[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        return qv::ui::SendToDialog(w, msg, wParam, lParam);
    }
    return 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dlg, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* c = Item(dlg, id);
    return c ? qv::ui::ControlMessage(c, msg, wParam, lParam) : 0;
}

HWND WINAPI GetDlgItem(HWND dlg, int id) {
    return ToHandle(Item(dlg, id));
}

int WINAPI GetDlgCtrlID(HWND control) {
    Window* c = ControlFromHandle(control);
    return c ? c->id : 0;
}

HWND WINAPI GetParent(HWND wnd) {
    Window* w = FromHandle(wnd);
    return w ? ToHandle(w->parent) : nullptr;
}

BOOL WINAPI EnableWindow(HWND wnd, BOOL enable) {
    Window* w = FromHandle(wnd);
    if (!w) return FALSE;
    BOOL wasDisabled = !w->enabled;
    w->enabled = enable != FALSE;
    // A disabled edit loses the focus, as it can no longer be typed into.
    if (!w->enabled && qv::ui::Focus() == w) qv::ui::MoveFocus(nullptr);
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND wnd) {
    Window* w = FromHandle(wnd);
    return w && w->enabled;
}

BOOL WINAPI ShowWindow(HWND wnd, int cmd) {
    Window* w = FromHandle(wnd);
    if (!w) return FALSE;
    BOOL wasVisible = w->visible;
    w->visible = cmd != SW_HIDE;
    return wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND wnd) {
    Window* w = FromHandle(wnd);
    return w && w->visible;
}

BOOL WINAPI SetWindowTextA(HWND wnd, LPCSTR text) {
    if (!FromHandle(wnd)) return FALSE;
    SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return TRUE;
}

int WINAPI GetWindowTextA(HWND wnd, LPSTR text, int maxCount) {
    if (!FromHandle(wnd) || maxCount <= 0) return 0;
    return static_cast<int>(SendMessageA(wnd, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextLengthA(HWND wnd) {
    return static_cast<int>(SendMessageA(wnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetDlgItemTextA(HWND dlg, int id, LPCSTR text) {
    return SetWindowTextA(GetDlgItem(dlg, id), text);
}

UINT WINAPI GetDlgItemTextA(HWND dlg, int id, LPSTR text, int maxCount) {
    HWND item = GetDlgItem(dlg, id);
    if (!item) {
        if (text && maxCount > 0) text[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(item, text, maxCount));
}

BOOL WINAPI SetDlgItemInt(HWND dlg, int id, UINT value, BOOL isSigned) {
    char buf[32];
    if (isSigned) std::snprintf(buf, sizeof buf, "%d", static_cast<int>(value));
    else std::snprintf(buf, sizeof buf, "%u", value);
    return SetDlgItemTextA(dlg, id, buf);
}

// The whole text must be an integer (blanks around it allowed), as Windows requires.
UINT WINAPI GetDlgItemInt(HWND dlg, int id, BOOL* translated, BOOL isSigned) {
    if (translated) *translated = FALSE;
    Window* c = Item(dlg, id);
    if (!c) return 0;
    const std::string& s = c->text;
    size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    bool negative = false;
    if (i < s.size() && s[i] == '-' && isSigned) {
        negative = true;
        ++i;
    }
    size_t digits = i;
    long long v = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        v = v * 10 + (s[i] - '0');
        if (v > 0xFFFFFFFFLL) return 0;  // overflow: not translated
        ++i;
    }
    if (i == digits) return 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    if (i != s.size()) return 0;
    if (isSigned && v > (negative ? 0x80000000LL : 0x7FFFFFFFLL)) return 0;
    if (translated) *translated = TRUE;
    return static_cast<UINT>(negative ? -v : v);
}

BOOL WINAPI CheckDlgButton(HWND dlg, int id, UINT check) {
    Window* c = Item(dlg, id);
    if (!c) return FALSE;
    c->check = check;
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dlg, int id) {
    Window* c = Item(dlg, id);
    return c ? c->check : 0;
}

BOOL WINAPI CheckRadioButton(HWND dlg, int firstId, int lastId, int checkId) {
    Window* d = DialogFromHandle(dlg);
    if (!d) return FALSE;
    for (auto& c : d->controls)
        if (c->id >= firstId && c->id <= lastId && IsRadio(c.get()))
            c->check = c->id == checkId ? BST_CHECKED : BST_UNCHECKED;
    if (Window* c = qv::ui::ControlById(d, checkId)) c->check = BST_CHECKED;
    return TRUE;
}

BOOL WINAPI RedrawWindow(HWND wnd, const RECT*, void*, UINT flags) {
    Window* w = FromHandle(wnd);
    if (!w) return FALSE;
    if (flags & RDW_UPDATENOW) {
        if (w->type == Window::Type::Control && w->kind == ControlKind::OwnerDrawn)
            qv::ui::PaintControl(w);
        else if (w->type == Window::Type::Dialog)
            qv::ui::PaintOwnerDrawn(wnd);
    }
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND wnd, const RECT*, BOOL) {
    return FromHandle(wnd) ? TRUE : FALSE;
}

HWND WINAPI GetFocus(void) {
    return ToHandle(qv::ui::Focus());
}

HWND WINAPI SetFocus(HWND wnd) {
    Window* previous = qv::ui::Focus();
    Window* w = FromHandle(wnd);
    if (wnd && !w) return nullptr;
    qv::ui::MoveFocus(w);
    return ToHandle(previous);
}

HWND WINAPI GetActiveWindow(void) {
    auto& stack = qv::ui::ModalStack();
    return stack.empty() ? qv::ui::MainWindow() : ToHandle(stack.back());
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND wnd, int index, LONG_PTR value) {
    Window* w = FromHandle(wnd);
    if (!w) return 0;
    LONG_PTR* slot = index == GWLP_USERDATA                                   ? &w->userData
                     : (index == DWLP_USER && w->type == Window::Type::Dialog) ? &w->dialogData
                                                                               : nullptr;
    if (!slot) return 0;
    LONG_PTR old = *slot;
    *slot = value;
    return old;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND wnd, int index) {
    Window* w = FromHandle(wnd);
    if (!w) return 0;
    if (index == GWLP_USERDATA) return w->userData;
    if (index == DWLP_USER && w->type == Window::Type::Dialog) return w->dialogData;
    if (index == GWLP_ID) return w->id;
    if (index == GWL_STYLE)
        return static_cast<LONG_PTR>(w->type == Window::Type::Control ? w->tmpl.style
                                                                      : w->dialog.style);
    return 0;
}

}  // extern "C"
