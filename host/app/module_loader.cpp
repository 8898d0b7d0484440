// dlopen-based module loading: exports, start routine, resources, class objects.
#include "module_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <map>
#include <system_error>

#include "qvplatform/resources.h"

#ifndef QV_DEFAULT_MODULE_DIR
#define QV_DEFAULT_MODULE_DIR "."
#endif

namespace qvapp {
namespace {

constexpr const char* kDefaultModuleFile = "biped.so";

using DllMainProc = BOOL (*)(HINSTANCE, DWORD, LPVOID);

struct Exports {
    LibTypeProc libType = nullptr;
    LibNumberClassesProc numberClasses = nullptr;
    LibClassDescProc classDesc = nullptr;
    LibVersionProc version = nullptr;
    StdLibProc stdLib = nullptr;
    DllMainProc dllMain = nullptr;
};

template <typename F>
bool Find(void* handle, const char* name, F& out, std::string& missing) {
    out = reinterpret_cast<F>(dlsym(handle, name));
    if (!out) missing += missing.empty() ? name : std::string(", ") + name;
    return out != nullptr;
}

bool FindExports(void* handle, Exports& ex, std::string& error) {
    std::string missing;
    Find(handle, "LibType", ex.libType, missing);
    Find(handle, "LibNumberClasses", ex.numberClasses, missing);
    Find(handle, "LibClassDesc", ex.classDesc, missing);
    Find(handle, "LibVersion", ex.version, missing);
    Find(handle, "StdLib", ex.stdLib, missing);
    Find(handle, "DllMain", ex.dllMain, missing);
    if (!missing.empty()) error = "missing export(s): " + missing;
    return missing.empty();
}

// The module's resource blob, as the build embedded it; a module without one has no dialogs.
bool RegisterResources(void* handle, std::string& error) {
    auto hinst = static_cast<HINSTANCE>(handle);
    if (qv::res::IsRegistered(hinst)) return true;
    auto blob = static_cast<const unsigned char*>(dlsym(handle, qv::res::kBlobSymbol));
    auto size = static_cast<const size_t*>(dlsym(handle, qv::res::kBlobSizeSymbol));
    if (!blob || !size) return true;
    std::string why;
    if (!qv::res::RegisterModule(hinst, blob, *size, why)) {
        error = "its resources cannot be read: " + why;
        return false;
    }
    return true;
}

// Modules stay loaded for the life of the process: their class objects are static objects of
// the library, which the tools keep pointers to.
std::map<std::string, std::shared_ptr<Module>>& Loaded() {
    static auto* loaded = new std::map<std::string, std::shared_ptr<Module>>();
    return *loaded;
}

}  // namespace

std::shared_ptr<Module> LoadModule(const std::string& path, std::string& error) {
    std::error_code ec;
    std::string key = std::filesystem::weakly_canonical(path, ec).string();
    if (ec) key = path;
    if (auto it = Loaded().find(key); it != Loaded().end()) return it->second;

    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = "cannot load module " + path + ": " + (why ? why : "unknown error");
        return nullptr;
    }
    Exports ex;
    std::string why;
    if (!FindExports(handle, ex, why)) {
        error = "module " + path + " refused: " + why;
        return nullptr;  // the library stays mapped: harmless, and its code may be in use
    }
    if (int v = ex.version(); v != QV_LIB_VERSION) {
        error = "module " + path + " refused: LibVersion is " + std::to_string(v) +
                ", the host needs " + std::to_string(QV_LIB_VERSION);
        return nullptr;
    }
    if (!RegisterResources(handle, why)) {
        error = "module " + path + " refused: " + why;
        return nullptr;
    }
    ex.dllMain(static_cast<HINSTANCE>(handle), DLL_PROCESS_ATTACH, nullptr);

    auto module = std::make_shared<Module>();
    module->path = path;
    module->handle = handle;
    module->stdLib = ex.stdLib();
    int n = ex.numberClasses();
    for (int i = 0; i < n; ++i) {
        if (cclassinterface* object = ex.classDesc(i))
            module->classes.push_back({object, ex.libType(i)});
    }
    Loaded()[key] = module;
    return module;
}

std::string DefaultModulePath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        auto beside = exe.parent_path() / kDefaultModuleFile;
        if (std::filesystem::exists(beside, ec)) return beside.string();
    }
    return (std::filesystem::path(QV_DEFAULT_MODULE_DIR) / kDefaultModuleFile).string();
}

}  // namespace qvapp
