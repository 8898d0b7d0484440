// Default tables of the skeleton builder: the lower and upper body, the spine links, and the
// finger and toe tables for every count, all for a biped of height 1 standing at the origin.
#pragma once

#include <array>
#include <cstdint>

#include "Skeleton/Bip/BipBones.h"
#include "quorvane/math.h"

// One default bone: an 88-byte record. Positions are for height 1 relative to the root's
// position (+z up, the biped's left side +x, toes along -y); the rotation rows are the first
// three rows of the bone's world matrix.
struct BipDefaultRecord {
    char name[32];     // full default name with the prefix "Bip01"
    int32_t parent;    // index of the parent record in the same table; -1: the caller attaches
    int32_t index;     // the record's own index (not read)
    float rot[3][3];   // world rotation rows
    float pos[3];      // position at height 1, relative to the root
};
static_assert(sizeof(BipDefaultRecord) == 88, "the default record is 88 bytes");

constexpr int kNumLowerBody = 8;
constexpr int kNumUpperBody = 10;
constexpr int kNumSpineLinks = 4;    // "Spine1" .. "Spine4"
constexpr int kDigitRecords = kMaxDigits * kMaxDigitLinks;  // 15 records per digit table

// Lower body: 0 Pelvis, 1 Spine, 2..4 left leg, 5..7 right leg.
extern const BipDefaultRecord kLowerBodyTable[kNumLowerBody];
// Upper body: 0 Neck, 1 Head, 2..5 left arm, 6..9 right arm.
extern const BipDefaultRecord kUpperBodyTable[kNumUpperBody];

// Names of the further spine links, and the world rotation they all share (x, y, z, w).
extern const char kSpineLinkNames[kNumSpineLinks][32];
extern const cquat kSpineLinkRotation;
// The root's world rotation: a quarter turn about z.
extern const cquat kRootRotation;

// Digit tables by side and count: tables[count - 1][3 * digit + link]. Records past
// 3 * count are zero. Link 0 of each digit has parent -1; link l > 0 has the record before.
using BipDigitTable = std::array<BipDefaultRecord, kDigitRecords>;
using BipDigitTables = std::array<BipDigitTable, kMaxDigits>;
extern const BipDigitTables kRightFingerTables;
extern const BipDigitTables kLeftFingerTables;
extern const BipDigitTables kRightToeTables;
extern const BipDigitTables kLeftToeTables;
