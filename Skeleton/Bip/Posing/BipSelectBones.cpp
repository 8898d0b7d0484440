// The "Select Biped Bones" dialogs 107, 1160 and 1161: the bone group boxes, the group buttons
// that check or clear a run of them, and the root position components of a paste.
#include "Skeleton/Bip/Posing/BipSelectBones.h"

#include <windows.h>

#include "Skeleton/Bip/BipGlobals.h"
#include "quorvane/interface.h"
#include "resources/resource.h"

const BipBoneGroup kBoneGroups[kNumBoneGroups] = {
    {38, 38, IDC_SEL_SPINE},       {39, 39, IDC_SEL_SPINE1},     {40, 40, IDC_SEL_SPINE2},
    {41, 41, IDC_SEL_SPINE3},      {42, 42, IDC_SEL_SPINE4},     {43, 43, IDC_SEL_NECK},
    {44, 44, IDC_SEL_HEAD},        {45, 45, IDC_SEL_R_CLAVICLE}, {46, 46, IDC_SEL_R_UPPERARM},
    {47, 47, IDC_SEL_R_FOREARM},   {48, 48, IDC_SEL_R_HAND},     {49, 63, IDC_SEL_R_FINGERS},
    {64, 64, IDC_SEL_L_CLAVICLE},  {65, 65, IDC_SEL_L_UPPERARM}, {66, 66, IDC_SEL_L_FOREARM},
    {67, 67, IDC_SEL_L_HAND},      {68, 82, IDC_SEL_L_FINGERS},  {0, 0, IDC_SEL_BIP},
    {1, 1, IDC_SEL_PELVIS},        {2, 2, IDC_SEL_R_THIGH},      {3, 3, IDC_SEL_R_CALF},
    {4, 4, IDC_SEL_R_FOOT},        {5, 19, IDC_SEL_R_TOES},      {20, 20, IDC_SEL_L_THIGH},
    {21, 21, IDC_SEL_L_CALF},      {22, 22, IDC_SEL_L_FOOT},     {23, 37, IDC_SEL_L_TOES},
};

int boneGroupChecks[kNumBoneGroups] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                       1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
int pastePosFlags[3] = {1, 1, 1};

namespace {

constexpr int kGroupBip = 17;  // the root's group: the paste position boxes follow its box
constexpr int kPastePosBoxes[3] = {IDC_PASTE_POS_X, IDC_PASTE_POS_Y, IDC_PASTE_POS_Z};

// A group button checks (or its "Clear" clears) the boxes of a run of groups that the dialog has.
struct GroupButton {
    int check, clear;
    int first, last;  // groups
};
constexpr GroupButton kGroupButtons[] = {
    {IDC_SEL_UPPER, IDC_SEL_UPPER_CLEAR, 0, 16},
    {IDC_SEL_LOWER, IDC_SEL_LOWER_CLEAR, 17, 26},
    {IDC_SEL_SPINE_GROUP, IDC_SEL_SPINE_GROUP_CLEAR, 0, 4},
    {IDC_SEL_R_ARM, IDC_SEL_R_ARM_CLEAR, 7, 11},
    {IDC_SEL_L_ARM, IDC_SEL_L_ARM_CLEAR, 12, 16},
    {IDC_SEL_R_LEG, IDC_SEL_R_LEG_CLEAR, 19, 22},
    {IDC_SEL_L_LEG, IDC_SEL_L_LEG_CLEAR, 23, 26},
};

// What the open dialog fills: its bone mask and, for the paste dialog, the position flags.
struct Selection {
    int* mask;
    int* flags;  // null except for the paste dialog
};
Selection selection{};

bool HasBox(HWND dlg, int id) { return GetDlgItem(dlg, id) != nullptr; }
int IsTicked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED ? 1 : 0; }
void SetTicked(HWND dlg, int id, int on) {
    if (HasBox(dlg, id)) CheckDlgButton(dlg, id, on ? BST_CHECKED : BST_UNCHECKED);
}

// The paste dialog's X, Y, Z can be chosen only while the root ("Bip") is.
void EnablePastePos(HWND dlg) {
    if (!selection.flags) return;
    const int bip = IsTicked(dlg, kBoneGroups[kGroupBip].box);
    for (int id : kPastePosBoxes) EnableWindow(GetDlgItem(dlg, id), bip ? TRUE : FALSE);
}

void OnInit(HWND dlg) {
    for (int g = 0; g < kNumBoneGroups; ++g) SetTicked(dlg, kBoneGroups[g].box, boneGroupChecks[g]);
    if (selection.flags)
        for (int k = 0; k < 3; ++k) SetTicked(dlg, kPastePosBoxes[k], pastePosFlags[k]);
    EnablePastePos(dlg);
}

// OK keeps the boxes in the shared checks and fills the mask; with no bone box on it cancels.
void OnOk(HWND dlg) {
    int anyOn = 0;
    for (int g = 0; g < kNumBoneGroups; ++g) {
        if (!HasBox(dlg, kBoneGroups[g].box)) continue;  // the mirror dialog's right groups
        boneGroupChecks[g] = IsTicked(dlg, kBoneGroups[g].box);
        anyOn |= boneGroupChecks[g];
        for (int s = kBoneGroups[g].first; s <= kBoneGroups[g].last; ++s)
            selection.mask[s] = boneGroupChecks[g];
    }
    if (selection.flags)
        for (int k = 0; k < 3; ++k) selection.flags[k] = pastePosFlags[k] =
                                        IsTicked(dlg, kPastePosBoxes[k]);
    EndDialog(dlg, anyOn);
}

// 1 when the id was a group button.
int OnGroupButton(HWND dlg, int id) {
    for (const GroupButton& b : kGroupButtons) {
        if (id != b.check && id != b.clear) continue;
        for (int g = b.first; g <= b.last; ++g) SetTicked(dlg, kBoneGroups[g].box, id == b.check);
        EnablePastePos(dlg);
        return 1;
    }
    return 0;
}

INT_PTR CALLBACK SelectBonesProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) {
        OnInit(dlg);
        return TRUE;
    }
    if (msg != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDOK) {
        OnOk(dlg);
    } else if (id == IDCANCEL) {
        EndDialog(dlg, 0);
    } else if (id == kBoneGroups[kGroupBip].box) {
        EnablePastePos(dlg);
    } else if (!OnGroupButton(dlg, id)) {
        return FALSE;
    }
    return TRUE;
}

// The mask is filled into a copy and handed back only when the dialog was accepted.
int Ask(int dialog, int (&mask)[kNumSlots], int* flags) {
    int chosen[kNumSlots] = {};
    int chosenFlags[3] = {};
    selection = {chosen, flags ? chosenFlags : nullptr};
    const INT_PTR ok = DialogBoxParamA(hInst, MAKEINTRESOURCE(dialog), Interface::GetMainHWND(),
                                       SelectBonesProc, 0);
    selection = {};
    if (ok != 1) return 0;
    for (int s = 0; s < kNumSlots; ++s) mask[s] = chosen[s];
    if (flags)
        for (int k = 0; k < 3; ++k) flags[k] = chosenFlags[k];
    return 1;
}

}  // namespace

int SelectBones(int (&mask)[kNumSlots]) { return Ask(IDD_SELECT_BONES, mask, nullptr); }
int SelectPasteBones(int (&mask)[kNumSlots], int (&flags)[3]) {
    return Ask(IDD_SELECT_PASTE, mask, flags);
}
int SelectMirrorBones(int (&mask)[kNumSlots]) { return Ask(IDD_SELECT_MIRROR, mask, nullptr); }
