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
};
