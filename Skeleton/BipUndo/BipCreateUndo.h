// The undo level of a biped's creation: the bones that the hand-over put into the scene.
#pragma once

class cnode;

// Name of the level; undoing it takes the biped's bones out of the scene, redoing puts them back.
inline constexpr const char* kCreateBipedUndoName = "Create Biped";

// Records the hand-over of these bones as one undo level (nothing when there are none).
void RecordBipedCreation(cnode* const* bones, int count);
