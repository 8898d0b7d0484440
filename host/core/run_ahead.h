// A node run through the frames on its own (each node through every frame before the next):
// stepping on to the next frame evaluates it a few frames ahead at once, so that the rotations
// are worked out four at a time, and later steps are answered from what was kept.
#pragma once

#include "quorvane/math.h"

class cnode;

namespace qv::detail {

// Frames one run ahead covers, the frame asked included.
constexpr int kRunAheadFrames = 8;

struct RunAhead {
    const cnode* lastNode = nullptr;    // the node evaluated last (not from its cache) ...
    int lastTime = 0;                   // ... and at which frame
    const cnode* node = nullptr;        // null: nothing kept
    unsigned long long generation = 0;  // scene generation the frames were evaluated in
    int from = 0;                       // first frame kept
    cmatrix4 world[kRunAheadFrames];
    cquat rotation[kRunAheadFrames];
    cpoint3 scale[kRunAheadFrames];
};
extern RunAhead runAhead __attribute__((visibility("hidden")));

// Told of every evaluation of a node at t that its cache could not answer: true when the one
// before was of the same node at the frame before (the node is being run through the frames).
inline bool NoteEvaluation(const cnode* node, int t) {
    const bool stepped = runAhead.lastNode == node && runAhead.lastTime == static_cast<long long>(t) - 1;
    runAhead.lastNode = node;
    runAhead.lastTime = t;
    return stepped;
}

// Forgets what was kept for the node (its placement, or an ancestor's, changed).
inline void DropRunAhead(const cnode* node) {
    if (runAhead.node == node) runAhead.node = nullptr;
}

}  // namespace qv::detail
