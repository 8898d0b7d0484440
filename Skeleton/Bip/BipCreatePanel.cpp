// The creation panel: number fields brought into range and applied to the biped under
// construction, the two colour swatches with their picker and defaults buttons.
#include <cmath>

#include "Skeleton/Bip/BipBuild.h"
#include "Skeleton/Bip/BipColour.h"
#include "Skeleton/Bip/BipCreateParams.h"
#include "Skeleton/Bip/BipCreateTool.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "plugin/BipPreview.h"
#include "quorvane/classes.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/util.h"
#include "resources/resource.h"

HWND createPanelWnd = nullptr;

namespace {


void Recolour(cnode* const* nodes, int count, const ccolor& colour) {
    for (int i = 0; i < count; ++i)
        if (nodes[i]) nodes[i]->SetColor(colour);
}

void RedrawSwatches() {
    const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
    RedrawWindow(GetDlgItem(createPanelWnd, IDC_CREATE_LEFT_COLOUR), nullptr, nullptr, flags);
    RedrawWindow(GetDlgItem(createPanelWnd, IDC_CREATE_RIGHT_COLOUR), nullptr, nullptr, flags);
}

void RecolourBothAndUpdate() {
    RedrawSwatches();
    RecolourLeft();
    RecolourRight();
    Interface::UpdateViews();
}

void PickColour(ccolor& colour, void (*recolour)()) {
    unsigned long value = ToWindowsColour(colour);
    if (!Interface::DlgPickColor(Interface::GetMainHWND(), value)) return;
    FromWindowsColour(value, colour);
    recolour();
    Interface::UpdateViews();
}

// --- number fields ---------------------------------------------------------------------------

struct IntField {
    int id;
    int* value;
    int min, max;
    void (*apply)();
};

void ApplySpines() { SetSpineCount(); }
void ApplyFingers() { RefreshFingers(createRoot); }
void ApplyToes() { RefreshToes(createRoot); }

const IntField kIntFields[] = {
    {IDC_CREATE_NUM_SPINES, &numSpines, kMinSpines, kMaxSpines, ApplySpines},
    {IDC_CREATE_NUM_FINGERS, &numFingers, kMinFingers, kMaxFingers, ApplyFingers},
    {IDC_CREATE_NUM_FINGER_LINKS, &numFingerLinks, kMinLinks, kMaxLinks, ApplyFingers},
    {IDC_CREATE_NUM_TOES, &numToes, kMinToes, kMaxToes, ApplyToes},
    {IDC_CREATE_NUM_TOE_LINKS, &numToeLinks, kMinLinks, kMaxLinks, ApplyToes},
};

// Reads the field, brings it into range, and stores and applies it when it changed. An
// unchanged value leaves the edit showing what the user typed.
void HandleIntField(const IntField& f) {
    int value = *f.value;  // a text that is no number leaves the stored value
    winGetEditInt(createPanelWnd, f.id, value);
    if (value < f.min) value = f.min;
    if (value > f.max) value = f.max;
    if (value == *f.value) return;
    *f.value = value;
    ShowParameters();
    if (BipedUnderConstruction()) {
        f.apply();
        Interface::UpdateViews();
    }
}

// The height: its absolute value, 0 meaning the default, at most the largest height.
void HandleHeightField() {
    float value = height;
    winGetEditFloat(createPanelWnd, IDC_CREATE_HEIGHT, value);
    value = std::fabs(value);
    if (value == 0.0f) value = kDefaultHeight;
    if (value > kMaxHeight) value = kMaxHeight;
    if (value == height) return;
    height = value;
    ShowParameters();
    if (BipedUnderConstruction()) {
        SetBipedHeight(createRoot, height);
        Interface::UpdateViews();
    }
}

void HandleField(int id) {
    for (const IntField& f : kIntFields)
        if (f.id == id) return HandleIntField(f);
    if (id == IDC_CREATE_HEIGHT) HandleHeightField();
}

bool IsFieldId(int id) { return id >= IDC_CREATE_NUM_SPINES && id <= IDC_CREATE_HEIGHT; }

void OnCommand(int id, int notification) {
    switch (id) {
    case IDC_CREATE_BIPED_DEFAULTS:
        leftColour.r = 0.0f, leftColour.g = 0.0f, leftColour.b = 1.0f;
        rightColour.r = 0.0f, rightColour.g = 1.0f, rightColour.b = 0.0f;
        RecolourBothAndUpdate();
        return;
    case IDC_CREATE_QUORVANE_DEFAULTS: {
        cbone fresh;  // a new host bone carries the host's default colour
        leftColour = rightColour = fresh.GetColor();
        RecolourBothAndUpdate();
        return;
    }
    case IDC_CREATE_LEFT_COLOUR:
        PickColour(leftColour, RecolourLeft);
        return;
    case IDC_CREATE_RIGHT_COLOUR:
        PickColour(rightColour, RecolourRight);
        return;
    case IDOK: {  // Enter: the field that has the keyboard focus
        HWND focus = GetFocus();
        if (focus) HandleField(GetDlgCtrlID(focus));
        return;
    }
    default:
        if (notification == EN_KILLFOCUS && IsFieldId(id)) HandleField(id);
        return;
    }
}

// Fills a swatch button, inset by a few pixels, with its side's colour.
int PaintSwatch(const DRAWITEMSTRUCT* item) {
    const ccolor* colour = nullptr;
    if (item->CtlID == IDC_CREATE_LEFT_COLOUR) colour = &leftColour;
    if (item->CtlID == IDC_CREATE_RIGHT_COLOUR) colour = &rightColour;
    if (!colour) return 0;
    FillSwatch(item, *colour);
    return 1;
}

}  // namespace

bool BipedUnderConstruction() { return createRoot != nullptr && bippreview.committed == 0; }

void ShowParameters() {
    if (!createPanelWnd) return;
    winSetEditInt(createPanelWnd, IDC_CREATE_NUM_SPINES, numSpines);
    winSetEditInt(createPanelWnd, IDC_CREATE_NUM_FINGERS, numFingers);
    winSetEditInt(createPanelWnd, IDC_CREATE_NUM_FINGER_LINKS, numFingerLinks);
    winSetEditInt(createPanelWnd, IDC_CREATE_NUM_TOES, numToes);
    winSetEditInt(createPanelWnd, IDC_CREATE_NUM_TOE_LINKS, numToeLinks);
    winSetEditFloat(createPanelWnd, IDC_CREATE_HEIGHT, height, kHeightDecimals);
}

namespace {

constexpr int kArmBones = kUpperLHand - kUpperLClavicle + 1;  // clavicle, upper arm, forearm, hand
constexpr int kLegBones = kLowerLFoot - kLowerLThigh + 1;     // thigh, calf, foot

// One side of the biped under construction: its arm (clavicle to hand), its leg (thigh to foot),
// its fingers and its toes. Only that biped is recoloured: a biped already handed over belongs
// to the scene, and its colours are the modify tool's business.
void RecolourSide(int clavicle, int thigh, cnode* const* fingers, cnode* const* toes,
                  const ccolor& colour) {
    if (!BipedUnderConstruction()) return;
    Recolour(&Bip_Upper[clavicle], kArmBones, colour);
    Recolour(&Bip_Lower[thigh], kLegBones, colour);
    Recolour(fingers, kDigitRecords, colour);
    Recolour(toes, kDigitRecords, colour);
}

}  // namespace

void RecolourLeft() {
    RecolourSide(kUpperLClavicle, kLowerLThigh, Bip_LFinger, Bip_LToe, leftColour);
}

void RecolourRight() {
    RecolourSide(kUpperRClavicle, kLowerRThigh, Bip_RFinger, Bip_RToe, rightColour);
}

int CreatePanelProc(HWND panel, unsigned msg, unsigned wParam, long lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        createPanelWnd = panel;
        ShowParameters();
        return 1;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case QV_WM_DRAWITEM:
        return PaintSwatch(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    default:
        return 0;
    }
}
