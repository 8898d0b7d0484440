// Reads a resource script (standard .rc syntax) into dialog templates and decoded bitmaps.
#pragma once

#include <string>

#include "rc_lexer.h"
#include "rc_template.h"

namespace qv::res {

// Parses `file` (read through `reader`, as are the headers it includes and the bitmap files it
// names). False with "FILE:LINE: message" when the script is malformed; `out` is then empty.
bool ParseResourceScript(const std::string& file, const FileReader& reader, ResourceScript& out,
                         std::string& error);

// Decodes a .bmp file (uncompressed 1, 4, 8, 16, 24 or 32 bits per pixel).
bool DecodeBmp(const std::string& bytes, Bitmap& out, std::string& error);

}  // namespace qv::res
