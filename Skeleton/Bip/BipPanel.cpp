// The modify panel's procedure and its set-up: every control shown as the tool and the bound
// biped stand when the panel opens.
#include "Skeleton/Bip/BipPanel.h"

#include "Skeleton/Bip/BipAnchors.h"
#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "Skeleton/Bip/BipPosture.h"
#include "quorvane/classes.h"
#include "quorvane/node.h"
#include "quorvane/util.h"
#include "resources/resource.h"

HWND panelWnd = nullptr;

namespace {

// The bones whose colour stands for a side's colour, first found first.
constexpr int kRightColourSlots[] = {kSlotRThigh, kSlotRCalf, kSlotRFoot,
                                     kSlotRUpperArm, kSlotRForearm, kSlotRHand};
constexpr int kLeftColourSlots[] = {kSlotLThigh, kSlotLCalf, kSlotLFoot,
                                    kSlotLUpperArm, kSlotLForearm, kSlotLHand};

// Check boxes on whenever the panel opens: Symmetric Posture "Pos", "Rot", "Scale" and
// Opposite Rotation "X", "Y", "Z"; the Align group's six components.
constexpr int kCheckedAtStart[] = {
    IDC_PANEL_SYM_POS, IDC_PANEL_SYM_ROT, IDC_PANEL_SYM_SCALE,
    IDC_PANEL_OPP_X, IDC_PANEL_OPP_Y, IDC_PANEL_OPP_Z,
};
constexpr int kAlignChecks[] = {
    IDC_PANEL_ALIGN_POS_X, IDC_PANEL_ALIGN_POS_Y, IDC_PANEL_ALIGN_POS_Z,
    IDC_PANEL_ALIGN_ROT_X, IDC_PANEL_ALIGN_ROT_Y, IDC_PANEL_ALIGN_ROT_Z,
};

void Check(HWND panel, int id, int on) { CheckDlgButton(panel, id, on ? BST_CHECKED : BST_UNCHECKED); }
void Enable(HWND panel, int id, int on) { EnableWindow(GetDlgItem(panel, id), on ? TRUE : FALSE); }

// A side's colour becomes that of its first bone present; with none it keeps its value.
template <size_t N>
void ReadSideColour(const cbipanim& tool, const int (&slots)[N], ccolor& colour) {
    for (int s : slots) {
        if (tool.bones[s]) {
            colour = tool.bones[s]->GetColor();
            return;
        }
    }
}

void InitAnchorBoxes(const cbipanim& tool, HWND panel) {
    for (int k = 0; k < cbipanim::kNumAnchors; ++k) {
        const int present = AnchorLimbPresent(tool, k);
        Enable(panel, kAnchorLimbs[k].box, present);
        if (present) Check(panel, kAnchorLimbs[k].box, tool.anchorOn[k]);
    }
}

void InitModeBoxes(const cbipanim& tool, HWND panel) {
    Check(panel, IDC_PANEL_ANIM_TRANSFORM, tool.animTransform);
    Check(panel, IDC_PANEL_OPP_ROTATION, tool.oppRotation);
    Check(panel, IDC_PANEL_SYM_ROTATION, tool.symRotation);
    const int mirrored = tool.mirrorSlot != kNoSlot;
    Enable(panel, IDC_PANEL_OPP_ROTATION, mirrored);
    Enable(panel, IDC_PANEL_SYM_ROTATION, mirrored);
}

// Every bone present, in slot order, with its slot as the item's data; the first selected.
void FillAlignBones(const cbipanim& tool, HWND panel) {
    SendDlgItemMessageA(panel, IDC_PANEL_ALIGN_BONE, CB_RESETCONTENT, 0, 0);
    for (int s = 0; s < kNumSlots; ++s) {
        if (!tool.bones[s]) continue;
        const LRESULT item = SendDlgItemMessageA(panel, IDC_PANEL_ALIGN_BONE, CB_ADDSTRING, 0,
                                                 reinterpret_cast<LPARAM>(tool.bones[s]->GetName()));
        if (item != CB_ERR)
            SendDlgItemMessageA(panel, IDC_PANEL_ALIGN_BONE, CB_SETITEMDATA,
                                static_cast<WPARAM>(item), static_cast<LPARAM>(s));
    }
    SendDlgItemMessageA(panel, IDC_PANEL_ALIGN_BONE, CB_SETCURSEL, 0, 0);
    for (int id : kAlignChecks) Check(panel, id, 1);
}

}  // namespace

void RefreshModifyPanel(const cbipanim& tool) {
    if (!panelWnd) return;
    Enable(panelWnd, IDC_PANEL_PASTE, postureValid == 1);
    Enable(panelWnd, IDC_PANEL_PASTE_MIRRORED, postureValid == 1);
    winSetEditInt(panelWnd, IDC_PANEL_NUM_LOOPS, tool.numLoops);
    Check(panelWnd, IDC_PANEL_START_RIGHT, tool.startFoot == 1);
    Check(panelWnd, IDC_PANEL_START_LEFT, tool.startFoot == 0);
    Check(panelWnd, IDC_PANEL_IN_PLACE, tool.inPlace);
    Check(panelWnd, IDC_PANEL_LOOP, tool.loop);
    Check(panelWnd, IDC_PANEL_WALK, tool.gait == 0);
    Check(panelWnd, IDC_PANEL_RUN, tool.gait == 1);
}

void RebindModifyPanel(const cbipanim& tool, int freshBinding) {
    if (!panelWnd) return;
    if (freshBinding) {
        InitAnchorBoxes(tool, panelWnd);
        ReadSideColour(tool, kRightColourSlots, rightColour);
        ReadSideColour(tool, kLeftColourSlots, leftColour);
        RedrawSwatch(panelWnd, IDC_PANEL_RIGHT_COLOUR);
        RedrawSwatch(panelWnd, IDC_PANEL_LEFT_COLOUR);
        FillAlignBones(tool, panelWnd);
    }
    InitModeBoxes(tool, panelWnd);
}

void ForgetModifyPanel() { panelWnd = nullptr; }

void InitModifyPanel(cbipanim& tool, HWND panel) {
    panelWnd = panel;
    RefreshModifyPanel(tool);
    for (int id : kCheckedAtStart) Check(panel, id, 1);
    InitAnchorBoxes(tool, panel);
    Check(panel, IDC_PANEL_ANIM_TRANSFORM, tool.animTransform);
    ReadSideColour(tool, kRightColourSlots, rightColour);
    ReadSideColour(tool, kLeftColourSlots, leftColour);
    InitModeBoxes(tool, panel);
    FillAlignBones(tool, panel);
}

int cbipanim::DlgProc(HWND panel, unsigned msg, unsigned wParam, long lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        InitModifyPanel(*this, panel);
        return 1;
    case WM_COMMAND:
        PanelCommand(*this, panel, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case QV_WM_DRAWITEM:
        return PaintPanelSwatch(panel, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    default:
        return 0;
    }
}
