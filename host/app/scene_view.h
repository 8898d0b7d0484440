// The viewport the program uses headless: bounds of what the scene shows, and views framed on
// it for clicks, drags and renders.
#pragma once

#include <vector>

#include "qvview/gl.h"
#include "quorvane/math.h"

class cnode;

namespace qvapp {

// Default viewport size of clicks and drags (pixels).
inline constexpr int kDefaultViewWidth = 640;
inline constexpr int kDefaultViewHeight = 480;
// The smallest box (host units a side) a view frames, so that a lone bone still fills it sensibly.
inline constexpr float kMinFramedSize = 2.0f;

struct Box {
    cpoint3 min, max;
    bool empty = true;
    // Widens the box to hold p; a point that is not finite is left out, so that a view framed
    // on the box stays finite.
    void Add(const cpoint3& p);
};

// Every node the viewport draws at time t: visible scene nodes, and the members of nodes that
// draw members, in scene order.
std::vector<cnode*> DrawnNodes(int t);
// Scene nodes and members searched by exact name (scene nodes first).
cnode* FindDrawnNode(const char* name, int t);

// Positions of drawn nodes (and skin vertices) at time t.
Box SceneBox(int t);
// Widens a box so that it is at least minSize host units on every side (empty: around origin).
Box PaddedBox(Box box, float minSize);

// A box framed on one node gets at least this share of the scene's largest side, so that an
// end bone (a single point) still shows with a little of what surrounds it.
inline constexpr float kMinFitShare = 0.05f;
// Positions of the node and every node below it at time t, with the tips of their bones.
Box SubtreeBox(cnode* node, int t);
// The box a view framed on the node shows: its subtree, padded to kMinFitShare of the scene.
Box FitBox(cnode* node, int t);

// The point a click on the node aims at: the midpoint of the segment to its first child, or its
// position when it has no child.
cpoint3 ClickPoint(cnode* node, int t);

}  // namespace qvapp
