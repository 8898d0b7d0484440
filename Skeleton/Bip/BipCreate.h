// The creation tool: the user drags in a viewport to place a new biped and set its height.
// All per-tool state lives in module-level variables; the class object has no fields of its own.
#pragma once

#include "plugin/BipExport.h"
#include "quorvane/classes.h"

class BIPEXPORT ccreatebip : public ccreateinterface {
public:
    static constexpr int kPanelDialog = 1157;   // resource id of the creation panel
    static constexpr int kButtonBitmap = 106;   // resource id of the tool's button image

    ccreatebip();
    ccreatebip(const ccreatebip& other);
    ccreatebip& operator=(const ccreatebip& other);
    ~ccreatebip() override;

    char* GetCategory() override;
    char* GetName() override;
    unsigned GetType() override;
    unsigned GetSubType() override;
    // A new host bone, outside the scene.
    void* Create() override;
    // The button image: bitmap 106 of the module the object's handle names.
    void* GetHBitmap() override;
    void DeleteHBitmap(void* bitmap) override;

    // The creation panel (dialog 1157) and the tool's life cycle.
    int DlgProc(HWND panel, unsigned msg, unsigned wParam, long lParam) override;
    void Init() override;
    void Done() override;
    void Notify(unsigned long event, unsigned long a, unsigned long b, void* data) override;

    // Drag creation: f0..f2 of BeginDrag are the scene point where the drag starts; the sum of
    // the last two floats of Drag is the dragged height.
    int BeginDrag(CGLWindow* view, int x, int y, float f0, float f1, float f2, float f3, float f4,
                  float f5, float f6, float f7, float f8) override;
    int Drag(CGLWindow* view, int x, int y, int x0, int y0, float f0, float f1, float f2, float f3,
             float f4) override;
    int EndDrag(CGLWindow* view, int x, int y, int x0, int y0, float f0, float f1, float f2,
                float f3, float f4) override;
    int Stop(CGLWindow* view, int x, int y, int x0, int y0, float f0, float f1, float f2, float f3,
             float f4) override;
};
