// The modify panel's "Limbs" group: "Sym Left" / "Sym Right" copy the checked limbs' keys at
// the current time reflected to the other side, "Opp Left" / "Opp Right" their rotations'
// Euler angles on the checked axes. "Left" takes the right bones as source.
#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipPanel.h"
#include "Skeleton/Bip/Posing/BipKeys.h"
#include "Skeleton/BipUndo/BipUndo.h"
#include "quorvane/interface.h"
#include "quorvane/undo.h"
#include "resources/resource.h"

namespace {

// A limb box and the right slots it stands for; the left slot of each is its mirror.
struct LimbBox {
    int box;
    int firstRight, lastRight;
    int leftOffset;  // left slot = right slot + offset
};
constexpr int kArm = kSlotLClavicle - kSlotRClavicle;  // 19
constexpr int kLeg = kSlotLThigh - kSlotRThigh;        // 18
constexpr LimbBox kLimbBoxes[] = {  // in the order the commands process them
    {IDC_PANEL_LIMB_CLAVICLE, kSlotRClavicle, kSlotRClavicle, kArm},
    {IDC_PANEL_LIMB_UPPERARM, kSlotRUpperArm, kSlotRUpperArm, kArm},
    {IDC_PANEL_LIMB_FOREARM, kSlotRForearm, kSlotRForearm, kArm},
    {IDC_PANEL_LIMB_HAND, kSlotRHand, kSlotRHand, kArm},
    {IDC_PANEL_LIMB_FINGERS, kSlotRFinger0, kSlotLClavicle - 1, kArm},  // 49..63
    {IDC_PANEL_LIMB_THIGH, kSlotRThigh, kSlotRThigh, kLeg},
    {IDC_PANEL_LIMB_CALF, kSlotRCalf, kSlotRCalf, kLeg},
    {IDC_PANEL_LIMB_FOOT, kSlotRFoot, kSlotRFoot, kLeg},
    {IDC_PANEL_LIMB_TOES, kSlotRToe0, kSlotLThigh - 1, kLeg},           // 5..19
};

struct LimbCommandInfo {
    int id;
    const char* undoName;
    int toLeft;     // 1: right bones are the source
    int symmetric;  // 1: SymBones with Pos/Rot/Scale, 0: OppBones with X/Y/Z
};
constexpr LimbCommandInfo kLimbCommands[] = {
    {IDC_PANEL_SYM_LEFT, "Biped Symmetrical Left", 1, 1},
    {IDC_PANEL_SYM_RIGHT, "Biped Symmetrical Right", 0, 1},
    {IDC_PANEL_OPP_LEFT, "Biped Opposite Left", 1, 0},
    {IDC_PANEL_OPP_RIGHT, "Biped Opposite Right", 0, 0},
};

constexpr int kSymBoxes[3] = {IDC_PANEL_SYM_POS, IDC_PANEL_SYM_ROT, IDC_PANEL_SYM_SCALE};
constexpr int kOppBoxes[3] = {IDC_PANEL_OPP_X, IDC_PANEL_OPP_Y, IDC_PANEL_OPP_Z};

int IsChecked(HWND panel, int id) { return IsDlgButtonChecked(panel, id) == BST_CHECKED ? 1 : 0; }

// One undo step over every checked limb's pairs, source to destination, made before the first
// call and handed to the undo manager after the last.
void RunLimbCommand(cbipanim& tool, HWND panel, const LimbCommandInfo& c) {
    if (!HasBones(tool)) return;
    const int* boxes = c.symmetric ? kSymBoxes : kOppBoxes;
    const int f0 = IsChecked(panel, boxes[0]), f1 = IsChecked(panel, boxes[1]),
              f2 = IsChecked(panel, boxes[2]);
    const int now = GetAnimTime();
    BipAnimUndo* undo = NewBipAnimUndo(c.undoName, tool.bones, kNumSlots);
    for (const LimbBox& limb : kLimbBoxes) {
        if (!IsChecked(panel, limb.box)) continue;
        for (int right = limb.firstRight; right <= limb.lastRight; ++right) {
            const int left = right + limb.leftOffset;
            const int src = c.toLeft ? right : left;
            const int dst = c.toLeft ? left : right;
            if (c.symmetric)
                tool.SymBones(now, src, dst, f0, f1, f2);
            else
                tool.OppBones(now, src, dst, f0, f1, f2);
        }
    }
    theUndo.BeginGeneric(undo);
    RefreshViews();
}

}  // namespace

int LimbCommand(cbipanim& tool, HWND panel, int id) {
    for (const LimbCommandInfo& c : kLimbCommands) {
        if (c.id != id) continue;
        RunLimbCommand(tool, panel, c);
        return 1;
    }
    return 0;
}
