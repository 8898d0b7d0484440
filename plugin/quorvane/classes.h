// Tool class interfaces: what a module's class objects are to the host. The host shows the
// tool's panel (dialog `dialogId` of the module `hInstance`) and calls the virtual operations
// in the slot order given below.
#pragma once

#include <windows.h>

#include "quorvane/api.h"

class CGLWindow;
class cnode;

// Answers of a module's LibType export.
enum : int {
    QV_LIBTYPE_CREATE = 1000,
    QV_LIBTYPE_MODIFY = 1001,
};

// The message with which the host asks a panel's or dialog's procedure to paint one owner-drawn
// button (wParam: the control's id, lParam: DRAWITEMSTRUCT*).
enum : unsigned {
    QV_WM_DRAWITEM = 0x1401,
};

class QVAPI cclassinterface {
public:
    cclassinterface();
    cclassinterface(const cclassinterface&) = default;
    cclassinterface& operator=(const cclassinterface&) = default;
    virtual ~cclassinterface();                        // slot 0
    virtual char* GetCategory();                       // slot 1
    virtual char* GetName();                           // slot 2
    virtual int IsPublic();                            // slot 3
    virtual unsigned GetType();                        // slot 4
    virtual unsigned GetSubType();                     // slot 5
    virtual void* Create();                            // slot 6
    virtual int DlgProc(HWND panel, unsigned msg, unsigned wParam, long lParam);  // slot 7
    virtual void Display(int t, CGLWindow* view, unsigned flags);                 // slot 8
    virtual void Notify(unsigned long event, unsigned long a, unsigned long b, void* data);  // 9
    virtual void Init();                               // slot 10: the panel opens
    virtual void Done();                               // slot 11: the panel closes

    HINSTANCE hInstance = nullptr;  // the module's handle, set by its start routine
    int dialogId = 0;               // resource id of the panel dialog in that module
};

// A creation tool: the user drags in a viewport to make something.
//
// BeginDrag(view, x, y, f0..f8): window point (x, y); f0, f1, f2 = the scene point under it;
// the rest 0. Drag/EndDrag/DragIdle/Stop(view, x, y, x0, y0, f0..f4): window point, drag start;
// f0, f1, f2 = the scene point under the cursor, f3 = the height dragged upward from the start
// (host units), f4 = 0.
class QVAPI ccreateinterface : public cclassinterface {
public:
    virtual int CanCreateNew();                                                     // slot 12
    virtual int BeginDrag(CGLWindow* view, int x, int y, float f0, float f1, float f2,
                          float f3, float f4, float f5, float f6, float f7, float f8);  // 13
    virtual int Drag(CGLWindow* view, int x, int y, int x0, int y0, float f0, float f1,
                     float f2, float f3, float f4);                                  // slot 14
    virtual int EndDrag(CGLWindow* view, int x, int y, int x0, int y0, float f0, float f1,
                        float f2, float f3, float f4);                               // slot 15
    virtual int DragIdle(CGLWindow* view, int x, int y, int x0, int y0, float f0, float f1,
                         float f2, float f3, float f4);                              // slot 16
    virtual int Stop(CGLWindow* view, int x, int y, int x0, int y0, float f0, float f1,
                     float f2, float f3, float f4);                                  // slot 17
    virtual int DragIdleMouseCapture();                                             // slot 18
    virtual void* GetHBitmap();                                                     // slot 19
    virtual void DeleteHBitmap(void* bitmap);                                       // slot 20
};

// A modify tool: works on the selected node.
class QVAPI cmodifyinterface : public cclassinterface {
public:
    virtual cnode* GetGizmo() const;          // slot 12
    virtual int UseApply();                   // slot 13: 1 when the host shows "Apply"
    virtual int Execute();                    // slot 14: the host's Apply
    virtual int IsOkToModify(cnode* node);    // slot 15
};

// The exports every module has (plain, undecorated names).
extern "C" {
typedef int (*LibTypeProc)(int index);
typedef int (*LibNumberClassesProc)();
typedef cclassinterface* (*LibClassDescProc)(int index);
typedef int (*LibVersionProc)();
typedef int (*StdLibProc)();
}

// The LibVersion a module must answer for the host to load it.
enum : int { QV_LIB_VERSION = 1500 };
