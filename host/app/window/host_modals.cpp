// Message boxes and the file browser, drawn with ImGui inside the window's modal frame.
#include "window/host_modals.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace qvapp::window {
namespace {

using qv::ui::Action;

constexpr float kAnswerWidth = 80.0f;      // pixels: a message box button
constexpr float kFileListHeight = 260.0f;  // pixels: the browser's list of entries

Action Make(Action::Kind kind, const std::string& text = {}) {
    Action a;
    a.kind = kind;
    a.text = text;
    return a;
}

// Sub-folders first, then files, each sorted by name.
std::vector<std::filesystem::directory_entry> Entries(const std::filesystem::path& folder) {
    std::vector<std::filesystem::directory_entry> entries;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) entries.push_back(e);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        std::error_code ea, eb;
        const bool da = a.is_directory(ea), db = b.is_directory(eb);
        if (da != db) return da;
        return a.path().filename() < b.path().filename();
    });
    return entries;
}

}  // namespace

std::optional<Action> DrawMessageBox(const qv::ui::Modal& modal) {
    std::optional<Action> answered;
    ImGui::TextUnformatted(modal.text.c_str());
    ImGui::Separator();
    for (const std::string& word : modal.answers) {
        std::string label = word;
        if (!label.empty()) label[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(label[0])));
        if (ImGui::Button(label.c_str(), {kAnswerWidth, 0.0f})) answered = Make(Action::Kind::Answer, word);
        ImGui::SameLine();
    }
    ImGui::NewLine();
    return answered;
}

std::optional<Action> FileBrowser::Draw(const qv::ui::Modal&) {
    std::optional<Action> chosen;
    ImGui::TextUnformatted(folder_.string().c_str());
    if (ImGui::BeginListBox("##entries", {-1.0f, kFileListHeight})) {
        if (folder_.has_parent_path() && folder_ != folder_.root_path() &&
            ImGui::Selectable("..", false))
            folder_ = folder_.parent_path();
        for (const auto& e : Entries(folder_)) {
            std::error_code ec;
            const bool isFolder = e.is_directory(ec);
            const std::string label = e.path().filename().string() + (isFolder ? "/" : "");
            const bool picked = ImGui::Selectable(label.c_str(), label == name_,
                                                  ImGuiSelectableFlags_AllowDoubleClick);
            if (!picked) continue;
            if (isFolder) {
                folder_ = e.path();
            } else {
                name_ = e.path().filename().string();
                if (ImGui::IsMouseDoubleClicked(0)) {
                    chosen = Make(Action::Kind::File, (folder_ / name_).string());
                }
            }
        }
        ImGui::EndListBox();
    }
    ImGui::SetNextItemWidth(-1.0f);
    const bool enter = ImGui::InputText("##name", &name_, ImGuiInputTextFlags_EnterReturnsTrue);
    if ((ImGui::Button("OK", {kAnswerWidth, 0.0f}) || enter) && !name_.empty())
        chosen = Make(Action::Kind::File, (folder_ / name_).string());
    ImGui::SameLine();
    if (ImGui::Button("Cancel", {kAnswerWidth, 0.0f})) chosen = Make(Action::Kind::FileCancel);
    return chosen;
}

}  // namespace qvapp::window
