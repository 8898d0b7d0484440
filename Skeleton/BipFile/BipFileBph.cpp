// The ".BPH" hand-pose file read from bytes or a file and written to bytes: a 16-byte header
// and 20-byte records, read and written in one block.
#include "Skeleton/BipFile/BipFileBph.h"

#include <cmath>

#include "Skeleton/Bip/BipBones.h"

namespace {

template <class Reader>
BipFileError ParseFrom(Reader& in, BphFile& out) {
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
    if (!in.Take(file.records.data(), file.records.size())) return BipFileError::Truncated;
    for (const BphRecord& r : file.records)
        if (!std::isfinite(r.rot.x) || !std::isfinite(r.rot.y) || !std::isfinite(r.rot.z) ||
            !std::isfinite(r.rot.w))
            return BipFileError::BadValue;
    out = std::move(file);
    return BipFileError::None;
}

}  // namespace

BipFileError ParseBph(const BipBytes& bytes, BphFile& out) {
    BipByteReader in(bytes.data(), bytes.size());
    return ParseFrom(in, out);
}

namespace {

template <class Writer>
void PutFile(Writer& out, const BphFile& file) {
    const int32_t header[] = {kBphMagic, kBphVersion, file.handType,
                              static_cast<int32_t>(file.records.size())};
    out.Put(header, 4);
    out.Put(file.records.data(), file.records.size());
}

}  // namespace

BipBytes SerializeBph(const BphFile& file) {
    BipBytes bytes;
    BipBytesWriter out(bytes);
    PutFile(out, file);
    return bytes;
}

BipFileError ReadBphFile(const char* path, BphFile& out) {
    return BipParseFile(path, BipFileError::CantOpen,
                        [&](BipFileReader& in) { return ParseFrom(in, out); });
}

BipFileError WriteBphFile(const char* path, const BphFile& file) {
    BipFileWriter out(path);
    PutFile(out, file);
    return out.Commit() ? BipFileError::None : BipFileError::CantWrite;
}
