// The scene list, the selection (each change one undo level), time settings, the program's
// hooks and the tools' callback slots.
#include <algorithm>
#include <atomic>
#include <cstring>

#include "core_internal.h"
#include "qvcore/host.h"
#include "quorvane/interface.h"
#include "quorvane/undo.h"

namespace qv {

HostHooks& Hooks() {
    static auto* hooks = new HostHooks();  // never destroyed, see the node registry
    return *hooks;
}

namespace detail {

namespace {

// The scene once made (null before): read by every call of Scene, which the time and the
// recording switch of each placement write go through, without the made-once check of a
// function's static.
std::atomic<SceneState*> madeScene{nullptr};

[[gnu::noinline]] SceneState& MakeScene() {
    static auto* scene = new SceneState();  // never destroyed, see the node registry
    madeScene.store(scene, std::memory_order_release);
    return *scene;
}

}  // namespace

SceneState& Scene() {
    SceneState* scene = madeScene.load(std::memory_order_acquire);
    return scene != nullptr ? *scene : MakeScene();
}

void NotifyTool(unsigned long event, unsigned long a, unsigned long b, void* data) {
    if (Hooks().notifyTool) Hooks().notifyTool(event, a, b, data);
}

void ForgetNode(cnode* node) {
    auto& s = Scene();
    s.nodes.erase(std::remove(s.nodes.begin(), s.nodes.end(), node), s.nodes.end());
    s.selection.erase(std::remove(s.selection.begin(), s.selection.end(), node), s.selection.end());
}

void ApplySelection(const std::vector<cnode*>& nodes) {
    auto& s = Scene();
    for (cnode* n : s.selection)
        if (IsLive(n)) QvNodeAccess::SetSelectedBit(n, false);
    s.selection.clear();
    for (cnode* n : nodes) {
        if (!IsLive(n) || std::find(s.selection.begin(), s.selection.end(), n) != s.selection.end())
            continue;
        s.selection.push_back(n);
        QvNodeAccess::SetSelectedBit(n, true);
    }
}

}  // namespace detail

void SetSelectionQuietly(const std::vector<cnode*>& nodes) { detail::ApplySelection(nodes); }
std::vector<cnode*> Selection() { return detail::Scene().selection; }

bool InScene(const cnode* node) {
    const auto& n = detail::Scene().nodes;
    return std::find(n.begin(), n.end(), node) != n.end();
}

}  // namespace qv

using qv::detail::Scene;

namespace {

// Undo item of a selection change: remembers the selection before it.
class SelectionUndo : public UndoItem {
public:
    explicit SelectionUndo(std::vector<cnode*> before) : before_(std::move(before)) {
        SetName("Select");
        SetType(QV_UNDO_SELECTION);
        SetTime(GetAnimTime());
    }
    int Restore() override {
        qv::detail::ApplySelection(before_);
        return 1;
    }
    int HasData() override { return 1; }
private:
    std::vector<cnode*> before_;
};

}  // namespace

namespace qv::detail {

// Makes the selection `after`, as one undo level, when it differs from the present one;
// sends the selection event and tells the program. True when it changed.
bool ChangeSelection(const std::vector<cnode*>& after) {
    std::vector<cnode*> before = Scene().selection;
    ApplySelection(after);
    if (Scene().selection == before) return false;
    theUndo.BeginGeneric(new SelectionUndo(before));
    theUndo.End();
    NotifyTool(QV_EVENT_SELECTION_CHANGED);
    if (Hooks().selectionChanged) Hooks().selectionChanged();
    return true;
}

}  // namespace qv::detail

// --- scene list -------------------------------------------------------------------------------

int Interface::NumNodes() { return static_cast<int>(Scene().nodes.size()); }

cnode* Interface::GetNodeAt(int i) {
    const auto& n = Scene().nodes;
    return i >= 0 && i < static_cast<int>(n.size()) ? n[i] : nullptr;
}

cnode* Interface::FindNode(const char* name) {
    if (!name) return nullptr;
    for (cnode* n : Scene().nodes)
        if (std::strcmp(n->GetName(), name) == 0) return n;
    return nullptr;
}

void Interface::AddToScene(cnode* node, int /*notify*/) {
    if (!qv::detail::IsLive(node) || qv::InScene(node)) return;
    Scene().nodes.push_back(node);
    qv::BumpSceneGeneration();
}

void Interface::AddNodeArrayToScene(cnode** nodes, int count, int notify) {
    if (!nodes) return;
    for (int i = 0; i < count; ++i) AddToScene(nodes[i], notify);
}

void Interface::RemoveFromScene(cnode* node, int /*notify*/) {
    if (!qv::InScene(node)) return;
    qv::detail::ForgetNode(node);
    if (qv::detail::IsLive(node)) QvNodeAccess::SetSelectedBit(node, false);
    qv::BumpSceneGeneration();
}

// --- selection ----------------------------------------------------------------------------------

int Interface::NumSelNodes() { return static_cast<int>(Scene().selection.size()); }

cnode* Interface::GetSelNode(int i) {
    const auto& s = Scene().selection;
    return i >= 0 && i < static_cast<int>(s.size()) ? s[i] : nullptr;
}

void Interface::Select(cnode* node) {
    if (!qv::detail::IsLive(node)) return;
    std::vector<cnode*> after = Scene().selection;
    after.push_back(node);
    qv::detail::ChangeSelection(after);
}

void Interface::DeselectAll() { qv::detail::ChangeSelection({}); }

// --- notifications and views ----------------------------------------------------------------------

void Interface::SceneChanged(int /*flags*/) {
    qv::BumpSceneGeneration();
    qv::detail::NotifyTool(QV_EVENT_SCENE_CHANGED);
}

void Interface::UpdateViews() {
    if (qv::Hooks().updateViews) qv::Hooks().updateViews();
}

void Interface::UpdateAnimBar() { UpdateViews(); }

void Interface::Notify(unsigned long event, unsigned long a, unsigned long b, void* data) {
    qv::detail::NotifyTool(event, a, b, data);
}

// --- time ---------------------------------------------------------------------------------------

int GetAnimTime() { return Scene().time; }
int Interface::GetAnimStart() { return Scene().animStart; }
int Interface::GetAnimEnd() { return Scene().animEnd; }
void Interface::SetAnimStart(int frame) { Scene().animStart = frame; }
void Interface::SetAnimEnd(int frame) { Scene().animEnd = frame; }
int Interface::GetAnimTPF() { return Scene().tpf; }
void Interface::SetAnimTPF(int ms) {
    if (ms > 0) Scene().tpf = ms;
}
int Interface::IsAnimOn() { return Scene().animOn; }
void Interface::SetAnimOn(int on) { Scene().animOn = on ? 1 : 0; }

void Interface::SetAnimTime(int frame) {
    Scene().time = frame;
    qv::detail::NotifyTool(QV_EVENT_SCENE_CHANGED);
}

// --- dialogs ------------------------------------------------------------------------------------

HWND Interface::GetMainHWND() {
    return qv::Hooks().mainWindow ? qv::Hooks().mainWindow() : nullptr;
}

int Interface::DlgPickColor(HWND owner, unsigned long& rgb) {
    return qv::Hooks().pickColour ? qv::Hooks().pickColour(owner, rgb) : 0;
}

int Interface::PickFromList(int /*flags*/, int /*maxNameLen*/, const char* title,
                            const char* button, PickFilterProc filter, PickCallbackProc callback) {
    if (!qv::Hooks().pickFromList) return 0;
    std::vector<cnode*> candidates;
    for (cnode* n : Scene().nodes)
        if (!filter || filter(n)) candidates.push_back(n);
    int chosen = qv::Hooks().pickFromList(title ? title : "", button ? button : "", candidates);
    if (chosen < 0 || chosen >= static_cast<int>(candidates.size())) return 0;
    if (callback) callback(candidates[chosen]);
    return 1;
}

// --- sub-object level and callbacks ------------------------------------------------------------

void Interface::SetSubLevel(int level) { Scene().subLevel = level; }
void Interface::LockSubLevel(int lock) { Scene().subLevelLocked = lock; }
int Interface::GetSubLevel() { return Scene().subLevel; }

void Interface::SetTransformCallback(TransformCallback* cb) { Scene().transformCallback = cb; }
void Interface::SetHitTestCallback(HitTestCallback* cb) { Scene().hitTestCallback = cb; }
TransformCallback* Interface::GetTransformCallback() { return Scene().transformCallback; }
HitTestCallback* Interface::GetHitTestCallback() { return Scene().hitTestCallback; }

// --- reset --------------------------------------------------------------------------------------

void qv::ResetScene() {
    theUndo.Clear();
    detail::ApplySelection({});
    std::vector<cnode*> nodes = Scene().nodes;
    for (cnode* n : nodes) {
        if (!detail::IsLive(n)) continue;
        n->DeleteThis();
        detail::ForgetNode(n);  // a node that outlives its disposal still leaves the list
    }
    Scene() = detail::SceneState{};
    BumpSceneGeneration();
}
