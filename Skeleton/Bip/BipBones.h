// The biped's bone slots and the bone table of their base names. A slot is an int 0..82 that
// names one bone of the fixed biped anatomy; -1 names none.
#pragma once

constexpr int kNumSlots = 83;        // entries of every array indexed by bone slot
constexpr int kNumBoneNames = 82;    // bone table entries: slots 1..82 (the root has none)
constexpr int kBoneNameSize = 64;    // bytes of one bone table entry, zero padded
constexpr int kNoSlot = -1;

// Slots named by the other parts of the module.
enum BipSlot : int {
    kSlotRoot = 0,
    kSlotPelvis = 1,
    kSlotRThigh = 2,
    kSlotRCalf = 3,
    kSlotRFoot = 4,
    kSlotRToe0 = 5,        // right toe t, link l: kSlotRToe0 + 3t + l
    kSlotLThigh = 20,
    kSlotLCalf = 21,
    kSlotLFoot = 22,
    kSlotLToe0 = 23,       // left toe t, link l: kSlotLToe0 + 3t + l
    kSlotSpine = 38,       // spine links 38..42
    kSlotNeck = 43,
    kSlotHead = 44,
    kSlotRClavicle = 45,
    kSlotRUpperArm = 46,
    kSlotRForearm = 47,
    kSlotRHand = 48,
    kSlotRFinger0 = 49,    // right finger f, link l: kSlotRFinger0 + 3f + l
    kSlotLClavicle = 64,
    kSlotLUpperArm = 65,
    kSlotLForearm = 66,
    kSlotLHand = 67,
    kSlotLFinger0 = 68,    // left finger f, link l: kSlotLFinger0 + 3f + l
    kSlotLast = 82,
};

constexpr int kMaxSpineLinks = 5;   // the spine bone and up to four further links
constexpr int kMaxDigits = 5;       // toes per foot, fingers per hand
constexpr int kMaxDigitLinks = 3;   // links per toe or finger

// Entry i holds the base name of slot i + 1 ("Pelvis" .. "L Finger42"), zero padded.
extern const char BipBoneTable[kNumBoneNames][kBoneNameSize];

// Base name of a slot from 1 to 82; null for the root (named by the prefix alone) and for
// anything outside the table.
const char* BipBaseName(int slot);
