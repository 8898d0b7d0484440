// Output and file commands: dump, save, load, render, panel, screenshot, gltf.
#include <algorithm>
#include <cctype>

#include "commands.h"
#include "dialog_picture.h"
#include "dump.h"
#include "gltf_export.h"
#include "qvcore/file_write.h"
#include "quorvane/interface.h"
#include "qvview/gl.h"
#include "qvplatform/ui.h"
#include "render.h"
#include "scene_file.h"
#include "script_runner.h"
#include "tools.h"

namespace qvapp {
namespace {

constexpr int kMaxImageSide = 8192;        // pixels
// Pixels over all frames of one GIF (4 bytes each are held while it is written).
constexpr long long kMaxAnimationPixels = 100'000'000;

void CmdDump(ScriptRunner& run, Args& args) {
    const Word& target = args.Next("file (or -)");
    args.End();
    std::string text = DumpSceneText(run.Tools());
    if (!target.quoted && target.text == "-") {
        run.Out() << text << std::flush;
        return;
    }
    std::string path = run.OutputPath(target.text);
    std::string error;
    if (!qv::WriteFileReplacing(path, text, error)) args.Fail(error);
    run.NoteWritten(path);
}

void CmdSave(ScriptRunner& run, Args& args) {
    std::string path = run.OutputPath(args.Text("scene file"));
    args.End();
    std::string error;
    if (!SaveSceneFile(path, error)) args.Fail(error);
    run.NoteWritten(path);
}

void CmdLoad(ScriptRunner& run, Args& args) {
    std::string path = run.InputPath(args.Text("scene file"));
    args.End();
    std::string error;
    if (!LoadSceneFile(path, run.Tools(), error)) args.Fail(error);
    run.Tools().InstallHooks();
}

// gltf "FILE.glb" [frames A B]: the scene's bones and keys as binary glTF.
void CmdGltf(ScriptRunner& run, Args& args) {
    std::string path = run.OutputPath(args.Text("glTF file"));
    std::optional<std::pair<int, int>> frames;
    if (args.TakeKeyword("frames")) {
        const int first = args.Int("first frame");
        frames = std::make_pair(first, args.Int("last frame"));
    }
    args.End();
    std::string error;
    if (!WriteSceneGltf(path, frames, error)) args.Fail(error);
    run.NoteWritten(path);
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           std::equal(tail.rbegin(), tail.rend(), text.rbegin(),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

// render "FILE.png" [view KIND] [size W H] [frame N] [fit "NODE"] [legend] [look L], or
// render "FILE.gif" [view KIND] [size W H] frames A B [step K] [fit "NODE"] [legend] [look L];
// options in any order.
void CmdRender(ScriptRunner& run, Args& args) {
    RenderRequest r;
    r.path = args.Text("image file");
    r.frame = GetAnimTime();
    const bool gif = EndsWith(r.path, ".gif");
    bool framesGiven = false, stepGiven = false;
    while (!args.AtEnd()) {
        std::string option = args.OneOf(
            "option", {"view", "size", "frame", "frames", "step", "fit", "legend", "look"});
        if (option == "view") {
            std::string kind =
                args.OneOf("view", {"front", "back", "left", "right", "top", "persp"});
            if (!qv::gl::ParseViewKind(kind, r.view)) args.Fail("unknown view " + kind);
        } else if (option == "size") {
            r.width = args.Int("width");
            r.height = args.Int("height");
            if (r.width < 1 || r.height < 1 || r.width > kMaxImageSide || r.height > kMaxImageSide)
                args.Fail("size must be 1.." + std::to_string(kMaxImageSide) + " pixels a side");
        } else if (option == "fit") {
            r.fit = args.Text("node to fit");
        } else if (option == "frames") {
            r.first = args.Int("first frame");
            r.last = args.Int("last frame");
            framesGiven = true;
        } else if (option == "step") {
            r.step = args.Int("step");
            stepGiven = true;
        } else if (option == "legend") {
            r.legend = true;
        } else if (option == "look") {
            r.look = args.OneOf("look", {"shaded", "flat"}) == "flat" ? qv::DrawLook::Flat
                                                                    : qv::DrawLook::Shaded;
        } else {
            r.frame = args.Int("frame");
        }
    }
    if (gif != framesGiven || (stepGiven && !gif))
        args.Fail(gif ? "a GIF needs frames A B" : "frames and step make a GIF: name a .gif file");
    if (gif) {
        if (r.last < r.first) args.Fail("frames must run forward: " + std::to_string(r.first) +
                                        " to " + std::to_string(r.last));
        if (r.step < 1) args.Fail("step must be 1 or more frames");
        const long long frames = (static_cast<long long>(r.last) - r.first) / r.step + 1;
        if (frames * r.width * r.height > kMaxAnimationPixels)
            args.Fail(std::to_string(frames) + " frames of " + std::to_string(r.width) + "x" +
                      std::to_string(r.height) + " are too many for one GIF: take a larger step "
                      "or a smaller size");
    }
    r.animation = gif;
    r.path = run.OutputPath(r.path);
    std::string error;
    if (!RenderScene(r, run.Tools(), error)) args.Fail(error);
    run.NoteWritten(r.path);
}

// A picture of the innermost modal dialog open, else of the open tool's panel.
void CmdPanel(ScriptRunner& run, Args& args) {
    const std::string path = run.OutputPath(args.Text("picture file (.png)"));
    args.End();
    const HWND modal = qv::ui::TopModalDialog();
    const HWND dialog = modal ? modal : run.Tools().Panel();
    if (!dialog) args.Fail("no dialog or panel is open");
    RgbaImage image(1, 1, 0);
    std::string error;
    if (!DrawDialog(dialog, modal != nullptr, image, error) ||
        !qv::gl::WritePng(path, image.width, image.height, image.rgba, error))
        args.Fail(error);
    run.NoteWritten(path);
}

// screenshot "FILE.png": the window as it shows now, with the modal window open when the line
// is among that window's answers.
void CmdScreenshot(ScriptRunner& run, Args& args) {
    const std::string path = run.OutputPath(args.Text("picture file (.png)"));
    args.End();
    std::string error;
    if (!run.Screenshot(path, error)) args.Fail(error);
    run.NoteWritten(path);
}

}  // namespace

void AddOutputCommands(CommandTable& table) {
    table.insert({{"dump", CmdDump}, {"gltf", CmdGltf}, {"save", CmdSave}, {"load", CmdLoad}, {"render", CmdRender},
                  {"panel", CmdPanel}, {"screenshot", CmdScreenshot}});
}

}  // namespace qvapp
