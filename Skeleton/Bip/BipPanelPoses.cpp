// The modify panel's "Default Body Poses", "Default Hand Poses" (the twelve pose buttons) and
// "Align" groups.
#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipPanel.h"
#include "Skeleton/Bip/BipPoseTables.h"
#include "Skeleton/Bip/Posing/BipKeys.h"
#include "quorvane/util.h"
#include "resources/resource.h"

namespace {

// The hand pose buttons by pose number.
constexpr int kHandPoseButtons[kNumHandPoses] = {
    IDC_PANEL_HAND_SKIN,  IDC_PANEL_HAND_IDLE,  IDC_PANEL_HAND_RELAXED, IDC_PANEL_HAND_FIST,
    IDC_PANEL_HAND_PICK,  IDC_PANEL_HAND_POINT, IDC_PANEL_HAND_PUSH,    IDC_PANEL_HAND_REACH,
    IDC_PANEL_HAND_SCRATCH, IDC_PANEL_HAND_SPREAD, IDC_PANEL_HAND_GRIP, IDC_PANEL_HAND_PISTOL,
};

constexpr int kAlignFlagBoxes[6] = {
    IDC_PANEL_ALIGN_POS_X, IDC_PANEL_ALIGN_POS_Y, IDC_PANEL_ALIGN_POS_Z,
    IDC_PANEL_ALIGN_ROT_X, IDC_PANEL_ALIGN_ROT_Y, IDC_PANEL_ALIGN_ROT_Z,
};

int HandPoseNumber(int id) {
    for (int k = 0; k < kNumHandPoses; ++k)
        if (kHandPoseButtons[k] == id) return k;
    return -1;
}

// The bone chosen in the combo box, the typed frame and the six components. A list without a
// selection, an item that is not a slot, or a frame that is no number does nothing.
void AlignFromPanel(cbipanim& tool, HWND panel) {
    const LRESULT item = SendDlgItemMessageA(panel, IDC_PANEL_ALIGN_BONE, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR) return;
    const LRESULT slot = SendDlgItemMessageA(panel, IDC_PANEL_ALIGN_BONE, CB_GETITEMDATA,
                                             static_cast<WPARAM>(item), 0);
    if (slot < 0 || slot >= kNumSlots) return;
    int frame = 0;
    if (!winGetEditInt(panel, IDC_PANEL_ALIGN_FRAME, frame)) return;
    int f[6];
    for (int k = 0; k < 6; ++k) f[k] = IsDlgButtonChecked(panel, kAlignFlagBoxes[k]) == BST_CHECKED;
    tool.Align(static_cast<int>(slot), frame, f[0], f[1], f[2], f[3], f[4], f[5]);
}

}  // namespace

int PoseCommand(cbipanim& tool, HWND panel, int id) {
    switch (id) {
    case IDC_PANEL_BODY_SKIN:
        tool.Pose(kBodyPoseSkin, 1);
        RefreshViews();
        return 1;
    case IDC_PANEL_BODY_IDLE:
        tool.Pose(kBodyPoseIdle, 1);
        RefreshViews();
        return 1;
    case IDC_PANEL_ALIGN:
        AlignFromPanel(tool, panel);
        return 1;
    default:
        break;
    }
    const int pose = HandPoseNumber(id);
    if (pose < 0) return 0;
    if (tool.PoseHand(tool.WhichHand(1), pose)) RefreshViews();
    return 1;
}
