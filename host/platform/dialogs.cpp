// Modal dialogs and panels built from a module's dialog templates. A modal dialog runs its
// own loop: it takes actions from the driver until its procedure calls EndDialog.
#include <map>

#include "resource_registry.h"
#include "ui_internal.h"

namespace qv::ui {
namespace {

// Deepest nesting of modal dialogs (one opened from another) before the loop refuses.
constexpr size_t kMaxModalDepth = 32;

std::map<Window*, std::unique_ptr<Window>>& Panels() {
    static std::map<Window*, std::unique_ptr<Window>> panels;
    return panels;
}

// Closes a dialog nobody finished: IDCANCEL to the procedure, then EndDialog(0) if still open.
void Cancel(Window* dlg) {
    SendToDialog(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!dlg->ended) {
        dlg->ended = true;
        dlg->result = 0;
    }
}

void DriveUntilEnded(Window* dlg, Modal::Kind kind) {
    while (!dlg->ended) {
        Modal modal;
        modal.kind = kind;
        modal.title = dlg->text;
        modal.window = ToHandle(dlg);
        Action action;
        Driver* driver = GetDriver();
        if (!driver || !driver->NextAction(modal, action)) {
            RecordError("dialog " + DialogLabel(dlg) + " left open");
            Cancel(dlg);
            return;
        }
        std::string error;
        if (!ApplyAction(ToHandle(dlg), action, error)) {
            RecordError(action.where.empty() ? error : action.where + ": " + error);
            Cancel(dlg);
            return;
        }
    }
}

}  // namespace

INT_PTR RunModal(HINSTANCE module, LPCSTR name, HWND owner, Procedure proc, LPARAM initParam,
                 Modal::Kind kind) {
    const res::DialogTemplate* tmpl = res::FindDialog(module, name);
    if (!tmpl) {
        RecordError("the module has no dialog " + res::ResourceName(name));
        return -1;
    }
    if (ModalStack().size() >= kMaxModalDepth) {
        RecordError("too many dialogs open at once");
        return -1;
    }
    Window* ownerWindow = FromHandle(owner);
    auto dlg = BuildDialog(*tmpl, ownerWindow ? ownerWindow : MainWindowObject(), std::move(proc));
    dlg->modal = true;
    Window* savedFocus = Focus();
    SetFocusQuietly(nullptr);
    ModalStack().push_back(dlg.get());

    SendToDialog(dlg.get(), WM_INITDIALOG, 0, initParam);
    if (!dlg->ended) PaintOwnerDrawn(ToHandle(dlg.get()));
    DriveUntilEnded(dlg.get(), kind);

    INT_PTR result = dlg->result;
    ModalStack().pop_back();
    RetireDialog(dlg.get());
    SetFocusQuietly(FromHandle(ToHandle(savedFocus)));
    return result;
}

HWND CreatePanel(HINSTANCE module, int dialogId, PanelProc proc) {
    const res::DialogTemplate* tmpl = res::FindDialog(module, MAKEINTRESOURCE(dialogId));
    if (!tmpl) {
        RecordError("the module has no dialog " + std::to_string(dialogId));
        return nullptr;
    }
    auto panel = BuildDialog(*tmpl, MainWindowObject(), std::move(proc));
    Window* w = panel.get();
    Panels()[w] = std::move(panel);
    SendToDialog(w, WM_INITDIALOG, 0, 0);
    if (FromHandle(ToHandle(w))) PaintOwnerDrawn(ToHandle(w));
    return ToHandle(w);
}

void DestroyPanel(HWND panel) {
    Window* w = DialogFromHandle(panel);
    auto it = Panels().find(w);
    if (!w || it == Panels().end()) return;
    std::unique_ptr<Window> owned = std::move(it->second);
    Panels().erase(it);
    RetireDialog(owned.get());
}

}  // namespace qv::ui

extern "C" INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR templateName, HWND owner,
                                          DLGPROC proc, LPARAM initParam) {
    qv::ui::Procedure p;
    if (proc) p = [proc](HWND h, UINT m, WPARAM w, LPARAM l) { return proc(h, m, w, l); };
    return qv::ui::RunModal(hInstance, templateName, owner, std::move(p), initParam,
                            qv::ui::Modal::Kind::Dialog);
}
