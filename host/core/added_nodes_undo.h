// The core's undo item for nodes a level added to the scene: the undo manager asks it to put
// its nodes back on redo, which a key-track snapshot cannot do.
#pragma once

class UndoItem;

namespace qv::detail {

// Puts the nodes of an added-nodes item back into the scene; any other item is left alone.
void RedoAddedNodes(UndoItem* item);

}  // namespace qv::detail
