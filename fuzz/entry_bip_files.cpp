// Fuzz entries: .BPD and .BPH bytes through their parsers; what a parser accepts must write
// back to the same bytes (the formats are fixed records with nothing left over to lose).
#include <cstdlib>

#include "Skeleton/BipFile/BipFileBph.h"
#include "fuzz_entries.h"

namespace qvfuzz {
namespace {

BipBytes Bytes(std::string_view s) { return BipBytes(s.begin(), s.end()); }

}  // namespace

void BpdFile(std::string_view bytes) {
    ::BpdFile file;
    if (ParseBpd(Bytes(bytes), file) != BipFileError::None) return;
    const BipBytes again = SerializeBpd(file);
    // A file may carry bytes after its last record; the records themselves come back whole.
    if (again.size() > bytes.size() || std::string_view(reinterpret_cast<const char*>(again.data()),
                                                        again.size()) != bytes.substr(0, again.size()))
        std::abort();
}

void BphFile(std::string_view bytes) {
    ::BphFile file;
    if (ParseBph(Bytes(bytes), file) != BipFileError::None) return;
    ::BphFile again;
    if (ParseBph(SerializeBph(file), again) != BipFileError::None) std::abort();
    if (again.handType != file.handType || again.records.size() != file.records.size()) std::abort();
}

}  // namespace qvfuzz
