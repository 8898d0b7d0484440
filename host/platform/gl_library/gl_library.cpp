// Opens the software OpenGL library the first time an OpenGL entry point is called, so that
// starting the program costs nothing for it.
#include "gl_library.h"

#include <dlfcn.h>

#include <cstdio>

namespace qv::gl {

namespace {

// The library by its versioned name (the runtime package), then by the development link.
constexpr const char* kLibraryNames[] = {"libOSMesa.so.8", "libOSMesa.so"};

void* OpenLibrary() {
    for (const char* name : kLibraryNames)
        if (void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL)) return handle;
    const char* why = dlerror();
    std::fprintf(stderr, "cannot load the software OpenGL library (%s): %s\n", kLibraryNames[0],
                 why ? why : "not found");
    return nullptr;
}

}  // namespace

void* LibrarySymbol(const char* name) {
    static void* const library = OpenLibrary();  // once, even when it fails
    return library ? dlsym(library, name) : nullptr;
}

}  // namespace qv::gl
