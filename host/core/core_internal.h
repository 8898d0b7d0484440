// Internals shared by the core library's sources: the live-node registry, the scene state
// (scene list, selection, time, tools' callbacks) and privileged access to node fields.
#pragma once

#include <unordered_set>
#include <vector>

#include "quorvane/anim.h"
#include "quorvane/node.h"
#include "frame_table.h"
#include "run_ahead.h"
#include "tree_eval.h"

class TransformCallback;
class HitTestCallback;

namespace qv::detail {

// The scene generation (qv::SceneGeneration), read directly by the evaluation's cache checks.
extern unsigned long long sceneGeneration __attribute__((visibility("hidden")));

// Every constructed node registers itself, so that stored pointers (selection undo, redo
// snapshots, skin weights) can be checked before use.
void RegisterNode(cnode* node);
void UnregisterNode(cnode* node);
bool IsLive(const cnode* node);
// Lighting of drawn nodes: one directional light, colours from glColor.
void SetUpLight();
// Every live node, in no particular order.
const std::unordered_set<const cnode*>& LiveNodes();

// Time settings of a fresh scene.
constexpr int kDefaultAnimStart = 0;     // frames
constexpr int kDefaultAnimEnd = 100;     // frames
constexpr int kDefaultTPF = 33;          // milliseconds per frame

struct SceneState {
    std::vector<cnode*> nodes;       // scene order
    std::vector<cnode*> selection;   // selection order
    int time = 0;
    int animStart = kDefaultAnimStart;
    int animEnd = kDefaultAnimEnd;
    int tpf = kDefaultTPF;
    int animOn = 0;
    int subLevel = 0;
    int subLevelLocked = 0;
    TransformCallback* transformCallback = nullptr;
    HitTestCallback* hitTestCallback = nullptr;
};
SceneState& Scene();

// Takes the node out of the scene list and the selection (no undo level, no event).
void ForgetNode(cnode* node);

// Sends an event to the open tool through the program's hook.
void NotifyTool(unsigned long event, unsigned long a = 0, unsigned long b = 0,
                void* data = nullptr);

// A saved key track of one node, for undo and redo.
struct TrackCopy {
    cnode* node = nullptr;
    std::vector<ckey> keys;
};
TrackCopy CopyTrack(cnode* node);
// Writes the saved keys back when the node still exists.
void RestoreTrack(const TrackCopy& copy);

// Told of each key track about to change while it is the active watcher (at most one).
class TrackWatcher {
public:
    virtual void BeforeTrackChange(cnode* owner) = 0;
protected:
    ~TrackWatcher() = default;
};
// Null ends the watch. The undo manager watches while one of its levels is open.
void SetTrackWatcher(TrackWatcher* watcher);
TrackWatcher* GetTrackWatcher();
// The active watcher (null: none), read directly by the check every track write makes.
extern TrackWatcher* activeTrackWatcher __attribute__((visibility("hidden")));
// Tells the active watcher which node's track is about to change (tracks of no live node are
// not reported).
void ReportTrackChange(const canim& track);
// Called by every write of a key track, before the write.
inline void BeforeTrackChange(const canim& track) {
    if (activeTrackWatcher != nullptr) ReportTrackChange(track);
}

// Replaces the selection without undo or event, keeping the nodes' selected flags in step.
void ApplySelection(const std::vector<cnode*>& nodes);

// Makes the selection `after` as one undo level (type 11) with the selection event and the
// program's hook, when it differs from the present one. True when it changed.
bool ChangeSelection(const std::vector<cnode*>& after);

}  // namespace qv::detail

// Privileged access to a node's fields for the host internals.
class QvNodeAccess {
public:
    static void SetSelectedBit(cnode* node, bool on) {
        if (on) node->flags_ |= QV_FLAG_SELECTED;
        else node->flags_ &= ~static_cast<unsigned>(QV_FLAG_SELECTED);
    }
    // The node's world placement at t, evaluated once per time and change (see EvalCache).
    // The cache's answer is checked here, in line; the evaluation itself is out of line.
    static cnode::EvalCache& Evaluate(cnode* node, int t) {
        cnode::EvalCache& c = node->cache_;
        if (!(c.valid && c.generation == qv::detail::sceneGeneration && c.time == t))
            return EvaluateAfresh(node, t);
        if (c.unasked) {
            c.unasked = false;
            qv::detail::NoteTreeNodeAsked();
        }
        return c;
    }
    // Evaluate for a cache that does not hold t.
    static cnode::EvalCache& EvaluateAfresh(cnode* node, int t);
    // Places every node of the node's tree at t that is not fresh there (world, scale and
    // rotation), the rotations four at a time.
    static void PlaceTree(cnode* node, int t);
    // Evaluates the node at t and the frames after it (see RunAhead); its cache takes t.
    static void RunAheadFrom(cnode* node, int t);
    // Answers the node at t from its run ahead, when that holds t; false otherwise.
    static bool TakeFromRunAhead(cnode* node, int t);
    // The node's world at t as its children need it (its evaluation or its frame table).
    static const cmatrix4& ParentWorld(cnode* node, int t);
    // Starts fetching the keys the node's children are likely to read at t.
    static void PrefetchChildKeys(const cnode* node, int t);
    // Inverse(world) of the node at t, made once per evaluation.
    static const cmatrix4& WorldInverse(cnode* node, int t);
    // Marks the cached placement of the node and of everything below it stale. A stale node has
    // no fresh descendant (a node is evaluated after its parent), so the walk stops at one.
    static void InvalidateSubtree(cnode* node) {
        if (!node->cache_.valid) return;
        node->cache_.valid = false;
        qv::detail::DropRunAhead(node);
        if (qv::detail::anyFrameTables) qv::detail::MarkFrameTableStale(node);
        for (cnode* child : node->children_) InvalidateSubtree(child);
    }
};