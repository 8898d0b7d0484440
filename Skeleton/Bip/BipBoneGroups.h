// The 27 bone groups by which the "Select Biped Bones" dialogs and the animation load options
// choose bones: each group's check box (the same id in every dialog) and the slots it governs,
// and the group buttons that check or clear a run of groups.
#pragma once

constexpr int kNumBoneGroups = 27;

struct BipBoneGroup {
    int box;        // control id
    int firstSlot;  // slots firstSlot..lastSlot
    int lastSlot;
};
extern const BipBoneGroup kBoneGroups[kNumBoneGroups];
// Index of the group that governs a slot; -1 outside 0..82.
int BoneGroupOfSlot(int slot);

// A group button sets (or its "Clear" partner clears) the boxes of groups first..last.
struct BipGroupButton {
    int set;
    int clear;
    int first;
    int last;
};
constexpr int kNumGroupButtons = 7;
extern const BipGroupButton kGroupButtons[kNumGroupButtons];
