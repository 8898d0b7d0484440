// Whole-file writes through a temporary file beside the target and a rename over it, so that
// an interrupted or refused write never leaves a file cut short.
#include "qvcore/file_write.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "quorvane/util.h"

namespace fs = std::filesystem;

namespace qv {
namespace {

// Names tried for the temporary file before giving up (another writer may hold one).
constexpr int kMaxTempNameTries = 100;
std::atomic<unsigned> tempCounter{0};

// A new file beside target, opened for writing; null with errno set when none can be made.
FILE* CreateTempBeside(const fs::path& target, fs::path& tempPath) {
    for (int i = 0; i < kMaxTempNameTries; ++i) {
        tempPath = target.parent_path() /
                   ("." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                    std::to_string(tempCounter++) + ".tmp");
        FILE* file = std::fopen(tempPath.c_str(), "wbx");  // x: never an existing file
        if (file || errno != EEXIST) return file;
    }
    return nullptr;
}

// The content reaches the disk before the rename makes it the file's.
bool WriteAndClose(FILE* file, std::string_view bytes, std::string& reason) {
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
              std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
    if (!ok) reason = std::strerror(errno);
    if (std::fclose(file) != 0 && ok) {
        reason = std::strerror(errno);
        ok = false;
    }
    return ok;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string& error) {
    std::error_code ec;
    fs::path target(path);
    // A link stays a link: its target file is the one replaced.
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;
    }
    if (!target.has_filename()) {
        error = "cannot write " + path + ": not a file name";
        return false;
    }
    fs::path temp;
    FILE* file = CreateTempBeside(target, temp);
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string reason;
    bool ok = WriteAndClose(file, bytes, reason);
    if (ok) {
        // A replaced file keeps its permissions.
        fs::file_status old = fs::status(target, ec);
        if (!ec && fs::is_regular_file(old)) fs::permissions(temp, old.permissions(), ec);
        fs::rename(temp, target, ec);
        if (ec) {
            reason = ec.message();
            ok = false;
        }
    }
    if (!ok) {
        fs::remove(temp, ec);
        error = "cannot write " + path + ": " + reason;
    }
    return ok;
}

}  // namespace qv

int WriteWholeFile(const char* path, const void* data, size_t size) {
    if (!path || (!data && size > 0)) return 0;
    std::string error;
    return qv::WriteFileReplacing(path, {static_cast<const char*>(data), size}, error) ? 1 : 0;
}
