// ImGui widgets for the controls of a template dialog: group boxes and labels drawn, buttons,
// check boxes, radio buttons, edits, combo boxes and owner-drawn swatches acting.
#include "window/dialog_widgets.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <vector>

namespace qvapp::window {
namespace {

using qv::ui::Action;
using qv::ui::ControlInfo;

constexpr ImU32 kGroupFrame = IM_COL32(140, 140, 140, 255);
constexpr float kGroupCaptionInset = 6.0f;  // window pixels from the group's left edge

ImVec2 At(const ImVec2& origin, const RECT& r) {
    return {origin.x + static_cast<float>(r.left) * kDialogZoom,
            origin.y + static_cast<float>(r.top) * kDialogZoom};
}

ImVec2 SizeOf(const RECT& r) {
    return {static_cast<float>(r.right - r.left) * kDialogZoom,
            static_cast<float>(r.bottom - r.top) * kDialogZoom};
}

std::string IdName(int id) { return "#" + std::to_string(id); }

std::vector<std::string> ComboItems(HWND dlg, int id) {
    std::vector<std::string> items;
    const LRESULT n = SendDlgItemMessageA(dlg, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        const LRESULT len = SendDlgItemMessageA(dlg, id, CB_GETLBTEXTLEN, i, 0);
        std::vector<char> buffer(len > 0 ? static_cast<size_t>(len) + 1 : 1, '\0');
        SendDlgItemMessageA(dlg, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        items.emplace_back(buffer.data());
    }
    return items;
}

// 0x00BBGGRR as ImGui's colour.
ImVec4 FromColorRef(unsigned long c) {
    return {static_cast<float>(c & 0xFF) / 255.0f, static_cast<float>((c >> 8) & 0xFF) / 255.0f,
            static_cast<float>((c >> 16) & 0xFF) / 255.0f, 1.0f};
}

void DrawGroup(const ImVec2& origin, const ControlInfo& c) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 p = At(origin, c.rect), size = SizeOf(c.rect);
    const float captionMid = ImGui::GetFontSize() * 0.5f;
    draw->AddRect({p.x, p.y + captionMid}, {p.x + size.x, p.y + size.y}, kGroupFrame);
    if (!c.caption.empty()) {
        const ImVec2 textSize = ImGui::CalcTextSize(c.caption.c_str());
        const ImVec2 textAt{p.x + kGroupCaptionInset, p.y};
        draw->AddRectFilled({textAt.x - 2, textAt.y}, {textAt.x + textSize.x + 2, textAt.y + textSize.y},
                            ImGui::GetColorU32(ImGuiCol_WindowBg));
        draw->AddText(textAt, ImGui::GetColorU32(ImGuiCol_Text), c.caption.c_str());
    }
}

}  // namespace

std::optional<Action> DialogWidgets::Draw(HWND dlg) {
    std::optional<Action> acted;
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const std::vector<ControlInfo> controls = qv::ui::Controls(dlg);
    auto act = [&](Action::Kind kind, int id, std::string text = {}, bool enter = false) {
        Action a;
        a.kind = kind;
        a.control = IdName(id);
        a.text = std::move(text);
        a.enter = enter;
        acted = a;
    };
    // Group boxes first, so that the controls inside them draw over their frames.
    for (const ControlInfo& c : controls)
        if (c.visible && c.kind == "group") DrawGroup(origin, c);
    for (const ControlInfo& c : controls) {
        if (!c.visible || c.kind == "group") continue;
        ImGui::PushID(c.id);
        ImGui::SetCursorScreenPos(At(origin, c.rect));
        const ImVec2 size = SizeOf(c.rect);
        ImGui::BeginDisabled(!c.enabled);
        if (c.kind == "static") {
            ImGui::TextUnformatted(c.text.c_str());
        } else if (c.kind == "button") {
            if (ImGui::Button(c.text.c_str(), size)) act(Action::Kind::Press, c.id);
        } else if (c.kind == "swatch") {
            if (ImGui::ColorButton(c.text.c_str(), FromColorRef(c.colour),
                                   ImGuiColorEditFlags_NoTooltip, size))
                act(Action::Kind::Press, c.id);
        } else if (c.kind == "checkbox" && c.pushLike) {
            if (c.checked) ImGui::PushStyleColor(ImGuiCol_Button, ImGui::GetStyleColorVec4(ImGuiCol_ButtonActive));
            if (ImGui::Button(c.text.c_str(), size)) act(Action::Kind::Press, c.id);
            if (c.checked) ImGui::PopStyleColor();
        } else if (c.kind == "checkbox") {
            bool checked = c.checked;
            if (ImGui::Checkbox(c.text.c_str(), &checked)) act(Action::Kind::Press, c.id);
        } else if (c.kind == "radio") {
            if (ImGui::RadioButton(c.text.c_str(), c.checked)) act(Action::Kind::Press, c.id);
        } else if (c.kind == "edit") {
            auto it = edits_.find(c.id);
            std::string& text = it != edits_.end() ? it->second : (edits_[c.id] = c.text);
            ImGui::SetNextItemWidth(size.x);
            const bool enter = ImGui::InputText("##edit", &text, ImGuiInputTextFlags_EnterReturnsTrue);
            const bool left = ImGui::IsItemDeactivated();
            if (enter) act(Action::Kind::Type, c.id, text, true);
            else if (left && text != c.text) act(Action::Kind::Type, c.id, text, false);
            // Once the field is left it shows its own text again from the next frame.
            if (!ImGui::IsItemActive()) edits_.erase(c.id);
        } else if (c.kind == "combo") {
            ImGui::SetNextItemWidth(size.x);
            if (ImGui::BeginCombo("##combo", c.text.c_str())) {
                for (const std::string& item : ComboItems(dlg, c.id))
                    if (ImGui::Selectable(item.c_str(), item == c.text))
                        act(Action::Kind::Choose, c.id, item);
                ImGui::EndCombo();
            }
        }
        ImGui::EndDisabled();
        ImGui::PopID();
    }
    // The dialog's whole client area is the window's content.
    const qv::ui::PixelSize client = qv::ui::DialogPixelSize(dlg);
    ImGui::SetCursorScreenPos(origin);
    ImGui::Dummy({static_cast<float>(client.width) * kDialogZoom,
                  static_cast<float>(client.height) * kDialogZoom});
    return acted;
}

bool ApplyToPanel(HWND panel, const Action& action, std::string& error) {
    switch (action.kind) {
        case Action::Kind::Press: return qv::ui::Press(panel, action.control, error);
        case Action::Kind::Type:
            return qv::ui::Type(panel, action.control, action.text, action.enter, error);
        case Action::Kind::Choose: return qv::ui::Choose(panel, action.control, action.text, error);
        default: error = "a panel takes presses, typing and choices only"; return false;
    }
}

}  // namespace qvapp::window
