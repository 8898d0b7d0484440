// Selection and history commands: select, deselect, click, undo, redo.
#include <algorithm>
#include <cmath>

#include "commands.h"
#include "qvcore/host.h"
#include "quorvane/callbacks.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"
#include "scene_view.h"
#include "script_runner.h"
#include "tools.h"
#include "viewport_gestures.h"

namespace qvapp {
namespace {

// The host's select-by-name is one selection change, like a pick: one undo level that puts the
// earlier selection back (redo takes the host's own snapshot).
class SelectByNameUndo : public UndoItem {
public:
    explicit SelectByNameUndo(std::vector<cnode*> before) : before_(std::move(before)) {
        SetName("Select");
        SetType(QV_UNDO_SELECTION);
    }
    int Restore() override {
        qv::SetSelectionQuietly(before_);  // the host skips nodes disposed of since
        return 1;
    }
    int HasData() override { return 1; }

private:
    std::vector<cnode*> before_;
};

// Holds the open tool's answer to selection changes until the command is done.
class SelectionBatch {
public:
    explicit SelectionBatch(ToolManager& tools) : tools_(tools) { tools_.BeginSelectionBatch(); }
    ~SelectionBatch() { tools_.EndSelectionBatch(); }
private:
    ToolManager& tools_;
};

void CmdSelect(ScriptRunner& run, Args& args) {
    std::vector<cnode*> nodes;
    do {
        std::string name = args.Text("node name");
        cnode* node = Interface::FindNode(name.c_str());
        if (!node) args.Fail("no node named \"" + name + "\"");
        if (std::find(nodes.begin(), nodes.end(), node) == nodes.end()) nodes.push_back(node);
    } while (!args.AtEnd());

    std::vector<cnode*> before = SelectedNodes();
    if (before == nodes) return;  // no change, no undo level
    theUndo.BeginGeneric(new SelectByNameUndo(before));
    qv::SetSelectionQuietly(nodes);
    theUndo.End();
    Interface::Notify(QV_EVENT_SELECTION_CHANGED, 0, 0, nullptr);
    run.Tools().OnSelectionChanged();
}

void CmdDeselect(ScriptRunner& run, Args& args) {
    args.End();
    SelectionBatch batch(run.Tools());
    Interface::DeselectAll();
}

void CmdClick(ScriptRunner& run, Args& args) {
    std::string name = args.Text("node name");
    args.End();
    const int t = GetAnimTime();
    cnode* node = FindDrawnNode(name.c_str(), t);
    if (!node) args.Fail("no node named \"" + name + "\" in the viewport");

    Box box = PaddedBox(SceneBox(t), kMinFramedSize);
    qv::gl::View view(qv::gl::ViewKind::Front, kDefaultViewWidth, kDefaultViewHeight);
    view.Frame(box.min, box.max);
    cpoint3 target = ClickPoint(node, t), win;
    view.Project(&target, &win, 1);
    const int x = static_cast<int>(std::lround(win.x)), y = static_cast<int>(std::lround(win.y));
    const bool hit = ClickAt(run.Tools(), t, view, x, y);
    if (!hit)
        args.Fail("nothing was hit at (" + std::to_string(x) + ", " + std::to_string(y) + ")");
}

// Undo and redo report selection changes through the host hook; when the host made none, the
// program still re-asks the open tool after a level that changed the selection.
template <int (UndoMgr::*Step)()>
void History(ScriptRunner& run, Args& args, const char* what) {
    int n = args.AtEnd() ? 1 : args.Int("levels");
    args.End();
    if (n < 1) args.Fail("the number of levels must be at least 1");
    for (int i = 0; i < n; ++i) {
        std::vector<cnode*> before = SelectedNodes();
        unsigned long long changes = run.Tools().SelectionChanges();
        if (!(theUndo.*Step)())
            args.Fail(std::string("nothing to ") + what +
                      (i > 0 ? " after " + std::to_string(i) + " level(s)" : ""));
        if (changes == run.Tools().SelectionChanges() && before != SelectedNodes())
            run.Tools().OnSelectionChanged();
    }
}

void CmdUndo(ScriptRunner& run, Args& args) { History<&UndoMgr::Undo>(run, args, "undo"); }
void CmdRedo(ScriptRunner& run, Args& args) { History<&UndoMgr::Redo>(run, args, "redo"); }

}  // namespace

void AddSelectionCommands(CommandTable& table) {
    table.insert({{"select", CmdSelect}, {"deselect", CmdDeselect}, {"click", CmdClick},
                  {"undo", CmdUndo}, {"redo", CmdRedo}});
}

}  // namespace qvapp
