// Loading a module (a shared library): its five exports, its start routine, its embedded
// resources and the class objects it offers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "quorvane/classes.h"

namespace qvapp {

struct ModuleClass {
    cclassinterface* object = nullptr;
    int libType = 0;  // QV_LIBTYPE_CREATE or QV_LIBTYPE_MODIFY
};

struct Module {
    std::string path;
    void* handle = nullptr;  // the dlopen handle, also the module's HINSTANCE
    int stdLib = 0;
    std::vector<ModuleClass> classes;
};

// Loads the module at path; null with error set when it cannot be opened, an export or the
// start routine is missing, LibVersion is not QV_LIB_VERSION or its resources do not register.
// A module is loaded once per process and kept until exit (its class objects are static).
std::shared_ptr<Module> LoadModule(const std::string& path, std::string& error);

// The module the program loads when none is named: biped.so beside the executable, else in
// the build tree the program was built in.
std::string DefaultModulePath();

}  // namespace qvapp
