// The creation's undo level: the host's item for added nodes keeps the bones while the
// creation is undone, so that redo brings back the very same bones.
#include "Skeleton/BipUndo/BipCreateUndo.h"

#include "Skeleton/BipUndo/BipUndo.h"
#include "quorvane/undo.h"

void RecordBipedCreation(cnode* const* bones, int count) {
    if (count <= 0) return;
    UndoItem* item = NewAddedNodesUndo(bones, count);
    item->SetName(kCreateBipedUndoName);
    item->SetType(kBipUndoType);
    theUndo.BeginGeneric(item);
    theUndo.End();
}
