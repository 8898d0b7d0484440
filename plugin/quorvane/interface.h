// The host's scene interface: nodes, selection, time, views, tools' callbacks and transforms.
// All members are static: there is one scene, the one the user works on.
#pragma once

#include <windows.h>

#include "quorvane/api.h"
#include "quorvane/math.h"

class CGLWindow;
class HitTestCallback;
class TransformCallback;
class cbooleanarray;
class cnode;
struct HitTestRes;
struct HitTestTool;

// Host events sent to the open tool's Notify.
enum : unsigned long {
    QV_EVENT_SCENE_CHANGED = 20,
    QV_EVENT_UNDO_BEGIN = 30,
    QV_EVENT_UNDO_END = 31,
    QV_EVENT_SELECTION_CHANGED = 33,
    QV_EVENT_NODE_COLOUR = 132,
};

// PickFromList: which nodes are offered, and what to do with the chosen one.
typedef int (*PickFilterProc)(cnode* node);
typedef void (*PickCallbackProc)(cnode* node);

class QVAPI Interface {
public:
    // --- scene list (scene order, independent of hierarchy) ---------------------------------
    static int NumNodes();
    static cnode* GetNodeAt(int i);
    static cnode* FindNode(const char* name);   // exact whole name, first in scene order
    // Adds one node (not its children); a node already in the scene stays where it is.
    static void AddToScene(cnode* node, int notify);
    static void AddNodeArrayToScene(cnode** nodes, int count, int notify);
    // Takes the node out of the scene list without destroying it; harmless when absent.
    static void RemoveFromScene(cnode* node, int notify);

    // --- selection (an ordered set; each change is an undo level of type 11 + event 33) -----
    static int NumSelNodes();
    static cnode* GetSelNode(int i = 0);  // null when out of range
    static void Select(cnode* node);
    static void DeselectAll();

    // --- notifications and views -------------------------------------------------------------
    static void SceneChanged(int flags);  // sends event 20 to the open tool
    static void UpdateViews();
    static void UpdateAnimBar();
    // Sends the event to the open tool's Notify.
    static void Notify(unsigned long event, unsigned long a, unsigned long b, void* data);

    // --- time ----------------------------------------------------------------------------------
    static int GetAnimStart();
    static int GetAnimEnd();
    static void SetAnimStart(int frame);
    static void SetAnimEnd(int frame);
    static int GetAnimTPF();             // milliseconds per frame
    static void SetAnimTPF(int ms);
    static int IsAnimOn();               // animation recording
    static void SetAnimOn(int on);
    static void SetAnimTime(int frame);  // sends event 20

    // --- dialogs -------------------------------------------------------------------------------
    static HWND GetMainHWND();
    // The host's colour picker; rgb is 0x00BBGGRR in and out. Non-zero on OK.
    static int DlgPickColor(HWND owner, unsigned long& rgb);
    // The host's modal node list; filter chooses what is offered. Non-zero when a node was
    // picked (then the callback has been called with it).
    static int PickFromList(int flags, int maxNameLen, const char* title, const char* button,
                            PickFilterProc filter, PickCallbackProc callback);

    // --- sub-object level ------------------------------------------------------------------------
    static void SetSubLevel(int level);
    static void LockSubLevel(int lock);
    static int GetSubLevel();

    // --- callbacks of the open modify tool ----------------------------------------------------
    static void SetTransformCallback(TransformCallback* cb);
    static void SetHitTestCallback(HitTestCallback* cb);
    static TransformCallback* GetTransformCallback();
    static HitTestCallback* GetHitTestCallback();

    // --- the host's own hit tests (bones as segments to their first child) -------------------
    static int HitTestObjects(int t, CGLWindow* view, int x, int y, HitTestTool& tool,
                              cbooleanarray* exclude, HitTestRes* res);
    static int HitTestAndSelectObjects(int t, CGLWindow* view, int x, int y, HitTestTool& tool);

    // --- the host's own transform of the selection at the current time -------------------------
    static void StartTransform(int type);
    static void EndTransform(int type);
    static void Move(cpoint3 delta, int axisMode, float amount);
    static void Rotate(cquat q);     // world rotation step about each node's own position
    static void Scale(cpoint3 s);
    static void SetPosition(cpoint3 p, int axisMode, int absolute, float amount);
    static void SetRotation(cpoint3 eulerDeg, int absolute);
    static void SetScale(cpoint3 s, int absolute);
};

// The current animation time (frames).
QVAPI int GetAnimTime();
