// Module resources: reading the embedded blob (the script, its headers and its files, packed by
// the build) or a script on disk, and looking dialogs and bitmaps up by module handle.
//
// Blob layout: the line "QVRES1", then per file: its name on one line, its size in bytes (decimal)
// on the next, then exactly that many bytes. The first file is the resource script.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "qvplatform/resources.h"
#include "rc_parser.h"
#include "resource_registry.h"

namespace qv::res {
namespace {

constexpr const char* kBlobMagic = "QVRES1";

struct Module {
    ResourceScript script;
};

std::map<HINSTANCE, std::shared_ptr<const Module>>& Registry() {
    static std::map<HINSTANCE, std::shared_ptr<const Module>> registry;
    return registry;
}

std::shared_ptr<const Module> Find(HINSTANCE module) {
    auto it = Registry().find(module);
    return it == Registry().end() ? nullptr : it->second;
}

bool ReadLine(const unsigned char* blob, size_t size, size_t& at, std::string& line) {
    line.clear();
    while (at < size && blob[at] != '\n') line += static_cast<char>(blob[at++]);
    if (at >= size) return false;
    ++at;
    return true;
}

// Splits a blob into its files; the script's name comes first in `order`.
bool Unpack(const unsigned char* blob, size_t size, std::map<std::string, std::string>& files,
            std::string& script, std::string& error) {
    size_t at = 0;
    std::string line;
    if (!blob || !ReadLine(blob, size, at, line) || line != kBlobMagic) {
        error = "resource blob is empty or not a resource blob";
        return false;
    }
    while (at < size) {
        std::string name, length;
        if (!ReadLine(blob, size, at, name) || !ReadLine(blob, size, at, length) ||
            length.empty() || length.find_first_not_of("0123456789") != std::string::npos) {
            error = "resource blob damaged after " + std::to_string(files.size()) + " files";
            return false;
        }
        size_t n = std::stoull(length);
        if (n > size - at) {
            error = "resource blob truncated in " + name;
            return false;
        }
        files[name].assign(reinterpret_cast<const char*>(blob + at), n);
        if (script.empty()) script = name;
        at += n;
    }
    if (script.empty()) {
        error = "resource blob holds no script";
        return false;
    }
    return true;
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Install(HINSTANCE module, const std::string& scriptName, const FileReader& reader,
             std::string& error) {
    auto m = std::make_shared<Module>();
    if (!ParseResourceScript(scriptName, reader, m->script, error)) return false;
    Registry()[module] = std::move(m);
    return true;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

template <class T>
const T* FindIn(const std::vector<T>& list, LPCSTR name) {
    if (!name) return nullptr;
    for (const T& item : list) {
        if (IS_INTRESOURCE(name) ? (item.name.empty() &&
                                    item.id == static_cast<int>(reinterpret_cast<uintptr_t>(name)))
                                 : SameName(item.name, name) ||
                                       (item.name.empty() && name[0] == '#' &&
                                        std::to_string(item.id) == name + 1))
            return &item;
    }
    return nullptr;
}

}  // namespace

bool RegisterModule(HINSTANCE module, const unsigned char* blob, size_t size, std::string& error) {
    std::map<std::string, std::string> files;
    std::string script;
    if (!Unpack(blob, size, files, script, error)) return false;
    // Names in the script are matched as packed, else by their last path component.
    FileReader reader = [&files](const std::string& name, std::string& contents) {
        auto it = files.find(name);
        if (it == files.end()) {
            for (auto f = files.begin(); f != files.end(); ++f)
                if (BaseName(f->first) == BaseName(name)) it = f;
        }
        if (it == files.end()) return false;
        contents = it->second;
        return true;
    };
    return Install(module, script, reader, error);
}

bool RegisterModuleFile(HINSTANCE module, const std::string& rcPath, std::string& error) {
    namespace fs = std::filesystem;
    fs::path dir = fs::path(rcPath).parent_path();
    FileReader reader = [&](const std::string& name, std::string& contents) {
        fs::path p = name == rcPath || fs::path(name).is_absolute() ? fs::path(name) : dir / name;
        std::ifstream in(p, std::ios::binary);
        if (!in) return false;
        std::ostringstream s;
        s << in.rdbuf();
        contents = s.str();
        return true;
    };
    return Install(module, rcPath, reader, error);
}

void UnregisterModule(HINSTANCE module) {
    Registry().erase(module);
}

bool IsRegistered(HINSTANCE module) {
    return Registry().count(module) > 0;
}

std::vector<int> DialogIds(HINSTANCE module) {
    std::vector<int> ids;
    if (auto m = Find(module))
        for (const DialogTemplate& d : m->script.dialogs)
            if (d.name.empty()) ids.push_back(d.id);
    return ids;
}

std::string DialogSymbol(HINSTANCE module, int dialogId) {
    constexpr const char* kDialogPrefix = "IDD_";  // other symbols may share the number
    if (auto m = Find(module))
        for (const auto& [symbol, value] : m->script.symbols)
            if (value == dialogId && symbol.rfind(kDialogPrefix, 0) == 0) return symbol;
    return "";
}

const DialogTemplate* FindDialog(HINSTANCE module, LPCSTR name) {
    auto m = Find(module);
    return m ? FindIn(m->script.dialogs, name) : nullptr;
}

const BitmapResource* FindBitmap(HINSTANCE module, LPCSTR name) {
    auto m = Find(module);
    return m ? FindIn(m->script.bitmaps, name) : nullptr;
}

std::string ResourceName(LPCSTR name) {
    if (!name) return "(null)";
    if (IS_INTRESOURCE(name)) return std::to_string(reinterpret_cast<uintptr_t>(name));
    return name;
}

}  // namespace qv::res
