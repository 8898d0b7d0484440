// Looking at an open dialog or panel: its id, caption, size and controls, for the scene dump
// and its picture.
#include "control_layout.h"
#include "ui_internal.h"

namespace qv::ui {
namespace {

constexpr uint32_t kStaticTypeMask = 0x1F;  // the SS_ type bits of a static's style

const char* KindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton: return "button";
    case ControlKind::CheckBox:
    case ControlKind::AutoCheckBox: return "checkbox";
    case ControlKind::RadioButton:
    case ControlKind::AutoRadioButton: return "radio";
    case ControlKind::GroupBox: return "group";
    case ControlKind::OwnerDrawn: return "swatch";
    case ControlKind::Static: return "static";
    case ControlKind::Edit: return "edit";
    case ControlKind::ComboBox: return "combo";
    case ControlKind::ListBox: return "list";
    default: return "other";
    }
}

}  // namespace

int DialogId(HWND dlg) {
    Window* d = DialogFromHandle(dlg);
    return d ? d->dialogId : 0;
}

std::string DialogCaption(HWND dlg) {
    Window* d = DialogFromHandle(dlg);
    return d ? d->text : std::string();
}

PixelSize DialogPixelSize(HWND dlg) {
    Window* d = DialogFromHandle(dlg);
    if (!d) return {};
    const RECT r = DialogUnitsToPixels(0, 0, d->dialog.cx, d->dialog.cy);
    return {static_cast<int>(r.right), static_cast<int>(r.bottom)};
}

HWND TopModalDialog() {
    const std::vector<Window*>& stack = ModalStack();
    return stack.empty() ? nullptr : ToHandle(stack.back());
}

std::vector<ControlInfo> Controls(HWND dlg) {
    std::vector<ControlInfo> out;
    Window* d = DialogFromHandle(dlg);
    if (!d) return out;
    for (const ControlPlace& p : Layout(d)) {
        const Window* c = p.control;
        ControlInfo info;
        info.id = c->id;
        info.kind = KindName(c->kind);
        info.caption = c->caption;
        info.text = c->text;
        info.checked = c->check == BST_CHECKED;
        info.enabled = c->enabled;
        info.visible = c->visible;
        info.group = p.groups.empty() ? "" : StripMnemonic(p.groups.front()->caption);
        info.colour = c->colour;
        info.rect = PixelRect(c);
        info.pushLike = (c->tmpl.style & BS_PUSHLIKE) != 0 &&
                        (c->kind == ControlKind::CheckBox || c->kind == ControlKind::AutoCheckBox);
        if (c->kind == ControlKind::Static) {
            const uint32_t type = c->tmpl.style & kStaticTypeMask;
            info.align = type == SS_CENTER ? ControlInfo::Align::Centre
                         : type == SS_RIGHT ? ControlInfo::Align::Right : ControlInfo::Align::Left;
        }
        out.push_back(std::move(info));
    }
    return out;
}

}  // namespace qv::ui
