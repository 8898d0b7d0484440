// Tool and panel commands: create, modify, close, press, type, choose; answer and file outside
// a modal window are errors.
#include "commands.h"
#include "qvplatform/ui.h"
#include "script_runner.h"
#include "tools.h"

namespace qvapp {
namespace {

void CmdCreate(ScriptRunner& run, Args& args) {
    std::string category = args.Text("category");
    std::string name = args.Text("tool name");
    args.End();
    std::string error;
    if (!run.Tools().OpenCreate(category, name, error)) args.Fail(error);
}

void CmdModify(ScriptRunner& run, Args& args) {
    std::string name = args.Text("tool name");
    args.End();
    std::string error;
    if (!run.Tools().OpenModify(name, error)) args.Fail(error);
}

void CmdClose(ScriptRunner& run, Args& args) {
    args.End();
    if (!run.Tools().Tool()) args.Fail("no tool is open");
    run.Tools().Close();
}

HWND OpenPanel(ScriptRunner& run, Args& args) {
    HWND panel = run.Tools().Panel();
    if (!panel) args.Fail("no panel is open and no modal window waits for it");
    return panel;
}

void CmdPress(ScriptRunner& run, Args& args) {
    std::string control = args.Text("control");
    args.End();
    std::string error;
    if (!qv::ui::Press(OpenPanel(run, args), control, error)) args.Fail(error);
}

void CmdType(ScriptRunner& run, Args& args) {
    std::string control = args.Text("control");
    std::string text = args.Text("text");
    bool enter = args.TakeKeyword("enter");
    args.End();
    std::string error;
    if (!qv::ui::Type(OpenPanel(run, args), control, text, enter, error)) args.Fail(error);
}

void CmdChoose(ScriptRunner& run, Args& args) {
    std::string control = args.Text("control");
    std::string item = args.Text("item");
    args.End();
    std::string error;
    if (!qv::ui::Choose(OpenPanel(run, args), control, item, error)) args.Fail(error);
}

void CmdModalOnly(ScriptRunner&, Args& args) {
    args.Fail("no message box or file dialog is open");
}

}  // namespace

void AddToolCommands(CommandTable& table) {
    table.insert({{"create", CmdCreate}, {"modify", CmdModify}, {"close", CmdClose},
                  {"press", CmdPress}, {"type", CmdType}, {"choose", CmdChoose},
                  {"answer", CmdModalOnly}, {"file", CmdModalOnly}});
}

}  // namespace qvapp
