// The window's life: GLFW and ImGui set up, the frame (interface, then the scene drawn in the
// viewport with the offscreen renders' drawing), the modal loop, script replay, screenshots.
#include "window/host_window.h"

#include <imgui.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl2.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "quorvane/interface.h"
#include "render.h"
#include "scene_view.h"
#include "tools.h"
#include "window/transform_handles.h"

#include <GLFW/glfw3.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace qvapp::window {
namespace {

constexpr int kSamples = 4;             // multisampling of the window's framebuffer
constexpr float kFontPixels = 15.0f;    // the interface's text
// Frames drawn after a replayed script's last line before the screenshot: ImGui settles a
// layout change (a tab brought to the front, a window sized to its content) a frame later.
constexpr int kSettleFrames = 3;

}  // namespace

HostWindow::HostWindow(ToolManager& tools, WindowOptions options)
    : tools_(tools), options_(std::move(options)) {}

HostWindow::~HostWindow() {
    replay_.reset();
    if (qv::ui::GetDriver() == this) qv::ui::SetDriver(previousDriver_);
    if (imgui_) {
        ImGui_ImplOpenGL2_Shutdown();
        ImGui_ImplGlfw_Shutdown();
        ImGui::DestroyContext();
    }
    if (window_) glfwDestroyWindow(window_);
    glfwTerminate();
}

bool HostWindow::Open() {
    if (!glfwInit()) {
        error_ = "cannot open a window: no display (GLFW could not start)";
        return false;
    }
    glfwWindowHint(GLFW_SAMPLES, kSamples);
    window_ = glfwCreateWindow(options_.width, options_.height, "Quorvane", nullptr, nullptr);
    if (!window_) {
        error_ = "cannot open a window of OpenGL";
        return false;
    }
    glfwMakeContextCurrent(window_);
    glfwSwapInterval(1);
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;  // the layout is fixed: nothing to remember
    ImGui::GetIO().Fonts->AddFontFromFileTTF(QV_WINDOW_FONT_FILE, kFontPixels);
    ImGui::StyleColorsLight();
    ImGui_ImplGlfw_InitForOpenGL(window_, true);
    ImGui_ImplOpenGL2_Init();
    imgui_ = true;
    glEnable(GL_MULTISAMPLE);
    previousDriver_ = qv::ui::GetDriver();
    qv::ui::SetDriver(this);
    camera_.FrameBox(SceneBox(GetAnimTime()));
    return true;
}

HostWindow::Rect HostWindow::ViewportRect() const {
    int w = options_.width, h = options_.height;
    if (window_) glfwGetFramebufferSize(window_, &w, &h);
    const float top = ImGui::GetFrameHeight() + kToolbarHeight;
    Rect r;
    r.x = 0;
    r.y = static_cast<int>(top);
    r.width = std::max(w - static_cast<int>(kCommandAreaWidth), 1);
    r.height = std::max(h - r.y - static_cast<int>(kTimelineHeight), 1);
    return r;
}

qv::gl::View HostWindow::CurrentView() const {
    int fbw = 0, fbh = 0;
    glfwGetFramebufferSize(window_, &fbw, &fbh);
    const Rect r = ViewportRect();
    return camera_.MakeView(r.width, r.height, r.x, fbh - r.y - r.height);
}

void HostWindow::Command(const std::string& line) {
    RunOptions options;
    options.scriptName = "window";
    ScriptRunner runner(tools_, options);
    qv::ui::SetDriver(this);  // the person answers what the command opens
    if (runner.Run(line) != 0) Report(runner.Error());
}

void HostWindow::Report(const std::string& error) {
    if (error.empty()) return;
    status_ = error;
    std::cerr << "quorvane: " << error << "\n";
}

std::optional<qv::ui::Action> HostWindow::Frame(const qv::ui::Modal* modal) {
    glfwPollEvents();
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplGlfw_NewFrame();
    ImGui::NewFrame();

    ImGui::BeginDisabled(modal != nullptr || input_.Busy());
    DrawMenus();
    DrawToolbar();
    DrawCommandArea();
    DrawTimeline();
    ImGui::EndDisabled();

    const Rect r = ViewportRect();
    const ImGuiIO& io = ImGui::GetIO();
    MouseState mouse;
    mouse.x = io.MousePos.x - static_cast<float>(r.x);
    mouse.y = io.MousePos.y - static_cast<float>(r.y);
    mouse.inside = modal == nullptr && mouse.x >= 0 && mouse.y >= 0 && mouse.x < r.width &&
                   mouse.y < r.height && !ImGui::IsWindowHovered(ImGuiHoveredFlags_AnyWindow) &&
                   !ImGui::IsAnyItemActive();
    for (int b = 0; b < 3; ++b) {
        mouse.pressed[b] = ImGui::IsMouseClicked(b);
        mouse.released[b] = ImGui::IsMouseReleased(b);
        mouse.down[b] = ImGui::IsMouseDown(b);
    }
    mouse.wheel = io.MouseWheel;

    std::optional<qv::ui::Action> answer;
    if (modal) answer = DrawModal(*modal);
    ImGui::Render();

    int fbw = 0, fbh = 0;
    glfwGetFramebufferSize(window_, &fbw, &fbh);
    glViewport(0, 0, fbw, fbh);
    const ImVec4 face = ImGui::GetStyleColorVec4(ImGuiCol_WindowBg);
    glClearColor(face.x, face.y, face.z, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    qv::gl::View view = CurrentView();
    glEnable(GL_SCISSOR_TEST);
    glScissor(r.x, fbh - r.y - r.height, r.width, r.height);
    glClearColor(kBackgroundGrey, kBackgroundGrey, kBackgroundGrey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const int t = GetAnimTime();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    DrawScene(t, PaddedBox(SceneBox(t), kMinFramedSize), view, tools_, nullptr);
    glPopAttrib();
    DrawTransformHandles(view, input_.mode, input_.axis, camera_.Size() * kHandleShare);
    glDisable(GL_SCISSOR_TEST);
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    if (!shotPath_.empty()) {
        shotError_.clear();
        SaveScreenshot(shotPath_, shotError_);
        shotPath_.clear();
    }
    glfwSwapBuffers(window_);

    if (!modal && !drawingOnly_) {
        input_.Handle(mouse, camera_, view, tools_);
        Report(qv::ui::TakeError());
        std::vector<std::function<void()>> actions;
        actions.swap(later_);
        for (auto& action : actions) action();
        Playback();
    }
    return answer;
}

bool HostWindow::NextAction(const qv::ui::Modal& modal, qv::ui::Action& out) {
    if (modal.kind == qv::ui::Modal::Kind::FileDialog)
        browser_ = std::make_unique<FileBrowser>(std::filesystem::current_path());
    modalWidgets_.Reset();
    // The window under a nested modal is open again once the inner one has its answer.
    struct Opening {
        const qv::ui::Modal*& open;
        const qv::ui::Modal* outer;
        ~Opening() { open = outer; }
    } opening{openModal_, openModal_};
    openModal_ = &modal;
    if (replaying_ && replay_) {
        Frame(&modal);  // the modal as the script finds it, one action a frame
        return replay_->NextAction(modal, out);
    }
    while (!glfwWindowShouldClose(window_))
        if (std::optional<qv::ui::Action> action = Frame(&modal)) {
            out = *action;
            return true;
        }
    return false;
}

std::optional<qv::ui::Action> HostWindow::DrawModal(const qv::ui::Modal& modal) {
    const ImGuiIO& io = ImGui::GetIO();
    // A modal window opens centred on the window, so that a tall dialog fits whole.
    ImGui::SetNextWindowPos({io.DisplaySize.x * 0.5f, io.DisplaySize.y * 0.5f}, ImGuiCond_Appearing,
                            {0.5f, 0.5f});
    std::optional<qv::ui::Action> answer;
    const std::string title = (modal.title.empty() ? std::string("Quorvane") : modal.title) + "###modal";
    ImGui::Begin(title.c_str(), nullptr,
                 ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoCollapse |
                     ImGuiWindowFlags_NoSavedSettings);
    ImGui::SetWindowFocus();
    switch (modal.kind) {
        case qv::ui::Modal::Kind::MessageBox: answer = DrawMessageBox(modal); break;
        case qv::ui::Modal::Kind::FileDialog: answer = browser_->Draw(modal); break;
        default: answer = modalWidgets_.Draw(modal.window); break;
    }
    ImGui::End();
    return answer;
}

bool HostWindow::SaveScreenshot(const std::string& path, std::string& error) {
    int w = 0, h = 0;
    glfwGetFramebufferSize(window_, &w, &h);
    std::vector<unsigned char> bottomUp(static_cast<size_t>(w) * h * 4), rgba(bottomUp.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    const size_t row = static_cast<size_t>(w) * 4;
    for (int y = 0; y < h; ++y)
        std::copy_n(bottomUp.data() + (h - 1 - y) * row, row, rgba.data() + y * row);
    return qv::gl::WritePng(path, w, h, rgba, error);
}

bool HostWindow::TakeScreenshot(const std::string& path, std::string& error) {
    // The screenshot shows the whole scene, framed as "Frame All" frames it.
    camera_.FrameBox(SceneBox(GetAnimTime()));
    drawingOnly_ = true;
    for (int i = 0; i < kSettleFrames; ++i) Frame(openModal_);
    shotPath_ = path;
    shotError_ = "the window drew no frame";
    Frame(openModal_);
    drawingOnly_ = false;
    error = shotError_;
    return error.empty();
}

void HostWindow::RunFrame() { Frame(nullptr); }

int HostWindow::Run() {
    if (!options_.scene.empty()) {
        Command("load \"" + options_.scene + "\"");
        scenePath_ = options_.scene;
        camera_.FrameBox(SceneBox(GetAnimTime()));
    }
    if (!options_.script.empty()) {
        std::ifstream in(options_.script, std::ios::binary);
        if (!in) {
            std::cerr << "quorvane: cannot read script " << options_.script << "\n";
            return 2;
        }
        std::stringstream text;
        text << in.rdbuf();
        RunOptions runOptions;
        runOptions.scriptName = options_.script;
        runOptions.scriptDir = std::filesystem::path(options_.script).parent_path();
        runOptions.screenshot = [this](const std::string& path, std::string& error) {
            return TakeScreenshot(path, error);
        };
        replay_ = std::make_unique<ScriptRunner>(tools_, runOptions);
        qv::ui::SetDriver(this);
        replaying_ = replay_->Start(text.str());
    }
    while (!glfwWindowShouldClose(window_)) {
        Frame(nullptr);
        if (replaying_) {
            replaying_ = replay_->Step();
            continue;
        }
        if (replay_) {
            std::string error;
            if (!options_.screenshot.empty() && !TakeScreenshot(options_.screenshot, error))
                Report(error);
            break;
        }
    }
    if (replay_ && replay_->Failed()) {
        std::cerr << replay_->Error() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace qvapp::window
