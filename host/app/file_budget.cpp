// The size budget of a file read whole.
#include "file_budget.h"

#include <filesystem>
#include <system_error>

namespace qvapp {

bool FitsFileBudget(const std::string& path, std::uintmax_t maxBytes, const std::string& what,
                    std::string& error) {
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    if (sizeError || size <= maxBytes) return true;
    error = path + ": " + std::to_string(size >> 20) + " MB is larger than " + what + " may be (" +
            std::to_string(maxBytes >> 20) + " MB)";
    return false;
}

}  // namespace qvapp
