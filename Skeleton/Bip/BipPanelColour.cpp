// The modify panel's Colour group: the two swatches with the host's colour picker, the two
// defaults buttons, and the recolouring of the bound biped's left and right bones.
#include <span>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipColour.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "Skeleton/Bip/BipPanel.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "resources/resource.h"

namespace {

// Runs of slots of each side: legs and toes, then arms and fingers.
struct SlotRun {
    int first, last;
};
constexpr SlotRun kLeftRuns[] = {{kSlotLThigh, 37}, {kSlotLClavicle, kSlotLast}};
constexpr SlotRun kRightRuns[] = {{kSlotRThigh, 19}, {kSlotRClavicle, 63}};

void RecolourRuns(const cbipanim& tool, std::span<const SlotRun> runs, const ccolor& colour) {
    for (const SlotRun& run : runs)
        for (int s = run.first; s <= run.last; ++s)
            if (tool.bones[s]) tool.bones[s]->SetColor(colour);
}

// Tells the open tool (and so the anchors) that colours changed, and redraws the views.
void AnnounceColours(cbipanim& tool) {
    Interface::Notify(QV_EVENT_NODE_COLOUR, 0, 0, &tool);
    Interface::UpdateViews();
}

// The picker opens on the side's colour; on OK the side takes the picked r, g, b.
void PickSideColour(cbipanim& tool, HWND panel, int id, ccolor& colour,
                    std::span<const SlotRun> runs) {
    unsigned long value = ToWindowsColour(colour);
    if (!Interface::DlgPickColor(Interface::GetMainHWND(), value)) return;
    FromWindowsColour(value, colour);
    RecolourRuns(tool, runs, colour);
    RedrawSwatch(panel, id);
    AnnounceColours(tool);
}

void ApplyBothColours(cbipanim& tool, HWND panel) {
    RedrawSwatch(panel, IDC_PANEL_LEFT_COLOUR);
    RedrawSwatch(panel, IDC_PANEL_RIGHT_COLOUR);
    RecolourRuns(tool, kLeftRuns, leftColour);
    RecolourRuns(tool, kRightRuns, rightColour);
    AnnounceColours(tool);
}

}  // namespace

void RedrawSwatch(HWND panel, int id) {
    RedrawWindow(GetDlgItem(panel, id), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

int ColourCommand(cbipanim& tool, HWND panel, int id) {
    switch (id) {
    case IDC_PANEL_LEFT_COLOUR:
        PickSideColour(tool, panel, id, leftColour, kLeftRuns);
        return 1;
    case IDC_PANEL_RIGHT_COLOUR:
        PickSideColour(tool, panel, id, rightColour, kRightRuns);
        return 1;
    case IDC_PANEL_BIPED_DEFAULTS:  // blue left, green right; alpha stays
        leftColour.r = 0.0f, leftColour.g = 0.0f, leftColour.b = 1.0f;
        rightColour.r = 0.0f, rightColour.g = 1.0f, rightColour.b = 0.0f;
        ApplyBothColours(tool, panel);
        return 1;
    case IDC_PANEL_QUORVANE_DEFAULTS: {
        cbone fresh;  // a new host bone carries the host's default colour
        leftColour = rightColour = fresh.GetColor();
        ApplyBothColours(tool, panel);
        return 1;
    }
    default:
        return 0;
    }
}

int PaintPanelSwatch(HWND panel, const DRAWITEMSTRUCT* item) {
    if (!item) return 0;
    if (item->hwndItem && item->hwndItem == GetDlgItem(panel, IDC_PANEL_LEFT_COLOUR)) {
        FillSwatch(item, leftColour);
        return 1;
    }
    if (item->hwndItem && item->hwndItem == GetDlgItem(panel, IDC_PANEL_RIGHT_COLOUR)) {
        FillSwatch(item, rightColour);
        return 1;
    }
    return 0;
}
