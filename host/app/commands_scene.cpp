// Scene and time commands: new, time, range, tpf, anim, bone, rename, delete.
#include "commands.h"
#include "qvcore/host.h"
#include "qvplatform/ui.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"
#include "scene_check.h"
#include "script_runner.h"
#include "tools.h"

namespace qvapp {
namespace {

cnode* NamedNode(Args& args, const std::string& what) {
    std::string name = args.Text(what);
    cnode* node = Interface::FindNode(name.c_str());
    if (!node) args.Fail("no node named \"" + name + "\"");
    return node;
}

void CmdNew(ScriptRunner& run, Args& args) {
    args.End();
    run.Tools().Close();
    qv::ResetScene();
    qv::ui::ClearMessages();
    run.Tools().InstallHooks();
}

void CmdTime(ScriptRunner&, Args& args) {
    int frame = args.Int("frame");
    args.End();
    Interface::SetAnimTime(frame);
}

void CmdRange(ScriptRunner&, Args& args) {
    int start = args.Int("start frame");
    int end = args.Int("end frame");
    args.End();
    if (start > end) args.Fail("start " + std::to_string(start) + " is after end " +
                               std::to_string(end));
    Interface::SetAnimStart(start);
    Interface::SetAnimEnd(end);
    Interface::UpdateAnimBar();
}

void CmdTpf(ScriptRunner&, Args& args) {
    int ms = args.Int("milliseconds per frame");
    args.End();
    if (ms <= 0) args.Fail("time per frame must be positive, not " + std::to_string(ms));
    Interface::SetAnimTPF(ms);
}

void CmdAnim(ScriptRunner&, Args& args) {
    bool on = args.OneOf("recording", {"on", "off"}) == "on";
    args.End();
    Interface::SetAnimOn(on ? 1 : 0);
}

// bone "NAME" [X Y Z] [parent "NAME"]: a plain bone at a world position (default the origin).
void CmdBone(ScriptRunner&, Args& args) {
    std::string name = args.Text("bone name");
    if (name.empty()) args.Fail("a bone needs a name");
    if (Interface::FindNode(name.c_str())) args.Fail("a node named \"" + name + "\" exists");
    cpoint3 pos;
    bool hasParent = args.TakeKeyword("parent");
    if (!hasParent && !args.AtEnd()) {
        pos = args.Point("");
        hasParent = args.TakeKeyword("parent");
    }
    cnode* parent = hasParent ? NamedNode(args, "parent name") : nullptr;
    args.End();

    const int t = GetAnimTime();
    cbone* bone = CreateNewBone();
    bone->SetName(name.c_str());
    bone->SetPosition(t, pos);
    if (parent) parent->Attach(bone, 1);
    // Under a parent scaled towards zero the parent-relative position can overflow.
    ckey key;
    if (!bone->anim.GetInterpolateKey(t, key) || !IsFinite(key.pos) ||
        !IsFinite(bone->GetPosition(t))) {
        bone->DeleteThis();
        args.Fail("the position is out of the parent's reach: relative to it, it is not finite");
    }
    Interface::AddToScene(bone, 1);
}

void CmdRename(ScriptRunner&, Args& args) {
    cnode* node = NamedNode(args, "old name");
    std::string to = args.Text("new name");
    args.End();
    if (to.empty()) args.Fail("a node needs a name");
    if (cnode* other = Interface::FindNode(to.c_str()); other && other != node)
        args.Fail("a node named \"" + to + "\" exists");
    node->SetName(to.c_str());
}

// Deleting is not undoable, and a module's undo items and its modify tool's binding hold node
// pointers: the undo history is discarded, and an open modify tool lets go of its binding and
// is asked again for the selection that remains.
void CmdDelete(ScriptRunner& run, Args& args) {
    cnode* node = NamedNode(args, "node name");
    args.End();
    ToolManager& tools = run.Tools();
    const bool reopen = tools.Kind() == ToolKind::Modify;
    const std::string toolName = reopen && tools.Tool()->GetName() ? tools.Tool()->GetName() : "";
    if (reopen) tools.Close();

    size_t selectedBefore = SelectedNodes().size();
    // The node leaves the scene even when its module keeps the object (a preview node).
    Interface::RemoveFromScene(node, 1);
    node->DeleteThis();
    theUndo.Clear();
    Interface::SceneChanged(1);

    std::string refused;
    if (reopen)
        tools.OpenModify(toolName, refused);  // a refusal leaves the tool closed
    else if (SelectedNodes().size() != selectedBefore)
        tools.OnSelectionChanged();
}

}  // namespace

void AddSceneCommands(CommandTable& table) {
    table.insert({{"new", CmdNew}, {"time", CmdTime}, {"range", CmdRange}, {"tpf", CmdTpf},
                  {"anim", CmdAnim}, {"bone", CmdBone}, {"rename", CmdRename},
                  {"delete", CmdDelete}});
}

}  // namespace qvapp
