// The host side of the core library: what the Quorvane program (not a module) uses to run the
// scene: resetting it, the hooks through which the core reaches the program's open tool and
// user interface, and the scene generation that keeps evaluation caches honest.
#pragma once

#include <functional>
#include <windows.h>

#include "quorvane/interface.h"

class cnode;

namespace qv {

// Hooks the program installs; each may be empty (then the call does nothing / answers 0).
struct HostHooks {
    // Sends an event to the open tool's Notify.
    std::function<void(unsigned long event, unsigned long a, unsigned long b, void* data)> notifyTool;
    // Called after every selection change, including those made by undo and redo (between
    // events 30 and 31 then): the program re-asks the open modify tool.
    std::function<void()> selectionChanged;
    std::function<void()> updateViews;
    std::function<HWND()> mainWindow;
    std::function<int(HWND owner, unsigned long& rgb)> pickColour;
    // Shows the node list (names of the candidates) and answers the chosen index or -1.
    std::function<int(const char* title, const char* button, const std::vector<cnode*>& nodes)>
        pickFromList;
};
HostHooks& Hooks();

// An empty scene: every scene node disposed of, frame 0, range 0..100, 33 ms per frame,
// recording off, undo history cleared, selection empty, callbacks removed.
void ResetScene();

// Bumped by every change that can move a node (keys, hierarchy); evaluation caches compare it.
unsigned long long SceneGeneration();
void BumpSceneGeneration();

// Selection without undo level or event (for restoring state).
void SetSelectionQuietly(const std::vector<cnode*>& nodes);
std::vector<cnode*> Selection();

// True when the node is in the scene list.
bool InScene(const cnode* node);

// How nodes draw themselves. Shaded: bones lit by a key light from the viewer's upper left and a
// weak fill from the lower right (so that each face of a bone has its own brightness), selected
// bones outlined, skins smooth and see-through with only their nearest surface showing. Flat:
// the plain look before it (one light over the viewer's shoulder, a selected bone's edges
// white, skins faceted), kept for side-by-side comparisons.
enum class DrawLook { Shaded, Flat };
void SetDrawLook(DrawLook look);
DrawLook GetDrawLook();

// The point a bone's drawn shape reaches at time t: its first child's position, or for an end
// bone a short stub along its own x axis (a share of the distance to its parent).
cpoint3 BoneTip(cnode* bone, int t);

}  // namespace qv
