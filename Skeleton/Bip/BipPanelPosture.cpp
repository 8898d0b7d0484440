// The modify panel's "Posture" commands (Copy, Paste, Paste Mirrored, Set, Clear, Mirror) and
// the "Animation" group's "Mirror" and "Clear", each asking its "Select Biped Bones" dialog.
#include <new>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipPanel.h"
#include "Skeleton/Bip/Posing/BipKeys.h"
#include "Skeleton/Bip/Posing/BipSelectBones.h"
#include "Skeleton/BipUndo/BipUndo.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"
#include "resources/resource.h"

namespace {

const char kClearPostureName[] = "Biped Clear Posture";
const char kMirrorPostureName[] = "Biped Mirror Posture";
const char kMirrorKeysName[] = "Biped Mirror Keyframes";
const char kClearKeysName[] = "Biped Clear Keyframes";

// The slot runs the Mirror commands walk: each chosen left slot with the right slot of its
// pair (arms first, then legs), then the centre bones.
constexpr int kArmPairOffset = kSlotLClavicle - kSlotRClavicle;  // 19
constexpr int kLegPairOffset = kSlotLThigh - kSlotRThigh;        // 18
constexpr int kCentreSlots[] = {kSlotRoot,     kSlotPelvis,   kSlotSpine,    kSlotSpine + 1,
                                kSlotSpine + 2, kSlotSpine + 3, kSlotSpine + 4, kSlotNeck,
                                kSlotHead};

template <typename Pair, typename Single>
void ForEachMirrored(const int (&mask)[kNumSlots], Pair pair, Single single) {
    for (int s = kSlotLClavicle; s <= kSlotLast; ++s)
        if (mask[s]) pair(s, s - kArmPairOffset);
    for (int s = kSlotLThigh; s < kSlotSpine; ++s)
        if (mask[s]) pair(s, s - kLegPairOffset);
    for (int s : kCentreSlots)
        if (mask[s]) single(s);
}

void ClearPosture(cbipanim& tool) {
    const int now = GetAnimTime();
    if (now == 0) {
        MessageBoxA(nullptr, "Cannot delete key at frame 0!", "Biped", MB_ICONWARNING);
        return;
    }
    int mask[kNumSlots] = {};
    if (!HasBones(tool) || !SelectBones(mask)) return;
    FrameUndoScope undo(kClearPostureName, tool);
    for (int s = 0; s < kNumSlots; ++s) {
        if (!mask[s] || !tool.bones[s]) continue;
        tool.bones[s]->anim.RemoveKey(now);
        tool.bones[s]->UpdateTimeIdle();
    }
    RefreshViews();
}

void MirrorPosture(cbipanim& tool) {
    if (!HasBones(tool)) return;
    int mask[kNumSlots] = {};
    if (!SelectMirrorBones(mask)) return;
    FrameUndoScope undo(kMirrorPostureName, tool);
    const int now = GetAnimTime();
    ForEachMirrored(
        mask, [&](int left, int right) { tool.SwapBones(now, left, right, 1, 1, 1); },
        [&](int s) { tool.SwapSingleBones(now, s); });
    RefreshViews();
}

// A whole-track command: the bones chosen in its dialog, the tracks saved before `change`
// runs on them, and the undo item handed over after.
template <typename Select, typename Change>
void TrackCommand(cbipanim& tool, const char* name, Select select, Change change) {
    int mask[kNumSlots] = {};
    if (!HasBones(tool) || !select(mask)) return;
    BipAnimUndo* undo = NewBipAnimUndo(name, tool.bones, kNumSlots);
    change(mask);
    theUndo.BeginGeneric(undo);
    RefreshViews();
}

void MirrorKeyframes(cbipanim& tool) {
    TrackCommand(tool, kMirrorKeysName, SelectMirrorBones, [&](const int (&mask)[kNumSlots]) {
        ForEachMirrored(
            mask, [&](int left, int right) { tool.SwapBoneKeys(left, right); },
            [&](int s) { tool.SwapSingleBoneKeys(s); });
    });
}

// Every chosen track keeps its first key only.
void ClearKeyframes(cbipanim& tool) {
    TrackCommand(tool, kClearKeysName, SelectBones, [&](const int (&mask)[kNumSlots]) {
        for (int s = 0; s < kNumSlots; ++s) {
            if (!mask[s] || !tool.bones[s]) continue;
            tool.bones[s]->anim.SetNumKeys(1, 0);
            tool.bones[s]->UpdateTimeIdle();
        }
    });
}

}  // namespace

int PostureCommand(cbipanim& tool, HWND, int id) {
    int mask[kNumSlots] = {};
    int flags[3] = {};
    switch (id) {
    case IDC_PANEL_COPY:
        tool.CopyPosture();
        RefreshModifyPanel(tool);
        return 1;
    case IDC_PANEL_PASTE:
        if (!SelectPasteBones(mask, flags)) return 1;
        tool.PastePosture(mask, flags[0], flags[1], flags[2]);
        RefreshViews();
        return 1;
    case IDC_PANEL_PASTE_MIRRORED:
        if (!SelectPasteBones(mask, flags)) return 1;
        tool.PastePostureMirrored(mask, flags[0], flags[1], flags[2]);
        RefreshViews();
        return 1;
    case IDC_PANEL_SET:
        if (!SelectBones(mask)) return 1;
        tool.SetPosture(mask);
        RefreshViews();
        return 1;
    case IDC_PANEL_POSTURE_CLEAR: ClearPosture(tool); return 1;
    case IDC_PANEL_POSTURE_MIRROR: MirrorPosture(tool); return 1;
    case IDC_PANEL_ANIM_MIRROR: MirrorKeyframes(tool); return 1;
    case IDC_PANEL_ANIM_CLEAR: ClearKeyframes(tool); return 1;
    default: return 0;
    }
}
