// Whole-file writes for everything the host saves: the new content goes to a temporary file in
// the target's folder, which then takes the target's place in one rename.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Writes bytes as the whole content of the file at path. On failure the file at path is as it
// was (old content, or still absent), no temporary file is left behind, and error names the
// path and the reason.
bool WriteFileReplacing(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace qv
