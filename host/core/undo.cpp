// The undo manager: levels of items, undo by restoring items (newest first), redo by putting
// back a snapshot of the scene's key tracks and selection taken just before the undo.
// While a level is open it also keeps every key track that changes, as it was before its first
// change: whatever a tool changes from its callbacks and notifications while the level is open
// belongs to it, and undo gives it back exactly even where the level's items saved less.
#include "quorvane/undo.h"

#include <unordered_set>
#include <vector>

#include "added_nodes_undo.h"
#include "core_internal.h"
#include "qvcore/host.h"
#include "quorvane/interface.h"

UndoItem::UndoItem() = default;
UndoItem::~UndoItem() = default;
int UndoItem::Restore() { return 0; }
void UndoItem::FreeData() {}
void UndoItem::Delete() { delete this; }
int UndoItem::HasData() { return 0; }

UndoMgr theUndo;

namespace {

// The scene as it was before an undo: every scene node's keys and the selection.
struct RedoSnapshot {
    std::vector<qv::detail::TrackCopy> tracks;
    std::vector<cnode*> selection;
};

RedoSnapshot TakeSnapshot() {
    RedoSnapshot s;
    for (cnode* n : qv::detail::Scene().nodes) s.tracks.push_back(qv::detail::CopyTrack(n));
    s.selection = qv::detail::Scene().selection;
    return s;
}

void DeleteItems(std::vector<UndoItem*>& items) {
    for (UndoItem* item : items)
        if (item) item->Delete();
    items.clear();
}

// Tells the tool and the program about a selection that undo or redo changed.
void ReportSelectionChange(const std::vector<cnode*>& before) {
    if (qv::detail::Scene().selection == before) return;
    qv::detail::NotifyTool(QV_EVENT_SELECTION_CHANGED);
    if (qv::Hooks().selectionChanged) qv::Hooks().selectionChanged();
}

}  // namespace

class UndoLevelState {
public:
    std::vector<UndoItem*> items;
    std::vector<qv::detail::TrackCopy> changed;  // tracks before the level first changed them
    RedoSnapshot redo;
};

struct UndoMgr::Impl final : qv::detail::TrackWatcher {
    std::vector<UndoLevelState> undo;  // oldest first
    std::vector<UndoLevelState> redo;  // oldest first; the back is redone next
    bool open = false;
    std::unordered_set<const cnode*> seen;  // nodes in the open level's `changed`

    void ClearRedo() {
        for (auto& level : redo) DeleteItems(level.items);
        redo.clear();
    }
    void BeforeTrackChange(cnode* owner) override {
        if (open && seen.insert(owner).second)
            undo.back().changed.push_back(qv::detail::CopyTrack(owner));
    }
};

namespace qv::detail {

TrackCopy CopyTrack(cnode* node) {
    TrackCopy c;
    c.node = node;
    c.keys = node->anim.Keys();
    return c;
}

void RestoreTrack(const TrackCopy& copy) {
    if (!IsLive(copy.node)) return;
    canim& anim = copy.node->anim;
    anim.SetNumKeys(static_cast<int>(copy.keys.size()), 1);
    for (size_t i = 0; i < copy.keys.size(); ++i) anim.SetKeyAt(static_cast<int>(i), copy.keys[i], 0);
}

}  // namespace qv::detail

UndoMgr::UndoMgr() : impl_(new Impl) {}

UndoMgr::~UndoMgr() {
    Clear();
    delete impl_;
}

void UndoMgr::BeginGeneric(UndoItem* item) {
    End();
    impl_->ClearRedo();
    UndoLevelState level;
    if (item) level.items.push_back(item);
    impl_->undo.push_back(std::move(level));
    impl_->open = true;
    qv::detail::SetTrackWatcher(impl_);
}

void UndoMgr::Add(UndoItem* item) {
    if (!impl_->open) {
        BeginGeneric(item);
        return;
    }
    if (item) impl_->undo.back().items.push_back(item);
}

// Closing a level ends its track watch.
void UndoMgr::End() {
    impl_->open = false;
    impl_->seen.clear();
    if (qv::detail::GetTrackWatcher() == impl_) qv::detail::SetTrackWatcher(nullptr);
}
int UndoMgr::IsOpen() const { return impl_->open ? 1 : 0; }

int UndoMgr::NumLevels() const { return static_cast<int>(impl_->undo.size()); }

int UndoMgr::GetLevelType(int i) const {
    if (i < 0 || i >= NumLevels()) return -1;
    const auto& items = impl_->undo[i].items;
    return items.empty() ? 0 : items.front()->GetType();
}

const char* UndoMgr::GetLevelName(int i) const {
    if (i < 0 || i >= NumLevels()) return "";
    const auto& items = impl_->undo[i].items;
    return items.empty() ? "" : items.front()->GetName();
}

int UndoMgr::NumRedoLevels() const { return static_cast<int>(impl_->redo.size()); }

const char* UndoMgr::GetRedoLevelName(int i) const {
    if (i < 0 || i >= NumRedoLevels()) return "";
    const auto& items = impl_->redo[i].items;
    return items.empty() ? "" : items.front()->GetName();
}

int UndoMgr::Undo() {
    End();
    if (impl_->undo.empty()) return 0;
    // The tool hears of the undo while the level is still the newest, so that it can tell
    // what kind of change is being undone (GetLevelType(NumLevels() - 1)).
    qv::detail::NotifyTool(QV_EVENT_UNDO_BEGIN);
    UndoLevelState level = std::move(impl_->undo.back());
    impl_->undo.pop_back();
    std::vector<cnode*> selectionBefore = qv::detail::Scene().selection;
    level.redo = TakeSnapshot();
    // Newest first: the changes seen while the level was open, then the items, which may hold
    // states from before the level opened (commands that change keys, then hand the item over).
    for (const auto& track : level.changed) qv::detail::RestoreTrack(track);
    for (auto it = level.items.rbegin(); it != level.items.rend(); ++it)
        if (*it) (*it)->Restore();
    qv::BumpSceneGeneration();
    ReportSelectionChange(selectionBefore);
    qv::detail::NotifyTool(QV_EVENT_UNDO_END);
    impl_->redo.push_back(std::move(level));
    return 1;
}

int UndoMgr::Redo() {
    End();
    if (impl_->redo.empty()) return 0;
    UndoLevelState level = std::move(impl_->redo.back());
    impl_->redo.pop_back();
    qv::detail::NotifyTool(QV_EVENT_UNDO_BEGIN);
    std::vector<cnode*> selectionBefore = qv::detail::Scene().selection;
    for (UndoItem* item : level.items) qv::detail::RedoAddedNodes(item);
    for (const auto& track : level.redo.tracks) qv::detail::RestoreTrack(track);
    qv::detail::ApplySelection(level.redo.selection);
    level.redo = RedoSnapshot{};
    qv::BumpSceneGeneration();
    ReportSelectionChange(selectionBefore);
    qv::detail::NotifyTool(QV_EVENT_UNDO_END);
    impl_->undo.push_back(std::move(level));
    return 1;
}

void UndoMgr::ClearRedo() { impl_->ClearRedo(); }

void UndoMgr::Clear() {
    End();
    for (auto& level : impl_->undo) DeleteItems(level.items);
    impl_->undo.clear();
    impl_->ClearRedo();
}
