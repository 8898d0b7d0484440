// The skin tool: copies the skin weights of one side of a skeleton to the other side of a
// skinned mesh (Part 6.1). The class object has no fields of its own: the records and options
// are module-level (BipSkinPanel below), kept for the life of the module.
#pragma once

#include <windows.h>

#include "plugin/BipExport.h"
#include "quorvane/classes.h"
#include "skin/BipSkinRecords.h"

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
    int DlgProc(HWND panel, unsigned msg, unsigned wParam, long lParam) override;
    void Init() override;   // empties the record array
    void Done() override;   // frees every record and the array
    // Mirrors the weights of every selected skin node: 1 after a run, 0 (and the message
    // "Biped Root Bone Not Selected!") when no root bone was picked.
    int Execute() override;
};

// The panel's state (module level). Units and defaults: destination side kSkinSideLeft;
// tolerance in host units, 0.01, clamped to 0..kMaxSkinTolerance; select matched on, select
// unmatched off (never both on).
constexpr float kMaxSkinTolerance = 9999.9f;  // host units
constexpr int kSkinToleranceDecimals = 6;
// The details text is read up to this many characters; a report is appended while the text is
// shorter than kSkinDetailsAppendLimit, else the text is replaced by the report.
constexpr int kSkinDetailsRead = 1023;
constexpr int kSkinDetailsAppendLimit = 896;

struct BipSkinPanel {
    SkinRecordArray records;
    int destSide = kSkinSideLeft;
    float tolerance = 0.01f;
    int selectMatched = 1;
    int selectUnmatched = 0;
    HWND panel = nullptr;
    // 1: the grid search of BipSkinMatch (the default); 0: the Part's own loop. The answers
    // are the same; the switch is there for tests and measurements.
    int fastMatching = 1;
};
BIPEXPORT BipSkinPanel& SkinPanelState();
