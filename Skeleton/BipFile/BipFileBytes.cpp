// Whole-file reads and writes of the binary files: read at once, written under a temporary
// name in the same folder and renamed into place.
#include "Skeleton/BipFile/BipFileBytes.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

// The temporary name: the path with a suffix of its own, so that it lies in the same folder
// (a rename within one file system replaces the target in one step).
std::string TemporaryName(const char* path) {
    return std::string(path) + ".part" + std::to_string(static_cast<long>(getpid()));
}

int WriteAll(const std::string& name, const BipBytes& bytes) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return 0;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    return written && closed ? 1 : 0;
}

}  // namespace

int BipReadWholeFile(const char* path, BipBytes& out) {
    std::error_code ec;
    if (!path || !std::filesystem::is_regular_file(path, ec)) return 0;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    const auto size = std::filesystem::file_size(path, ec);
    out.resize(ec ? 0 : size);
    const size_t read = out.empty() ? 0 : std::fread(out.data(), 1, out.size(), f);
    out.resize(read);  // a file that shrank meanwhile is what was read of it
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return failed ? 0 : 1;
}

int BipWriteWholeFile(const char* path, const BipBytes& bytes) {
    if (!path || !*path) return 0;
    const std::string temporary = TemporaryName(path);
    std::error_code ec;
    if (!WriteAll(temporary, bytes)) {
        std::filesystem::remove(temporary, ec);
        return 0;
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return 0;
    }
    return 1;
}
