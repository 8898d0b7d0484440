// The ".BPH" hand-pose file read from and written to bytes: a 16-byte header and 20-byte
// records, copied in one block.
#include "Skeleton/BipFile/BipFileBph.h"

#include "Skeleton/Bip/BipBones.h"

BipFileError ParseBph(const BipBytes& bytes, BphFile& out) {
    BipByteReader in(bytes.data(), bytes.size());
    int32_t magic = 0, version = 0, hand = 0, count = 0;
    if (!in.Take(&magic)) return BipFileError::Truncated;
    if (magic != kBphMagic) return BipFileError::BadId;
    if (!in.Take(&version)) return BipFileError::Truncated;
    if (version != kBphVersion) return BipFileError::BadVersion;
    if (!in.Take(&hand)) return BipFileError::Truncated;
    if (hand != kSlotRHand && hand != kSlotLHand) return BipFileError::BadHandType;
    if (!in.Take(&count)) return BipFileError::Truncated;
    if (count < 1) return BipFileError::NoHandBones;
    // The header's count decides how many records are read; the file must hold them all.
    if (static_cast<size_t>(count) > in.Left() / kBphRecordSize) return BipFileError::Truncated;
    BphFile file;
    file.handType = hand;
    file.records.resize(static_cast<size_t>(count));
    in.Take(file.records.data(), file.records.size());
    out = std::move(file);
    return BipFileError::None;
}

BipBytes SerializeBph(const BphFile& file) {
    BipBytes out;
    out.reserve(kBphHeaderSize + file.records.size() * kBphRecordSize);
    const int32_t header[] = {kBphMagic, kBphVersion, file.handType,
                              static_cast<int32_t>(file.records.size())};
    BipPut(out, header, 4);
    BipPut(out, file.records.data(), file.records.size());
    return out;
}

BipFileError ReadBphFile(const char* path, BphFile& out) {
    BipBytes bytes;
    if (!BipReadWholeFile(path, bytes)) return BipFileError::CantOpen;
    return ParseBph(bytes, out);
}

BipFileError WriteBphFile(const char* path, const BphFile& file) {
    return BipWriteWholeFile(path, SerializeBph(file)) ? BipFileError::None
                                                       : BipFileError::CantWrite;
}
