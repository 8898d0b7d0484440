// The modify panel's commands: the three exclusive transform modes, the anchors, the limb
// check boxes, and the dispatch to the groups that have files of their own.
#include "Skeleton/Bip/BipAnchors.h"
#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipPanel.h"
#include "Skeleton/BipFile/BipFilePanel.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "resources/resource.h"

namespace {

void Check(HWND panel, int id, int on) { CheckDlgButton(panel, id, on ? BST_CHECKED : BST_UNCHECKED); }
int IsChecked(HWND panel, int id) { return IsDlgButtonChecked(panel, id) == BST_CHECKED ? 1 : 0; }

// "Transform", "Symmetrical Rotation" and "Opposite Rotation": turning one on turns the other
// two off. The root's path overlay depends on the mode, so the views redraw when the root is
// the selected bone.
void ToggleMode(cbipanim& tool, HWND panel, int& mode) {
    const int on = !mode;
    tool.animTransform = tool.symRotation = tool.oppRotation = 0;
    mode = on;
    Check(panel, IDC_PANEL_ANIM_TRANSFORM, tool.animTransform);
    Check(panel, IDC_PANEL_SYM_ROTATION, tool.symRotation);
    Check(panel, IDC_PANEL_OPP_ROTATION, tool.oppRotation);
    if (tool.selSlot == kSlotRoot) Interface::UpdateViews();
}

// An anchor switched on holds its limb's end where that end is now.
void ToggleAnchor(cbipanim& tool, HWND panel, int k) {
    tool.anchorOn[k] = !tool.anchorOn[k];
    Check(panel, kAnchorLimbs[k].box, tool.anchorOn[k]);
    cnode* end = tool.bones[kAnchorLimbs[k].end];
    if (tool.anchorOn[k] && end) tool.anchorPos[k] = end->GetPosition(GetAnimTime());
    Interface::UpdateViews();
}

// "All (Arm)" and "All (Leg)" check their limb boxes and never clear any.
constexpr int kArmBoxes[] = {IDC_PANEL_LIMB_CLAVICLE, IDC_PANEL_LIMB_UPPERARM,
                             IDC_PANEL_LIMB_FOREARM, IDC_PANEL_LIMB_HAND, IDC_PANEL_LIMB_FINGERS};
constexpr int kLegBoxes[] = {IDC_PANEL_LIMB_THIGH, IDC_PANEL_LIMB_CALF, IDC_PANEL_LIMB_FOOT,
                             IDC_PANEL_LIMB_TOES};

// Symmetric Posture "Pos", "Rot", "Scale": the box just cleared comes back on when it was
// the last one on.
void KeepOneChecked(HWND panel, int id) {
    if (!IsChecked(panel, IDC_PANEL_SYM_POS) && !IsChecked(panel, IDC_PANEL_SYM_ROT) &&
        !IsChecked(panel, IDC_PANEL_SYM_SCALE))
        Check(panel, id, 1);
}

int AnchorIndex(int id) {
    for (int k = 0; k < cbipanim::kNumAnchors; ++k)
        if (kAnchorLimbs[k].box == id) return k;
    return -1;
}

}  // namespace

void PanelCommand(cbipanim& tool, HWND panel, int id, int code) {
    if (ColourCommand(tool, panel, id) || WalkRunCommand(tool, panel, id, code)) return;
    if (PoseCommand(tool, panel, id) || PostureCommand(tool, panel, id) ||
        LimbCommand(tool, panel, id) || FileCommand(tool, id))
        return;
    const int anchor = AnchorIndex(id);
    if (anchor >= 0) return ToggleAnchor(tool, panel, anchor);
    switch (id) {
    case IDC_PANEL_ANIM_TRANSFORM: return ToggleMode(tool, panel, tool.animTransform);
    case IDC_PANEL_SYM_ROTATION: return ToggleMode(tool, panel, tool.symRotation);
    case IDC_PANEL_OPP_ROTATION: return ToggleMode(tool, panel, tool.oppRotation);
    case IDC_PANEL_ALL_ARM:
        for (int box : kArmBoxes) Check(panel, box, 1);
        return;
    case IDC_PANEL_ALL_LEG:
        for (int box : kLegBoxes) Check(panel, box, 1);
        return;
    case IDC_PANEL_SYM_POS:
    case IDC_PANEL_SYM_ROT:
    case IDC_PANEL_SYM_SCALE:
        return KeepOneChecked(panel, id);
    default:
        return;
    }
}
