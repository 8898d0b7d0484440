// The "Choose Hand" dialog: which hand (or both) a hand pose or hand file goes to.
#include "Skeleton/Bip/BipHand.h"

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "quorvane/interface.h"

namespace {

int handAllowBoth = 0;  // set by WhichHand for the dialog procedure
int handRight = 0;      // boxes ticked when OK was accepted
int handLeft = 0;

constexpr INT_PTR kChoseHand = 1;  // dialog result of an accepted OK
constexpr INT_PTR kCancelled = 0;

int IsTicked(HWND dlg, int box) {
    return SendDlgItemMessageA(dlg, box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void SetTicked(HWND dlg, int box, int ticked) {
    SendDlgItemMessageA(dlg, box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// OK: accept when at least one box is ticked, else say so and stay open.
void OnOk(HWND dlg) {
    handRight = IsTicked(dlg, kRightHandBox);
    handLeft = IsTicked(dlg, kLeftHandBox);
    if (!handRight && !handLeft) {
        MessageBoxA(nullptr, "Must select a hand first\nelse press Cancel", "Biped",
                    MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(dlg, kChoseHand);
}

}  // namespace

INT_PTR CALLBACK ChooseHandProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        SetTicked(dlg, kRightHandBox, 0);
        SetTicked(dlg, kLeftHandBox, 0);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kRightHandBox:
        case kLeftHandBox:
            // One hand only: the clicked box is ticked and the other cleared.
            if (!handAllowBoth) {
                const int clicked = LOWORD(wParam);
                SetTicked(dlg, clicked, 1);
                SetTicked(dlg, clicked == kRightHandBox ? kLeftHandBox : kRightHandBox, 0);
            }
            return TRUE;
        case IDOK:
            OnOk(dlg);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, kCancelled);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int cbipanim::WhichHand(int allowBoth) {
    handAllowBoth = allowBoth;
    handRight = handLeft = 0;
    const INT_PTR result = DialogBoxParamA(hInst, MAKEINTRESOURCE(kChooseHandDialog),
                                           Interface::GetMainHWND(), ChooseHandProc, 0);
    if (result != kChoseHand) return kHandNone;
    return (handLeft ? kHandLeft : 0) + (handRight ? kHandRight : 0);
}
