// Fuzz entry: a resource script read as the platform layer reads a module's; the script may
// include itself or name other files, which do not exist.
#include <cstdlib>

#include "fuzz_entries.h"
#include "rc_parser.h"

namespace qvfuzz {

void ResourceScript(std::string_view bytes) {
    const std::string kName = "fuzz.rc";
    const std::string text(bytes);
    const qv::res::FileReader reader = [&](const std::string& name, std::string& contents) {
        if (name != kName) return false;
        contents = text;
        return true;
    };
    qv::res::ResourceScript out;
    std::string error;
    if (!qv::res::ParseResourceScript(kName, reader, out, error) && error.empty()) std::abort();
}

}  // namespace qvfuzz
