// The ".BPD" animation file read from bytes or a file and written to bytes or a file. The key
// records are host keys byte for byte, so each bone's keys are read and written in one block.
#include "Skeleton/BipFile/BipFileBpd.h"

#include <cmath>

namespace {

struct BpdHeader {
    int32_t magic;
    int32_t version;
    int32_t frameCount;
    int32_t fps;
    int32_t startFrame;
    float legMeasure;
    int32_t boneCount;
};
static_assert(sizeof(BpdHeader) == kBpdHeaderSize, "the header has no padding");

// The header's checks, in the order a load makes them.
template <class Reader>
BipFileError ParseHeader(Reader& in, BpdHeader& h) {
    if (!in.Take(&h.magic)) return BipFileError::Truncated;
    if (h.magic != kBpdMagic) return BipFileError::BadId;
    if (!in.Take(&h.version)) return BipFileError::Truncated;
    if (h.version != kBpdVersion) return BipFileError::BadVersion;
    if (!in.Take(&h.frameCount) || !in.Take(&h.fps) || !in.Take(&h.startFrame))
        return BipFileError::Truncated;
    if (h.frameCount < 1) return BipFileError::NoFrames;
    if (!in.Take(&h.legMeasure) || !in.Take(&h.boneCount)) return BipFileError::Truncated;
    if (h.boneCount < 1) return BipFileError::NoBones;
    return BipFileError::None;
}

template <class Reader>
BipFileError ParseBone(Reader& in, BpdBone& bone) {
    int32_t count = 0;
    if (!in.Take(&bone.slot) || !in.Take(&count)) return BipFileError::Truncated;
    if (count < 0) return BipFileError::BadKeyCount;
    // Checked against the bytes left before anything is allocated for it.
    if (static_cast<size_t>(count) > in.Left() / kBpdKeySize) return BipFileError::Truncated;
    bone.keys.resize(static_cast<size_t>(count));
    if (!in.Take(bone.keys.data(), bone.keys.size())) return BipFileError::Truncated;
    for (const ckey& k : bone.keys)
        if (!BipKeyIsFinite(k)) return BipFileError::BadValue;
    return BipFileError::None;
}

// Header and records, each checked as it is read; `out` is set only when all of them pass.
template <class Reader>
BipFileError ParseFrom(Reader& in, BpdFile& out) {
    BpdHeader h{};
    if (BipFileError e = ParseHeader(in, h); e != BipFileError::None) return e;
    // Each record takes at least 8 bytes, which bounds what a lying count can allocate.
    if (static_cast<size_t>(h.boneCount) > in.Left() / 8) return BipFileError::Truncated;
    BpdFile file;
    file.frameCount = h.frameCount;
    file.fps = h.fps;
    file.startFrame = h.startFrame;
    file.legMeasure = h.legMeasure;
    file.bones.resize(static_cast<size_t>(h.boneCount));
    for (BpdBone& bone : file.bones)
        if (BipFileError e = ParseBone(in, bone); e != BipFileError::None) return e;
    out = std::move(file);
    return BipFileError::None;
}

// The layout of the header and of one bone record, to bytes in memory or to a file.
template <class Writer>
void PutHeader(Writer& out, const BpdFile& f, int32_t boneCount) {
    const BpdHeader h{kBpdMagic, kBpdVersion, f.frameCount, f.fps, f.startFrame, f.legMeasure,
                      boneCount};
    out.Put(&h);
}
template <class Writer>
void PutBone(Writer& out, int32_t slot, const std::vector<ckey>& keys) {
    const int32_t head[] = {slot, static_cast<int32_t>(keys.size())};
    out.Put(head, 2);
    out.Put(keys.data(), keys.size());
}

}  // namespace

bool BipKeyIsFinite(const ckey& k) {
    const float values[] = {k.pos.x, k.pos.y, k.pos.z, k.rot.x, k.rot.y, k.rot.z, k.rot.w,
                            k.scale.x, k.scale.y, k.scale.z};
    for (float v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

const char* BipFileErrorText(BipFileError error) {
    switch (error) {
    case BipFileError::None: return "";
    case BipFileError::CantOpen: return "Can't open file!";
    case BipFileError::CantWrite: return "Can't open file for writting!";
    case BipFileError::BadId: return "Invalid File ID!";
    case BipFileError::BadVersion: return "Invalid File Version!";
    case BipFileError::NoFrames: return "No frames found - Aborting!";
    case BipFileError::NoBones: return "No bones in file? Failure!";
    case BipFileError::BadKeyCount: return "Invalid key count - Aborting!";
    case BipFileError::BadHandType: return "Invalid hand type id - Aborting!";
    case BipFileError::NoHandBones: return "No hand bones in file? Failure!";
    case BipFileError::Truncated: return "File ends too early - Aborting!";
    case BipFileError::BadValue: return "Invalid key value - Aborting!";
    case BipFileError::TooManyKeys: return "Too many keys - Aborting!";
    }
    return "";
}

BipFileError ParseBpd(const BipBytes& bytes, BpdFile& out) {
    BipByteReader in(bytes.data(), bytes.size());
    return ParseFrom(in, out);
}

BipBytes SerializeBpd(const BpdFile& file) {
    BipBytes bytes;
    BipBytesWriter out(bytes);
    PutHeader(out, file, static_cast<int32_t>(file.bones.size()));
    for (const BpdBone& b : file.bones) PutBone(out, b.slot, b.keys);
    return bytes;
}

// Read straight from the file into each bone's keys: no copy of the whole file is made.
BipFileError ReadBpdFile(const char* path, BpdFile& out) {
    return BipParseFile(path, BipFileError::CantOpen,
                        [&](BipFileReader& in) { return ParseFrom(in, out); });
}

BipFileError WriteBpdFile(const char* path, const BpdFile& file) {
    BpdFileWriter out(path, file, static_cast<int>(file.bones.size()));
    for (const BpdBone& b : file.bones) out.Bone(b.slot, b.keys);
    return out.Commit();
}

BpdFileWriter::BpdFileWriter(const char* path, const BpdFile& header, int boneCount)
    : out_(path) {
    PutHeader(out_, header, boneCount);
}

void BpdFileWriter::Bone(int32_t slot, const std::vector<ckey>& keys) { PutBone(out_, slot, keys); }

BipFileError BpdFileWriter::Commit() {
    return out_.Commit() ? BipFileError::None : BipFileError::CantWrite;
}
