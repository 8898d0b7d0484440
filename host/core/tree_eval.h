// Placing a whole tree of nodes at one time, and the watch on how nodes are being asked that
// decides when to: frame by frame (every node at one frame, then the next frame) a tree is
// placed whole; node by node through the frames, each node is evaluated on its own.
#pragma once

namespace qv::detail {

// Moves on whenever a node is attached, detached or deleted (the trees' shapes change).
extern unsigned long long hierarchyVersion __attribute__((visibility("hidden")));

struct TreeWatch {
    int missTime = 0;    // frame of the latest move of a node to a new frame
    int missCount = 0;   // such moves in a row at missTime
    int treeTime = 0;    // frame of the last tree placed whole
    int treeNodes = 0;   // nodes it placed
    int treeAsked = 0;   // of them, asked for since
};
extern TreeWatch treeWatch __attribute__((visibility("hidden")));

// A node placed with its tree was asked for.
inline void NoteTreeNodeAsked() { ++treeWatch.treeAsked; }

// Told of a node asked at t, fresh at another frame before: true when its whole tree should be
// placed at t, because the last tree placed was mostly asked for, or several nodes in a row
// have moved to t.
bool ShouldPlaceTree(int t);

}  // namespace qv::detail
