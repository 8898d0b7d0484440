// The skin tool "Biped - Mirror Weights": its panel (Pick, destination side, tolerance,
// selection options, details), the pick through the host's node list, and Execute, which
// mirrors the weights of every selected skin node (Part 6.1).
#include "skin/BipSkin.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"
#include "quorvane/util.h"
#include "resources/resource.h"
#include "skin/BipSkinMatch.h"
#include "skin/BipSkinReport.h"

namespace {
char kName[] = "Biped - Mirror Weights";
constexpr char kNoRootMessage[] = "Biped Root Bone Not Selected!";
constexpr char kPickTitle[] = "Select Biped Root Bone";
constexpr char kPickButton[] = "Select";
// Passed unchanged to the host (Part 6.1, "Left to the implementer").
constexpr int kPickFlags = 0;
constexpr int kPickNameChars = 63;
constexpr int kNodeTMMode = 7;

void Check(HWND panel, int id, int on) {
    CheckDlgButton(panel, id, on ? BST_CHECKED : BST_UNCHECKED);
}
int IsChecked(HWND panel, int id) { return IsDlgButtonChecked(panel, id) == BST_CHECKED ? 1 : 0; }

// A node that is not hidden may be picked.
int PickFilter(cnode* node) { return (node->GetFlags() & QV_FLAG_HIDDEN) ? 0 : 1; }

void PickCallback(cnode* node) {
    SkinRecordsPick(SkinPanelState().records, node, GetAnimTime());
}

void Pick(HWND panel) {
    BipSkinPanel& s = SkinPanelState();
    if (!Interface::PickFromList(kPickFlags, kPickNameChars, kPickTitle, kPickButton, PickFilter,
                                 PickCallback))
        return;
    if (s.records.count > 0) {
        const char* name = s.records.data[0]->node->GetName();
        SetDlgItemTextA(panel, IDC_SKIN_ROOT_NAME, name ? name : "");
    }
}

// A negative or not-a-number value becomes 0, one above the maximum the maximum.
float ClampTolerance(float value) {
    if (std::isnan(value) || value < 0.0f) return 0.0f;
    return value > kMaxSkinTolerance ? kMaxSkinTolerance : value;
}

void ReadTolerance(HWND panel) {
    BipSkinPanel& s = SkinPanelState();
    float value = s.tolerance;
    winGetEditFloat(panel, IDC_SKIN_TOLERANCE, value);
    s.tolerance = ClampTolerance(value);
    winSetEditFloat(panel, IDC_SKIN_TOLERANCE, s.tolerance, kSkinToleranceDecimals);
}

void ShowState(HWND panel) {
    const BipSkinPanel& s = SkinPanelState();
    SetDlgItemTextA(panel, IDC_SKIN_ROOT_NAME, "");
    Check(panel, IDC_SKIN_DEST_LEFT, s.destSide == kSkinSideLeft);
    Check(panel, IDC_SKIN_DEST_RIGHT, s.destSide == kSkinSideRight);
    winSetEditFloat(panel, IDC_SKIN_TOLERANCE, s.tolerance, kSkinToleranceDecimals);
    Check(panel, IDC_SKIN_SELECT_UNMATCHED, s.selectUnmatched);
    Check(panel, IDC_SKIN_SELECT_MATCHED, s.selectMatched);
    SetDlgItemTextA(panel, IDC_SKIN_DETAILS, "");
}

void Command(HWND panel, int id, int code) {
    BipSkinPanel& s = SkinPanelState();
    switch (id) {
    case IDC_SKIN_PICK: Pick(panel); break;
    case IDC_SKIN_DEST_LEFT: s.destSide = kSkinSideLeft; break;
    case IDC_SKIN_DEST_RIGHT: s.destSide = kSkinSideRight; break;
    case IDC_SKIN_TOLERANCE:
        if (code == EN_KILLFOCUS) ReadTolerance(panel);
        break;
    case IDOK: ReadTolerance(panel); break;  // the dialog's default command (Enter)
    case IDC_SKIN_SELECT_UNMATCHED:
        s.selectUnmatched = IsChecked(panel, IDC_SKIN_SELECT_UNMATCHED);
        if (s.selectUnmatched) {
            s.selectMatched = 0;
            Check(panel, IDC_SKIN_SELECT_MATCHED, 0);
        }
        break;
    case IDC_SKIN_SELECT_MATCHED:
        s.selectMatched = IsChecked(panel, IDC_SKIN_SELECT_MATCHED);
        if (s.selectMatched) {
            s.selectUnmatched = 0;
            Check(panel, IDC_SKIN_SELECT_UNMATCHED, 0);
        }
        break;
    default: break;
    }
}

// Step 2.7: the report appended while the details text is shorter than the limit, else alone.
void Report(const char* skinName, int matched, int sources) {
    HWND panel = SkinPanelState().panel;
    if (!panel) return;
    char text[kSkinDetailsRead + 1] = {};
    GetDlgItemTextA(panel, IDC_SKIN_DETAILS, text, sizeof text);
    char line[256];
    std::snprintf(line, sizeof line, "<%s>:\r\n %d of %d matched\r\n\r\n", skinName, matched,
                  sources);
    std::string details = static_cast<int>(std::strlen(text)) < kSkinDetailsAppendLimit
                              ? std::string(text) + line
                              : std::string(line);
    SetDlgItemTextA(panel, IDC_SKIN_DETAILS, details.c_str());
}

// Step 2 for one skin node.
void MirrorSkin(cskin* skin) {
    BipSkinPanel& s = SkinPanelState();
    const int t = GetAnimTime();
    SkinMirrorRun run;
    SkinMirrorRead(*skin, run);
    const cmatrix4 world = skin->GetNodeTM(GetAnimTime(), kNodeTMMode);
    if (s.fastMatching)
        SkinMirrorMatchFast(s.records, s.destSide, s.tolerance, world, run);
    else
        SkinMirrorMatchPlain(s.records, s.destSide, s.tolerance, world, run);
    int matched = 0;
    for (int v = 0; v < static_cast<int>(run.verts.size()); ++v)
        matched += run.source[v] && run.pair[v] != 0 ? 1 : 0;
    SkinMirrorReportFill(s.records, run, *skin, matched, t, skin->mirrorReport);  // before writing
    for (const SkinMirrorRun::Write& w : run.writes) skin->SetVert(w.dest, run.verts[w.dest]);
    skin->UpdateDeformers(GetAnimTime());

    const int n = static_cast<int>(run.verts.size());
    if (s.selectMatched || s.selectUnmatched)
        skin->SetSelection(GetAnimTime(), 1, cbooleanarray(n, false), 1);
    for (int v = 0; v < n; ++v) {
        if (!run.source[v]) continue;
        if (run.pair[v] != 0) {
            if (s.selectMatched) skin->SelectVert(static_cast<int>(run.pair[v] - 1));
        } else if (s.selectUnmatched) {
            skin->SelectVert(v);
        }
    }
    Report(skin->GetName() ? skin->GetName() : "", matched, run.sourceCount);
}

}  // namespace

BipSkinPanel& SkinPanelState() {
    static BipSkinPanel state;
    return state;
}

cbipskinhelper::cbipskinhelper() { dialogId = kPanelDialog; }
cbipskinhelper::cbipskinhelper(const cbipskinhelper& other) = default;
cbipskinhelper& cbipskinhelper::operator=(const cbipskinhelper& other) = default;
cbipskinhelper::~cbipskinhelper() = default;

char* cbipskinhelper::GetName() { return kName; }
int cbipskinhelper::UseApply() { return 1; }

int cbipskinhelper::IsOkToModify(cnode* node) {
    return node != nullptr && node->GetTypeID() == QV_TYPE_SKIN ? 1 : 0;
}

void cbipskinhelper::Init() { SkinRecordsFree(SkinPanelState().records); }

void cbipskinhelper::Done() {
    SkinRecordsFree(SkinPanelState().records);
    SkinPanelState().panel = nullptr;
}

int cbipskinhelper::DlgProc(HWND panel, unsigned msg, unsigned wParam, long /*lParam*/) {
    switch (msg) {
    case WM_INITDIALOG:
        SkinPanelState().panel = panel;
        ShowState(panel);
        return 1;
    case WM_COMMAND:
        Command(panel, LOWORD(wParam), HIWORD(wParam));
        return 0;
    default:
        return 0;
    }
}

int cbipskinhelper::Execute() {
    BipSkinPanel& s = SkinPanelState();
    if (s.records.count == 0) {
        MessageBoxA(nullptr, kNoRootMessage, kName, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    for (int i = 0; i < Interface::NumNodes(); ++i) {
        cnode* node = Interface::GetNodeAt(i);
        if (!node || node->GetTypeID() != QV_TYPE_SKIN || !(node->GetFlags() & QV_FLAG_SELECTED))
            continue;
        MirrorSkin(static_cast<cskin*>(node));
    }
    return 1;
}
