// Texts the host writes into JSON: JSON holds only UTF-8, while a node's name (and any text a
// module shows) is whatever bytes it was given.
#pragma once

#include <string>
#include <string_view>

namespace qvapp {

// UTF-8 text standing for the bytes: a byte that is not part of well-formed UTF-8 is written as
// the four characters \xHH (upper-case hex) and a backslash as \\, so that every byte sequence
// has exactly one escaped form. Well-formed UTF-8 without backslashes is left as it is.
std::string EscapeText(std::string_view bytes);

// The bytes an escaped text stands for. False (bytes unspecified) when a backslash starts
// neither \\ nor \xHH.
bool UnescapeText(std::string_view text, std::string& bytes);

}  // namespace qvapp
