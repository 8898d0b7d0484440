// Output and file commands: dump, save, load, render.
#include <fstream>

#include "commands.h"
#include "dump.h"
#include "quorvane/interface.h"
#include "render.h"
#include "scene_file.h"
#include "script_runner.h"
#include "tools.h"

namespace qvapp {
namespace {

constexpr int kMaxImageSide = 8192;  // pixels

void CmdDump(ScriptRunner& run, Args& args) {
    const Word& target = args.Next("file (or -)");
    args.End();
    std::string text = DumpSceneText(run.Tools());
    if (!target.quoted && target.text == "-") {
        run.Out() << text << std::flush;
        return;
    }
    std::string path = run.OutputPath(target.text);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out || !(out << text) || !out.flush()) args.Fail("cannot write " + path);
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

// render "FILE.png" [view KIND] [size W H] [frame N] [fit "NODE"], options in any order.
void CmdRender(ScriptRunner& run, Args& args) {
    RenderRequest r;
    r.path = args.Text("image file");
    r.frame = GetAnimTime();
    while (!args.AtEnd()) {
        std::string option = args.OneOf("option", {"view", "size", "frame", "fit"});
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
        } else {
            r.frame = args.Int("frame");
        }
    }
    r.path = run.OutputPath(r.path);
    std::string error;
    if (!RenderScene(r, run.Tools(), error)) args.Fail(error);
    run.NoteWritten(r.path);
}

}  // namespace

void AddOutputCommands(CommandTable& table) {
    table.insert({{"dump", CmdDump}, {"save", CmdSave}, {"load", CmdLoad}, {"render", CmdRender}});
}

}  // namespace qvapp
