// The "Choose Hand" question (dialog 105) that the hand-pose and hand-file commands ask.
#pragma once

#include <windows.h>

// Hand codes: the slots of the hands, their sum for both, -1 for none.
constexpr int kHandRight = 48;
constexpr int kHandLeft = 67;
constexpr int kHandBoth = kHandRight + kHandLeft;  // 115
constexpr int kHandNone = -1;

constexpr int kChooseHandDialog = 105;
constexpr int kRightHandBox = 1082;  // "Right Hand"
constexpr int kLeftHandBox = 1083;   // "Left Hand"

// Dialog procedure of "Choose Hand". Uses the allow-both flag that WhichHand sets before it
// opens the dialog, and leaves the ticked boxes in the module-wide hand flags.
INT_PTR CALLBACK ChooseHandProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
