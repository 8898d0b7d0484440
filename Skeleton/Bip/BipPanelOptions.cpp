// The modify panel's "Walk - Run" group: number of loops, start foot, in place, loop and gait,
// stored in the tool and shown again after every change, and "Generate Keyframes".
#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipGaitTables.h"
#include "Skeleton/Bip/BipPanel.h"
#include "quorvane/interface.h"
#include "quorvane/util.h"
#include "resources/resource.h"

namespace {
// The field's number brought into 1..100; a text that is no number leaves the stored value.
void ReadNumLoops(cbipanim& tool, HWND panel) {
    int value = tool.numLoops;
    winGetEditInt(panel, IDC_PANEL_NUM_LOOPS, value);
    if (value < kMinGaitLoops) value = kMinGaitLoops;
    if (value > kMaxGaitLoops) value = kMaxGaitLoops;
    tool.numLoops = value;
}
}  // namespace

int WalkRunCommand(cbipanim& tool, HWND panel, int id, int code) {
    switch (id) {
    case IDC_PANEL_GENERATE:
        tool.Anim(tool.gait);
        Interface::UpdateAnimBar();
        Interface::UpdateViews();
        return 1;
    case IDC_PANEL_NUM_LOOPS:
        if (code != EN_KILLFOCUS) return 1;
        ReadNumLoops(tool, panel);
        break;
    case IDOK:  // Enter in the field
        ReadNumLoops(tool, panel);
        break;
    case IDC_PANEL_START_RIGHT: tool.startFoot = 1; break;
    case IDC_PANEL_START_LEFT: tool.startFoot = 0; break;
    case IDC_PANEL_IN_PLACE: tool.inPlace = !tool.inPlace; break;
    case IDC_PANEL_LOOP: tool.loop = !tool.loop; break;
    case IDC_PANEL_WALK: tool.gait = 0; break;
    case IDC_PANEL_RUN: tool.gait = 1; break;
    default:
        return 0;
    }
    RefreshModifyPanel(tool);
    return 1;
}
