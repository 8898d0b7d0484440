// The common file dialogs: the driver names a file (or cancels); an open dialog insists on an
// existing file when asked to, a save dialog asks before replacing one when asked to, and both
// check the folder when asked to.
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "ui_internal.h"

namespace {

namespace fs = std::filesystem;

// Copies the chosen path into the caller's record; false when it does not fit the buffer.
bool Deliver(LPOPENFILENAMEA ofn, const std::string& path) {
    if (!ofn->lpstrFile || path.size() + 1 > ofn->nMaxFile) return false;
    std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
    size_t slash = path.find_last_of("/\\");
    size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.find_last_of('.');
    ofn->nFileOffset = static_cast<WORD>(nameAt);
    ofn->nFileExtension =
        static_cast<WORD>(dot == std::string::npos || dot < nameAt ? path.size() : dot + 1);
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
        std::string name = path.substr(nameAt);
        size_t n = std::min<size_t>(name.size(), ofn->nMaxFileTitle - 1);
        std::memcpy(ofn->lpstrFileTitle, name.data(), n);
        ofn->lpstrFileTitle[n] = '\0';
    }
    return true;
}

BOOL RunFileDialog(LPOPENFILENAMEA ofn, bool save) {
    using namespace qv::ui;
    if (!ofn) return FALSE;
    std::string title = ofn->lpstrTitle ? ofn->lpstrTitle : (save ? "Save As" : "Open");
    for (;;) {
        Modal modal;
        modal.kind = Modal::Kind::FileDialog;
        modal.title = title;
        Action action;
        Driver* driver = GetDriver();
        if (!driver || !driver->NextAction(modal, action)) {
            RecordError("file dialog \"" + title + "\" left open");
            return FALSE;
        }
        std::string prefix = action.where.empty() ? "" : action.where + ": ";
        if (action.kind == Action::Kind::FileCancel) return FALSE;
        if (action.kind != Action::Kind::File) {
            RecordError(prefix + "file dialog \"" + title + "\" needs a file or cancel");
            return FALSE;
        }
        const std::string& path = action.text;
        if (path.empty()) return FALSE;
        std::error_code ec;
        fs::path folder = fs::path(path).parent_path();
        if ((ofn->Flags & OFN_PATHMUSTEXIST) && !folder.empty() && !fs::is_directory(folder, ec)) {
            LogMessage(title, path + "\nPath does not exist.");
            continue;  // the dialog stays open: ask again
        }
        if (!save && (ofn->Flags & OFN_FILEMUSTEXIST) && !fs::is_regular_file(path, ec)) {
            LogMessage(title, path + "\nFile not found.");
            continue;
        }
        if (save && (ofn->Flags & OFN_OVERWRITEPROMPT) && fs::is_regular_file(path, ec) &&
            MessageBoxA(nullptr, (path + " already exists.\nDo you want to replace it?").c_str(),
                        title.c_str(), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            continue;  // not to be replaced: ask again
        if (!Deliver(ofn, path)) {
            RecordError(prefix + "path \"" + path + "\" does not fit the buffer of file dialog \"" +
                        title + "\"");
            return FALSE;
        }
        return TRUE;
    }
}

}  // namespace

extern "C" BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) {
    return RunFileDialog(ofn, false);
}

extern "C" BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn) {
    return RunFileDialog(ofn, true);
}
