// Looking at an open dialog or panel: its id, caption and controls, for the scene dump.
#include "control_layout.h"
#include "ui_internal.h"

namespace qv::ui {
namespace {

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
        out.push_back(std::move(info));
    }
    return out;
}

}  // namespace qv::ui
