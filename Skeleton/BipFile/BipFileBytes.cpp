// Opening the binary files for reading, and writing them under a temporary name in the same
// folder that is then renamed into place.
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

}  // namespace

std::FILE* BipOpenForReading(const char* path, size_t& size) {
    std::error_code ec;
    if (!path || !std::filesystem::is_regular_file(path, ec)) return nullptr;
    const auto bytes = std::filesystem::file_size(path, ec);
    if (ec) return nullptr;
    size = static_cast<size_t>(bytes);
    return std::fopen(path, "rb");
}

BipFileWriter::BipFileWriter(const char* path)
    : path_(path ? path : ""), temporary_(TemporaryName(path_.c_str())) {
    if (!path_.empty()) file_ = std::fopen(temporary_.c_str(), "wb");
}

BipFileWriter::~BipFileWriter() {
    if (committed_) return;
    if (file_) std::fclose(file_);
    std::error_code ec;
    std::filesystem::remove(temporary_, ec);
}

int BipFileWriter::Commit() {
    if (!file_ || committed_) return 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed_ || !closed) return 0;
    std::error_code ec;
    std::filesystem::rename(temporary_, path_, ec);
    if (ec) return 0;
    committed_ = true;
    return 1;
}
