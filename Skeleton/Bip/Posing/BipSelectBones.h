// The three "Select Biped Bones" dialogs: which bones a posture or keyframe command works on,
// chosen by 27 bone groups whose checks all three dialogs share.
#pragma once

#include "Skeleton/Bip/BipBones.h"

constexpr int kNumBoneGroups = 27;

// A bone group: a run of bone slots with its check box (the same id in every dialog).
struct BipBoneGroup {
    int first, last;  // slots
    int box;
};
extern const BipBoneGroup kBoneGroups[kNumBoneGroups];

// What the user chose last, preselected next time: all on at module start.
extern int boneGroupChecks[kNumBoneGroups];
// "Bip Position" X, Y, Z of the paste dialog: the root position components a paste writes.
extern int pastePosFlags[3];

// Each dialog is modal over the host's main window and answers 1 when OK was pressed with at
// least one bone box on, filling mask (83 entries by slot) group by group; else 0 and mask is
// left as it was.
// Dialog 107, for "Set" and both "Clear" commands.
int SelectBones(int (&mask)[kNumSlots]);
// Dialog 1161, for "Paste" and "Paste Mirrored"; flags gets the paste position flags.
int SelectPasteBones(int (&mask)[kNumSlots], int (&flags)[3]);
// Dialog 1160, for both "Mirror" commands: one box per pair (the left group) and the centre
// bones; the right groups' mask entries are 0.
int SelectMirrorBones(int (&mask)[kNumSlots]);
