// The ".BPD" animation file as a value: its header and its bone records of keys, read from
// and written to bytes exactly as laid out on disk (little-endian, no padding).
#pragma once

#include <cstdint>
#include <vector>

#include "Skeleton/BipFile/BipFileBytes.h"
#include "quorvane/anim.h"

constexpr int32_t kBpdMagic = 0x5A445042;    // "BPDZ"
constexpr int32_t kBpdVersion = 1000;
constexpr int kBpdHeaderSize = 28;           // bytes
constexpr int kBpdKeySize = 44;              // bytes of one key record, the layout of ckey
static_assert(sizeof(ckey) == kBpdKeySize, "a key record is a host key, byte for byte");

// One bone's keys; times count frames from the saved range's start.
struct BpdBone {
    int32_t slot = 0;       // 0..82; other values are read and skipped by a load
    std::vector<ckey> keys;
};

struct BpdFile {
    int32_t frameCount = 1;     // To - From + 1 of the saved range, at least 1
    int32_t fps = 30;           // frames per second
    int32_t startFrame = 0;     // From, the first saved scene frame (not used by a load)
    float legMeasure = 0.0f;    // host units: the saving biped's thigh plus calf length
    std::vector<BpdBone> bones; // at least one
};

// Why a file was refused; each has the text shown to the user (BipFileErrorText).
enum class BipFileError {
    None,
    CantOpen,        // "Can't open file!"
    CantWrite,       // "Can't open file for writting!"
    BadId,           // "Invalid File ID!"
    BadVersion,      // "Invalid File Version!"
    NoFrames,        // "No frames found - Aborting!"
    NoBones,         // "No bones in file? Failure!"
    BadKeyCount,     // a negative key count
    BadHandType,     // "Invalid hand type id - Aborting!"
    NoHandBones,     // "No hand bones in file? Failure!"
    Truncated,       // the file ends inside a record
    BadValue,        // "Invalid key value - Aborting!": a number that is not finite
    TooManyKeys,     // "Too many keys - Aborting!": a load would need more than kBipMaxLoadBytes
};

// The most memory a file may make a load allocate for keys; larger loads are refused first.
constexpr size_t kBipMaxLoadBytes = size_t{1} << 30;  // 1 GB

// Whether every number of the key is finite (a file may hold any bit pattern).
bool BipKeyIsFinite(const ckey& key);
const char* BipFileErrorText(BipFileError error);

// Reads a whole file's bytes; every field is checked before anything is answered, and on a
// refusal `out` is left as it was.
BipFileError ParseBpd(const BipBytes& bytes, BpdFile& out);
// The file's bytes: header, then each bone's slot, key count and keys.
BipBytes SerializeBpd(const BpdFile& file);

// The same through a file of the disk.
BipFileError ReadBpdFile(const char* path, BpdFile& out);
BipFileError WriteBpdFile(const char* path, const BpdFile& file);

// Writes a file bone by bone, so that a caller need not hold every bone's keys at once: the
// header (from the fields of `header`, its bones unused, and boneCount) when made, each bone
// as it is given, and the file put in place by Commit (CantWrite when any of it failed).
class BpdFileWriter {
public:
    BpdFileWriter(const char* path, const BpdFile& header, int boneCount);
    void Bone(int32_t slot, const std::vector<ckey>& keys);
    BipFileError Commit();

private:
    BipFileWriter out_;
};
