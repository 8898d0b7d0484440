// The software OpenGL library (Mesa's OSMesa), opened on first use.
#pragma once

namespace qv::gl {

// The library's function of that name; null when the library or the name is missing (the
// reason is printed on standard error once).
void* LibrarySymbol(const char* name);

}  // namespace qv::gl
