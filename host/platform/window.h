// Windows as objects: the host's main window, dialogs (modal or panels) built from templates,
// and their controls. An HWND is a pointer to one of these; handles are checked against the
// set of live windows before use, so a stale handle is refused rather than followed.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "rc_template.h"

namespace qv::ui {

using Procedure = std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>;

// What a control is, as far as acting on it goes.
enum class ControlKind {
    PushButton, CheckBox, AutoCheckBox, RadioButton, AutoRadioButton, GroupBox, OwnerDrawn,
    Static, Edit, ComboBox, ListBox, Other
};

struct ComboItem {
    std::string text;
    LPARAM data = 0;
};

struct Window;

struct Window {
    enum class Type { Main, Dialog, Control };
    Type type = Type::Control;
    Window* parent = nullptr;  // controls: their dialog; dialogs: their owner (may be null)
    std::string caption;       // resource caption (dialogs: title)
    std::string text;          // current text
    bool enabled = true;
    bool visible = true;
    LONG_PTR userData = 0;     // GWLP_USERDATA
    LONG_PTR dialogData = 0;   // DWLP_USER

    // Controls.
    int id = 0;
    ControlKind kind = ControlKind::Other;
    res::ControlTemplate tmpl;
    UINT check = BST_UNCHECKED;
    std::vector<ComboItem> items;
    int selection = CB_ERR;
    COLORREF colour = 0;        // owner-drawn: colour last filled
    bool painted = false;

    // Dialogs.
    int dialogId = 0;
    res::DialogTemplate dialog;
    Procedure proc;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    std::vector<std::unique_ptr<Window>> controls;
};

// The live window behind a handle; null for null, stale or foreign handles.
Window* FromHandle(HWND hwnd);
HWND ToHandle(Window* w);
// Only dialogs and controls respectively; null otherwise.
Window* DialogFromHandle(HWND hwnd);
Window* ControlFromHandle(HWND hwnd);
// The control with that id in the dialog; null when absent.
Window* ControlById(Window* dialog, int id);

// Builds a dialog and its controls from a template (no message is sent yet).
std::unique_ptr<Window> BuildDialog(const res::DialogTemplate& tmpl, Window* owner,
                                    Procedure proc);
// Sends WM_DESTROY and forgets the dialog's handles (the object is then destroyed by its owner).
void RetireDialog(Window* dialog);

// Sends a message to a dialog's procedure; 0 when it has none.
INT_PTR SendToDialog(Window* dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// WM_COMMAND from a control to its dialog with the given notification.
void Notify(Window* control, WORD code);

// Pixel rectangle of a control (dialog units scaled by the dialog font's base units).
RECT PixelRect(const Window* control);
// The same scaling for any rectangle given in dialog units.
RECT DialogUnitsToPixels(int x, int y, int cx, int cy);

// The host's main window (created on first use) and the modal dialogs open, innermost last.
Window* MainWindowObject();
std::vector<Window*>& ModalStack();

// The window with the keyboard focus; focusing an edit away sends it EN_KILLFOCUS.
Window* Focus();
void MoveFocus(Window* to);
// Forgets the focus without notifications (a window closing, a modal ending).
void DropFocus(Window* ifOwnedBy);
void SetFocusQuietly(Window* w);

}  // namespace qv::ui
