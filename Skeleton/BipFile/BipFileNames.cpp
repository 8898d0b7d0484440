// The common file dialogs of the panel's file commands. Open dialogs need an existing file;
// save dialogs ask before replacing one. A name without any "." gets the type's extension.
#include "Skeleton/BipFile/BipFileNames.h"

#include <cstring>

#include <windows.h>

namespace {

struct FileDialog {
    int save;
    const char* title;
    const char* filter;     // pairs of description and pattern, ending in an empty string
    const char* extension;  // appended to a name that has no "."
};

constexpr char kBpdFilter[] = "Biped Files (*.BPD)\0*.BPD\0All Files (*.*)\0*.*\0";
constexpr char kBphFilter[] =
    "Biped Hand Pose Files (*.BPH)\0*.BPH\0All Files (*.*)\0*.*\0";
constexpr char kBvhFilter[] = "BVH Files (*.BVH)\0*.BVH\0All Files (*.*)\0*.*\0";

const FileDialog& DialogOf(BipFileKind kind) {
    static const FileDialog kDialogs[] = {
        {0, "Load Biped Animation", kBpdFilter, "BPD"},
        {1, "Save Biped Animation", kBpdFilter, "BPD"},
        {0, "Load Biped Hand Pose", kBphFilter, "BPH"},
        {1, "Save Biped Hand Pose", kBphFilter, "BPH"},
        {0, "Load BVH Animation", kBvhFilter, "BVH"},
        {1, "Save BVH Animation", kBvhFilter, "BVH"},
    };
    return kDialogs[static_cast<int>(kind)];
}

constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

}  // namespace

int AskFileName(BipFileKind kind, char* path) {
    const FileDialog& d = DialogOf(kind);
    char file[kPathSize] = "";
    char title[kPathSize] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = d.filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kPathSize;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = kPathSize;
    ofn.lpstrTitle = d.title;
    ofn.lpstrDefExt = d.extension;
    ofn.Flags = d.save ? kSaveFlags : kOpenFlags;
    const BOOL chosen = d.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!chosen || file[0] == '\0') return 0;
    if (!std::strchr(file, '.')) {
        // "." and three letters; a name too long to take them is refused.
        if (std::strlen(file) + 1 + std::strlen(d.extension) >= kPathSize) return 0;
        std::strcat(file, ".");
        std::strcat(file, d.extension);
    }
    std::strcpy(path, file);
    return 1;
}
