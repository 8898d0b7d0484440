// The interactive window: a viewport drawn with the same OpenGL as the renders, the command
// area with the tools' panels, the timeline and the menus, all on GLFW and ImGui. It is also
// the UI driver: a modal window opened by the module is drawn and answered frame by frame,
// by a person or, when a script is replayed, by the script's lines, one action a frame.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qvplatform/ui.h"
#include "script_runner.h"
#include "tools.h"
#include "window/camera.h"
#include "window/dialog_widgets.h"
#include "window/host_modals.h"
#include "window/viewport_input.h"

struct GLFWwindow;

namespace qvapp::window {

struct WindowOptions {
    std::string scene;       // a scene file loaded at start (empty: an empty scene)
    std::string script;      // a session script replayed one line a frame (empty: none)
    std::string screenshot;  // the PNG saved when the script has ended (then the window closes)
    int width = 1280, height = 800;  // pixels
};

// Pixel layout of the window's parts.
inline constexpr float kCommandAreaWidth = 300.0f;
inline constexpr float kTimelineHeight = 64.0f;
inline constexpr float kToolbarHeight = 30.0f;

class HostWindow : public qv::ui::Driver {
public:
    HostWindow(ToolManager& tools, WindowOptions options);
    ~HostWindow() override;
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // False with Error() when GLFW or the window could not be set up (no display).
    bool Open();
    // Runs until the window is closed or the replayed script has ended: the exit status
    // (0, or 1 when the script failed; its error is printed).
    int Run();
    // One frame with the person's input; the window's tests pump frames themselves.
    void RunFrame();
    const std::string& Error() const { return error_; }
    GLFWwindow* Handle() const { return window_; }
    // The viewport's rectangle in window pixels (x, y from the top-left corner).
    struct Rect {
        int x = 0, y = 0, width = 1, height = 1;
    };
    Rect ViewportRect() const;
    qv::gl::View CurrentView() const;
    Camera& GetCamera() { return camera_; }
    // The toolbar's transform mode and rotation axis.
    ViewportInput& Input() { return input_; }
    // Where the open tool's panel was last drawn (window pixels of its client area's
    // top-left corner); each dialog pixel covers kDialogZoom window pixels from there.
    struct Point {
        float x = 0, y = 0;
    };
    Point PanelOrigin() const { return panelOrigin_; }
    // The last error an action of the person met (shown in the status line); empty when none.
    const std::string& LastError() const { return status_; }

    // The driver: a modal window waits here for its action.
    bool NextAction(const qv::ui::Modal& modal, qv::ui::Action& out) override;

    // Runs one command line as a script would (a menu item, the timeline, a tool button).
    void Command(const std::string& line);

private:
    // One frame: input, interface, scene, swap. With a modal, draws it on top and answers
    // what the person did with it (nothing else acts meanwhile).
    std::optional<qv::ui::Action> Frame(const qv::ui::Modal* modal);
    void DrawMenus();
    void DrawToolbar();
    void DrawCommandArea();
    void DrawTimeline();
    std::optional<qv::ui::Action> DrawModal(const qv::ui::Modal& modal);
    void DrawViewport();
    void Playback();
    // Reads the frame just drawn back and writes it as a PNG; false with an error.
    bool SaveScreenshot(const std::string& path, std::string& error);
    // The script's `screenshot`: a few frames for the layout to settle (with the modal window
    // open, if any), the last one saved.
    bool TakeScreenshot(const std::string& path, std::string& error);
    void Later(std::function<void()> f) { later_.push_back(std::move(f)); }
    void Report(const std::string& error);
    void OpenScene();
    void SaveScene(bool askName);
    // Asks for a file name and writes the scene as binary glTF, as the script's `gltf` does.
    void ExportGltf();
    // The host's file dialog under this title; false when it was cancelled.
    bool AskFileName(const char* title, std::string& path);

    ToolManager& tools_;
    WindowOptions options_;
    GLFWwindow* window_ = nullptr;
    bool imgui_ = false;
    std::string error_, status_;
    Camera camera_;
    ViewportInput input_;
    DialogWidgets panelWidgets_, modalWidgets_;
    HWND shownPanel_ = nullptr;
    ToolKind shownKind_ = ToolKind::None;  // the kind of tool open when the tabs were drawn
    Point panelOrigin_;
    std::unique_ptr<FileBrowser> browser_;
    std::vector<std::function<void()>> later_;  // actions of this frame, run after it
    std::unique_ptr<ScriptRunner> replay_;       // the script being replayed
    bool replaying_ = false;
    std::string shotPath_;   // the frame being drawn is saved here (empty: not saved)
    std::string shotError_;  // why the last save failed
    bool drawingOnly_ = false;  // frames drawn for a screenshot: no input, no queued actions
    const qv::ui::Modal* openModal_ = nullptr;  // the modal window waiting for an action
    std::string scenePath_;
    bool playing_ = false;
    double playStart_ = 0.0;  // seconds (glfwGetTime) when playback started
    int playFrom_ = 0;
    qv::ui::Driver* previousDriver_ = nullptr;
};

}  // namespace qvapp::window
