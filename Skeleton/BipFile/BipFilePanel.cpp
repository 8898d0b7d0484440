// The modify panel's file buttons (.BPD, .BPH and BVH): the file-name dialog, the wait cursor
// while the file is read or written, and the undo record around a load, handed to the host only
// when the load changed the biped.
#include "Skeleton/BipFile/BipFilePanel.h"

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/Posing/BipKeys.h"
#include "Skeleton/BipFile/BipFileNames.h"
#include "Skeleton/BipUndo/BipUndo.h"
#include "quorvane/interface.h"
#include "resources/resource.h"

namespace {

constexpr char kLoadFileUndo[] = "Biped Load File";
constexpr char kLoadHandFileUndo[] = "Biped Load Hand File";
constexpr char kLoadBvhFileUndo[] = "Biped Load BVH File";

// Shows the wait cursor while it lives.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

void SaveFile(cbipanim& tool, BipFileKind kind, int (cbipanim::*save)(char*)) {
    char path[kPathSize] = "";
    if (!AskFileName(kind, path)) return;
    WaitCursor wait;
    (tool.*save)(path);
}

// The undo record copies every track before the load; it becomes the load's undo step.
void LoadFile(cbipanim& tool, BipFileKind kind, int (cbipanim::*load)(char*),
              const char* undoName) {
    char path[kPathSize] = "";
    if (!AskFileName(kind, path)) return;
    BipAnimUndo* undo = NewBipAnimUndo(undoName, tool.bones, kNumSlots);
    WaitCursor wait;
    if (!(tool.*load)(path)) {
        if (undo) undo->Delete();
        return;
    }
    RefreshViews();
    theUndo.BeginGeneric(undo);
}

}  // namespace

int FileCommand(cbipanim& tool, int id) {
    switch (id) {
    case IDC_PANEL_LOAD:
        LoadFile(tool, BipFileKind::AnimationLoad, &cbipanim::Load, kLoadFileUndo);
        return 1;
    case IDC_PANEL_SAVE:
        SaveFile(tool, BipFileKind::AnimationSave, &cbipanim::Save);
        return 1;
    case IDC_PANEL_HAND_LOAD:
        LoadFile(tool, BipFileKind::HandLoad, &cbipanim::LoadHand, kLoadHandFileUndo);
        return 1;
    case IDC_PANEL_HAND_SAVE:
        SaveFile(tool, BipFileKind::HandSave, &cbipanim::SaveHand);
        return 1;
    case IDC_PANEL_LOAD_BVH:
        LoadFile(tool, BipFileKind::BvhLoad, &cbipanim::LoadBVH, kLoadBvhFileUndo);
        return 1;
    case IDC_PANEL_SAVE_BVH:  // hidden in the panel; host automation presses it by its id
        SaveFile(tool, BipFileKind::BvhSave, &cbipanim::SaveBVH);
        return 1;
    default:
        return 0;
    }
}
