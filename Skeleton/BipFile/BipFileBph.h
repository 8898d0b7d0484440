// The ".BPH" hand-pose file as a value: which hand was saved and the rotations of its bones,
// read from and written to bytes exactly as laid out on disk.
#pragma once

#include <cstdint>
#include <vector>

#include "Skeleton/BipFile/BipFileBpd.h"
#include "quorvane/math.h"

constexpr int32_t kBphMagic = 0x48445042;   // "BPDH"
constexpr int32_t kBphVersion = 1000;
constexpr int kBphHeaderSize = 16;          // bytes
constexpr int kBphRecordSize = 20;          // bytes: link, rotation
constexpr int kHandLinks = 16;              // the hand and its 15 finger links

// One bone of the hand: link 0 is the hand, 1..15 the finger links (slot = hand + link).
struct BphRecord {
    int32_t link = 0;
    cquat rot;
};
static_assert(sizeof(BphRecord) == kBphRecordSize, "a record is 20 bytes, no padding");

struct BphFile {
    int32_t handType = 48;            // slot of the saved hand: 48 right, 67 left
    std::vector<BphRecord> records;   // at least one, in increasing link order
};

// Every field is checked before anything is answered; on a refusal `out` is left as it was.
BipFileError ParseBph(const BipBytes& bytes, BphFile& out);
BipBytes SerializeBph(const BphFile& file);
BipFileError ReadBphFile(const char* path, BphFile& out);
BipFileError WriteBphFile(const char* path, const BphFile& file);
