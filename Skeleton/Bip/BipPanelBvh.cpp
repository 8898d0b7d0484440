// The File group's BVH commands: "Load BVH" asks for a file and loads it as one undo step
// ("Biped Load BVH File"); the hidden "Save BVH" asks for a name and writes the biped's pose.
#include <cstring>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipPanel.h"
#include "Skeleton/BipUndo/BipUndo.h"
#include "quorvane/interface.h"
#include "quorvane/undo.h"
#include "resources/resource.h"

namespace {

constexpr int kPathSize = 256;  // characters of a chosen path, terminator included
const char kFilter[] = "BVH Files (*.BVH)\0*.BVH\0All Files (*.*)\0*.*\0";
const char kExtension[] = "BVH";
const char kLoadTitle[] = "Load BVH Animation";
const char kSaveTitle[] = "Save BVH Animation";
const char kLoadUndoName[] = "Biped Load BVH File";

// A path from the open or save dialog; 0 when the dialog was cancelled or the name is empty.
// A name without any "." gets ".BVH".
int AskBvhPath(char (&path)[kPathSize], bool save) {
    char title[kPathSize] = {};
    path[0] = '\0';
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = kPathSize;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = kPathSize;
    ofn.lpstrTitle = save ? kSaveTitle : kLoadTitle;
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    ofn.lpstrDefExt = kExtension;
    if (!(save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn)) || path[0] == '\0') return 0;
    if (!std::strchr(path, '.')) {
        if (std::strlen(path) + 1 + sizeof kExtension > kPathSize) return 0;
        std::strcat(path, ".");
        std::strcat(path, kExtension);
    }
    return 1;
}

// The wait cursor while a file is read or written; the previous cursor comes back after.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

// The undo record copies every track before the load; it is kept only when the load happened.
void LoadBvhCommand(cbipanim& tool) {
    char path[kPathSize];
    if (!AskBvhPath(path, false)) return;
    BipAnimUndo* undo = NewBipAnimUndo(kLoadUndoName, tool.bones, kNumSlots);
    WaitCursor wait;
    if (tool.LoadBVH(path)) {
        Interface::UpdateAnimBar();
        Interface::UpdateViews();
        theUndo.BeginGeneric(undo);
    } else if (undo) {
        undo->Delete();
    }
}

void SaveBvhCommand(cbipanim& tool) {
    char path[kPathSize];
    if (!AskBvhPath(path, true)) return;
    WaitCursor wait;
    tool.SaveBVH(path);
}

}  // namespace

int BvhFileCommand(cbipanim& tool, int id) {
    if (id == IDC_PANEL_LOAD_BVH) LoadBvhCommand(tool);
    else if (id == IDC_PANEL_SAVE_BVH) SaveBvhCommand(tool);
    else return 0;
    return 1;
}
