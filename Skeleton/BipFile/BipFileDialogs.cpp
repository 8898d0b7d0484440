// The options dialogs of the animation file commands: 103 "Load BIPED File - Options" and
// 104 "Save BIPED Animation - Options". Check boxes and radio buttons store their option at
// once; the number fields are read on OK.
#include <algorithm>
#include <utility>

#include "Skeleton/Bip/BipGlobals.h"
#include "Skeleton/BipFile/BipFileOptions.h"
#include "quorvane/interface.h"
#include "quorvane/util.h"
#include "resources/resource.h"

namespace {

int frameCountShown = 1;  // frames of the file whose load options are open

void Check(HWND dlg, int id, int on) { CheckDlgButton(dlg, id, on ? BST_CHECKED : BST_UNCHECKED); }
int IsChecked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED ? 1 : 0; }
// Closes the dialog with the result; the message is handled.
INT_PTR End(HWND dlg, INT_PTR result) {
    EndDialog(dlg, result);
    return TRUE;
}

// A number field read as its leading number; 0 when it holds none.
int EditInt(HWND dlg, int id) {
    int value = 0;
    winGetEditInt(dlg, id, value);
    return value;
}

// --- dialog 103 --------------------------------------------------------------------------------

void ShowLoadOptions(HWND dlg, const BpdLoadOptions& o) {
    for (int g = 0; g < kNumBoneGroups; ++g) Check(dlg, kBoneGroups[g].box, o.groupOn[g]);
    winSetEditInt(dlg, IDC_LOAD_FIRST_FRAME, o.firstFrame);
    winSetEditInt(dlg, IDC_LOAD_LAST_FRAME, o.lastFrame);
    winSetEditInt(dlg, IDC_LOAD_INSERT_AT, o.insertAt);
    winSetEditInt(dlg, IDC_LOAD_REPEAT, o.repeat);
    winSetEditInt(dlg, IDC_LOAD_NUM_FRAMES, o.numFrames);
    Check(dlg, IDC_LOAD_INVERT, o.invert);
    Check(dlg, IDC_LOAD_SCALE, o.scale);
    EnableWindow(GetDlgItem(dlg, IDC_LOAD_NUM_FRAMES), o.scale ? TRUE : FALSE);
    Check(dlg, IDC_LOAD_KEYS_CLEAR, o.existing == kKeysClear);
    Check(dlg, IDC_LOAD_KEYS_MOVE, o.existing == kKeysMove);
    Check(dlg, IDC_LOAD_ALIGN_BIP, o.align == 0);
    Check(dlg, IDC_LOAD_ALIGN_R_FOOT, o.align == 4);
    Check(dlg, IDC_LOAD_ALIGN_L_FOOT, o.align == 22);
}

// OK: the source range kept within the file and in order, at least one frame per copy,
// 1..100 copies, and the group checks as the boxes show them.
void StoreLoadOptions(HWND dlg, BpdLoadOptions& o) {
    const int last = frameCountShown - 1;
    o.firstFrame = std::clamp(EditInt(dlg, IDC_LOAD_FIRST_FRAME), 0, last);
    o.lastFrame = std::clamp(EditInt(dlg, IDC_LOAD_LAST_FRAME), 0, last);
    if (o.firstFrame > o.lastFrame) std::swap(o.firstFrame, o.lastFrame);
    o.insertAt = EditInt(dlg, IDC_LOAD_INSERT_AT);
    o.numFrames = std::max(EditInt(dlg, IDC_LOAD_NUM_FRAMES), 1);
    o.repeat = std::clamp(EditInt(dlg, IDC_LOAD_REPEAT), kMinRepeat, kMaxRepeat);
    for (int g = 0; g < kNumBoneGroups; ++g) o.groupOn[g] = IsChecked(dlg, kBoneGroups[g].box);
}

// The group buttons change the boxes only; 1 when the id was one of them.
int GroupButton(HWND dlg, int id) {
    for (const BipGroupButton& b : kGroupButtons) {
        if (id != b.set && id != b.clear) continue;
        for (int g = b.first; g <= b.last; ++g) Check(dlg, kBoneGroups[g].box, id == b.set);
        return 1;
    }
    return 0;
}

INT_PTR CALLBACK LoadOptionsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    BpdLoadOptions& o = bpdLoadOptions;
    if (msg == WM_INITDIALOG) {
        ShowLoadOptions(dlg, o);
        return TRUE;
    }
    if (msg != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (GroupButton(dlg, id)) return TRUE;
    switch (id) {
    case IDC_LOAD_INVERT: o.invert = IsChecked(dlg, id); return TRUE;
    case IDC_LOAD_SCALE:
        o.scale = IsChecked(dlg, id);
        EnableWindow(GetDlgItem(dlg, IDC_LOAD_NUM_FRAMES), o.scale ? TRUE : FALSE);
        return TRUE;
    case IDC_LOAD_KEYS_CLEAR: o.existing = kKeysClear; return TRUE;
    case IDC_LOAD_KEYS_MOVE: o.existing = kKeysMove; return TRUE;
    case IDC_LOAD_ALIGN_BIP: o.align = 0; return TRUE;
    case IDC_LOAD_ALIGN_R_FOOT: o.align = 4; return TRUE;
    case IDC_LOAD_ALIGN_L_FOOT: o.align = 22; return TRUE;
    case IDOK:
        StoreLoadOptions(dlg, o);
        return End(dlg, 1);
    case IDCANCEL: return End(dlg, 0);
    }
    return FALSE;
}

// --- dialog 104 --------------------------------------------------------------------------------

void ShowRange(HWND dlg, int from, int to) {
    winSetEditInt(dlg, IDC_SAVE_FROM, from);
    winSetEditInt(dlg, IDC_SAVE_TO, to);
}

INT_PTR CALLBACK SaveOptionsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    BpdSaveOptions& o = bpdSaveOptions;
    if (msg == WM_INITDIALOG) {
        ShowRange(dlg, o.from, o.to);
        Check(dlg, IDC_SAVE_ALL_FRAMES, o.allFrames);
        return TRUE;
    }
    if (msg != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_SAVE_ANIM_RANGE:
        o.from = Interface::GetAnimStart();
        o.to = Interface::GetAnimEnd();
        ShowRange(dlg, o.from, o.to);
        return TRUE;
    case IDC_SAVE_KEY_RANGE: ShowRange(dlg, o.keyFrom, o.keyTo); return TRUE;
    case IDC_SAVE_ALL_FRAMES: o.allFrames = IsChecked(dlg, IDC_SAVE_ALL_FRAMES); return TRUE;
    case IDOK:
        o.from = EditInt(dlg, IDC_SAVE_FROM);
        o.to = EditInt(dlg, IDC_SAVE_TO);
        if (o.from > o.to) std::swap(o.from, o.to);
        return End(dlg, 1);
    case IDCANCEL: return End(dlg, 0);
    }
    return FALSE;
}

int RunDialog(int resource, DLGPROC proc) {
    return DialogBoxParamA(hInst, MAKEINTRESOURCE(resource), Interface::GetMainHWND(), proc, 0) == 1
               ? 1
               : 0;
}

}  // namespace

int AskBpdLoadOptions(int frameCount) {
    frameCountShown = std::max(frameCount, 1);
    return RunDialog(IDD_LOAD_OPTIONS, LoadOptionsProc);
}

int AskBpdSaveOptions() { return RunDialog(IDD_SAVE_OPTIONS, SaveOptionsProc); }
