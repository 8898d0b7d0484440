// The skin tool: copies the skin weights of one side of a skeleton to the other side of a
// skinned mesh. The class object has no fields of its own.
#pragma once

#include "plugin/BipExport.h"
#include "quorvane/classes.h"

class BIPEXPORT cbipskinhelper : public cmodifyinterface {
public:
    static constexpr int kPanelDialog = 1159;  // resource id of the skin panel

    cbipskinhelper();
    cbipskinhelper(const cbipskinhelper& other);
    cbipskinhelper& operator=(const cbipskinhelper& other);
    ~cbipskinhelper() override;

    char* GetName() override;
    int UseApply() override;
    // The tool applies to skinned meshes only.
    int IsOkToModify(cnode* node) override;
};
