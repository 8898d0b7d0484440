// The ".BPD" animation file read from and written to bytes. The key records are host keys
// byte for byte, so each bone's keys are copied in one block.
#include "Skeleton/BipFile/BipFileBpd.h"

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
BipFileError ParseHeader(BipByteReader& in, BpdHeader& h) {
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

BipFileError ParseBone(BipByteReader& in, BpdBone& bone) {
    int32_t count = 0;
    if (!in.Take(&bone.slot) || !in.Take(&count)) return BipFileError::Truncated;
    if (count < 0) return BipFileError::BadKeyCount;
    // Checked against the bytes left before anything is allocated for it.
    if (static_cast<size_t>(count) > in.Left() / kBpdKeySize) return BipFileError::Truncated;
    bone.keys.resize(static_cast<size_t>(count));
    in.Take(bone.keys.data(), bone.keys.size());
    return BipFileError::None;
}

}  // namespace

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
    }
    return "";
}

BipFileError ParseBpd(const BipBytes& bytes, BpdFile& out) {
    BipByteReader in(bytes.data(), bytes.size());
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

BipBytes SerializeBpd(const BpdFile& file) {
    size_t size = kBpdHeaderSize;
    for (const BpdBone& b : file.bones) size += 8 + b.keys.size() * kBpdKeySize;
    BipBytes out;
    out.reserve(size);
    const BpdHeader h{kBpdMagic, kBpdVersion, file.frameCount, file.fps, file.startFrame,
                      file.legMeasure, static_cast<int32_t>(file.bones.size())};
    BipPut(out, &h);
    for (const BpdBone& b : file.bones) {
        BipPutValue(out, b.slot);
        BipPutValue(out, static_cast<int32_t>(b.keys.size()));
        BipPut(out, b.keys.data(), b.keys.size());
    }
    return out;
}

BipFileError ReadBpdFile(const char* path, BpdFile& out) {
    BipBytes bytes;
    if (!BipReadWholeFile(path, bytes)) return BipFileError::CantOpen;
    return ParseBpd(bytes, out);
}

BipFileError WriteBpdFile(const char* path, const BpdFile& file) {
    return BipWriteWholeFile(path, SerializeBpd(file)) ? BipFileError::None
                                                       : BipFileError::CantWrite;
}
