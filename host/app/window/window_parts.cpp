// The window's interface around the viewport: the menus, the view and transform toolbar, the
// command area with its Create and Modify tabs and the open tool's panel, and the timeline.
#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "quorvane/anim.h"
#include "quorvane/classes.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"
#include "scene_view.h"
#include "tools.h"
#include "window/host_window.h"

#include <GLFW/glfw3.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace qvapp::window {
namespace {

constexpr float kTickHeight = 6.0f;           // pixels: a key's tick under the frame slider
constexpr ImU32 kTickColour = IM_COL32(200, 40, 40, 255);
constexpr float kPlayButtonWidth = 60.0f;     // pixels
constexpr float kRangeFieldWidth = 90.0f;     // pixels
constexpr double kMsPerSecond = 1000.0;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

void HostWindow::DrawMenus() {
    if (!ImGui::BeginMainMenuBar()) return;
    if (ImGui::BeginMenu("File")) {
        if (ImGui::MenuItem("New")) Later([this] {
            Command("new");
            scenePath_.clear();
        });
        if (ImGui::MenuItem("Open...")) Later([this] { OpenScene(); });
        if (ImGui::MenuItem("Save")) Later([this] { SaveScene(scenePath_.empty()); });
        if (ImGui::MenuItem("Save As...")) Later([this] { SaveScene(true); });
        if (ImGui::MenuItem("Export glTF...")) Later([this] { ExportGltf(); });
        ImGui::Separator();
        if (ImGui::MenuItem("Quit")) glfwSetWindowShouldClose(window_, GLFW_TRUE);
        ImGui::EndMenu();
    }
    if (ImGui::BeginMenu("Edit")) {
        if (ImGui::MenuItem("Undo", nullptr, false, theUndo.NumLevels() > 0))
            Later([this] { Command("undo"); });
        if (ImGui::MenuItem("Redo")) Later([this] { Command("redo"); });
        ImGui::EndMenu();
    }
    if (!status_.empty()) {
        ImGui::Separator();
        ImGui::TextUnformatted(status_.c_str());
    }
    ImGui::EndMainMenuBar();
}

void HostWindow::DrawToolbar() {
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos({0, ImGui::GetFrameHeight()});
    ImGui::SetNextWindowSize({io.DisplaySize.x - kCommandAreaWidth, kToolbarHeight});
    ImGui::Begin("##toolbar", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings);
    static const qv::gl::ViewKind kViews[] = {qv::gl::ViewKind::Front, qv::gl::ViewKind::Back,
                                              qv::gl::ViewKind::Left,  qv::gl::ViewKind::Right,
                                              qv::gl::ViewKind::Top,   qv::gl::ViewKind::Persp};
    for (qv::gl::ViewKind kind : kViews) {
        if (ImGui::RadioButton(qv::gl::ViewKindName(kind), camera_.Kind() == kind)) camera_.SetKind(kind);
        ImGui::SameLine();
    }
    if (ImGui::Button("Frame All")) camera_.FrameBox(SceneBox(GetAnimTime()));
    ImGui::SameLine();
    ImGui::TextUnformatted(" |");
    static const std::pair<const char*, TransformMode> kModes[] = {
        {"Select", TransformMode::Select}, {"Move", TransformMode::Move},
        {"Rotate", TransformMode::Rotate}, {"Scale", TransformMode::Scale}};
    for (const auto& [name, mode] : kModes) {
        ImGui::SameLine();
        if (ImGui::RadioButton(name, input_.mode == mode)) input_.mode = mode;
    }
    static const char* kAxes[] = {"X", "Y", "Z"};
    ImGui::SameLine();
    ImGui::TextUnformatted(" about");
    for (int a = 0; a < 3; ++a) {
        ImGui::SameLine();
        if (ImGui::RadioButton(kAxes[a], input_.axis == a)) input_.axis = a;
    }
    ImGui::End();
}

void HostWindow::DrawCommandArea() {
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos({io.DisplaySize.x - kCommandAreaWidth, ImGui::GetFrameHeight()});
    ImGui::SetNextWindowSize({kCommandAreaWidth, io.DisplaySize.y - ImGui::GetFrameHeight()});
    // A panel taller than the window scrolls.
    ImGui::Begin("##commands", nullptr,
                 ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                     ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings);
    const ToolKind open = tools_.Kind();
    if (ImGui::BeginTabBar("##tabs")) {
        for (int libType : {QV_LIBTYPE_CREATE, QV_LIBTYPE_MODIFY}) {
            const bool create = libType == QV_LIBTYPE_CREATE;
            const ToolKind kind = create ? ToolKind::Create : ToolKind::Modify;
            // A tool just opened brings its tab to the front.
            const ImGuiTabItemFlags flags =
                (open == kind && open != shownKind_) ? ImGuiTabItemFlags_SetSelected : 0;
            if (!ImGui::BeginTabItem(create ? "Create" : "Modify", nullptr, flags)) continue;
            for (const auto& module : tools_.Modules())
                for (const ModuleClass& c : module->classes) {
                    if (c.libType != libType) continue;
                    const std::string category = c.object->GetCategory() ? c.object->GetCategory() : "";
                    const std::string name = c.object->GetName() ? c.object->GetName() : "";
                    const std::string line = create ? "create " + Quoted(category) + " " + Quoted(name)
                                                    : "modify " + Quoted(name);
                    if (ImGui::Button((name + "##" + category).c_str())) Later([this, line] { Command(line); });
                    ImGui::SameLine();
                }
            if (open != ToolKind::None && ImGui::Button("Close")) Later([this] { Command("close"); });
            ImGui::NewLine();
            ImGui::Separator();
            HWND panel = tools_.Panel();
            if (open == kind && panel) {
                if (panel != shownPanel_) panelWidgets_.Reset();
                shownPanel_ = panel;
                panelOrigin_ = {ImGui::GetCursorScreenPos().x, ImGui::GetCursorScreenPos().y};
                if (std::optional<qv::ui::Action> action = panelWidgets_.Draw(panel))
                    Later([this, panel, a = *action] {
                        std::string error;
                        if (!ApplyToPanel(panel, a, error)) Report(error);
                    });
            }
            ImGui::EndTabItem();
        }
        ImGui::EndTabBar();
    }
    shownKind_ = open;
    ImGui::End();
}

void HostWindow::DrawTimeline() {
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos({0, io.DisplaySize.y - kTimelineHeight});
    ImGui::SetNextWindowSize({io.DisplaySize.x - kCommandAreaWidth, kTimelineHeight});
    ImGui::Begin("##timeline", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings);
    const int start = Interface::GetAnimStart(), end = Interface::GetAnimEnd();
    int frame = GetAnimTime();
    ImGui::SetNextItemWidth(-1.0f);
    if (ImGui::SliderInt("##frame", &frame, start, end)) {
        playing_ = false;
        Later([this, frame] { Command("time " + std::to_string(frame)); });
    }
    // The selected node's keys as ticks under the slider.
    const ImVec2 lo = ImGui::GetItemRectMin(), hi = ImGui::GetItemRectMax();
    const float grab = ImGui::GetStyle().GrabMinSize * 0.5f + ImGui::GetStyle().FramePadding.x;
    if (cnode* node = Interface::NumSelNodes() > 0 ? Interface::GetSelNode(0) : nullptr) {
        ImDrawList* draw = ImGui::GetWindowDrawList();
        for (int i = 0; i < node->anim.NumKeys(); ++i) {
            ckey key;
            if (!node->anim.GetKeyAt(i, key) || key.time < start || key.time > end) continue;
            const float share = end > start ? float(key.time - start) / float(end - start) : 0.0f;
            const float x = lo.x + grab + share * (hi.x - lo.x - 2.0f * grab);
            draw->AddLine({x, hi.y - kTickHeight}, {x, hi.y}, kTickColour, 2.0f);
        }
    }
    if (ImGui::Button(playing_ ? "Stop" : "Play", {kPlayButtonWidth, 0})) {
        playing_ = !playing_;
        playStart_ = glfwGetTime();
        playFrom_ = frame;
    }
    ImGui::SameLine();
    int range[2] = {start, end};
    ImGui::SetNextItemWidth(2.0f * kRangeFieldWidth);
    if (ImGui::InputInt2("range", range, ImGuiInputTextFlags_EnterReturnsTrue))
        Later([this, range0 = range[0], range1 = range[1]] {
            Command("range " + std::to_string(range0) + " " + std::to_string(range1));
        });
    ImGui::SameLine();
    ImGui::Text("frame %d   %d ms a frame", frame, Interface::GetAnimTPF());
    ImGui::End();
}

// Plays at the scene's time per frame: the frame shown is the one the clock has reached,
// looping over the animation range.
void HostWindow::Playback() {
    if (!playing_) return;
    const int start = Interface::GetAnimStart(), end = Interface::GetAnimEnd();
    const int tpf = std::max(Interface::GetAnimTPF(), 1);
    const int elapsed = static_cast<int>((glfwGetTime() - playStart_) * kMsPerSecond / tpf);
    const int length = std::max(end - start + 1, 1);
    const int frame = start + ((playFrom_ - start + elapsed) % length + length) % length;
    if (frame != GetAnimTime()) Interface::SetAnimTime(frame);
}

bool HostWindow::AskFileName(const char* title, std::string& path) {
    qv::ui::Modal modal;
    modal.kind = qv::ui::Modal::Kind::FileDialog;
    modal.title = title;
    qv::ui::Action chosen;
    if (!NextAction(modal, chosen) || chosen.kind != qv::ui::Action::Kind::File) return false;
    path = chosen.text;
    return true;
}

void HostWindow::OpenScene() {
    std::string path;
    if (!AskFileName("Open Scene", path)) return;
    Command("load " + Quoted(path));
    scenePath_ = path;
    camera_.FrameBox(SceneBox(GetAnimTime()));
}

void HostWindow::SaveScene(bool askName) {
    std::string path = scenePath_;
    if (askName && !AskFileName("Save Scene", path)) return;
    Command("save " + Quoted(path));
    scenePath_ = path;
}

void HostWindow::ExportGltf() {
    std::string path;
    if (AskFileName("Export glTF", path)) Command("gltf " + Quoted(path));
}

}  // namespace qvapp::window
