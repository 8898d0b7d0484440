// The size budget of a file read whole: checked before a byte of it is read.
#pragma once

#include <cstdint>
#include <string>

namespace qvapp {

// False, with "PATH: N MB is larger than WHAT may be (M MB)" in error, when the file at path is
// larger than maxBytes; true when it fits or its size cannot be learnt (the read then says why).
bool FitsFileBudget(const std::string& path, std::uintmax_t maxBytes, const std::string& what,
                    std::string& error);

}  // namespace qvapp
