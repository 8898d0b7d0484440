// Undo items and the host's undo manager `theUndo`.
#pragma once

#include "quorvane/api.h"

// Level type of the host's selection changes.
enum : int { QV_UNDO_SELECTION = 11 };

// One undoable change. The host owns an item once it is handed to BeginGeneric.
class QVAPI UndoItem {
public:
    UndoItem();
    virtual ~UndoItem();              // slot 0
    virtual int Restore();            // slot 1: put the saved state back; 1 when done
    virtual void FreeData();          // slot 2: drop the saved state
    virtual void Delete();            // slot 3: discard the item (default: delete this)
    virtual int HasData();            // slot 4: 1 when the item holds state

    // The name is kept as a pointer: callers pass texts that outlive the item.
    void SetName(const char* name) { name_ = name; }
    const char* GetName() const { return name_; }
    void SetType(int type) { type_ = type; }
    int GetType() const { return type_; }
    void SetTime(int time) { time_ = time; }
    int GetTime() const { return time_; }

private:
    const char* name_ = "";
    int type_ = 0;
    int time_ = 0;
};

class UndoLevelState;  // host side: items and redo snapshot of one level
class cnode;

// The host's item for a level that has just added these nodes to the scene; the caller names
// and types it. Undo takes the nodes out of the scene (hierarchy, keys, names and colours kept)
// and the item owns them while they are out; redo puts them back in the same order. An item
// discarded while its nodes are out (its level dropped from the redo stack, or the history
// cleared) disposes of them.
QVAPI UndoItem* NewAddedNodesUndo(cnode* const* nodes, int count);

// Undo manager. A level holds items; BeginGeneric closes any open level and opens a new one
// with the item (null allowed), clearing the redo stack; End closes it.
// While a level is open the host also keeps every key track that changes, as it was before its
// first change; undo writes those back before it restores the level's items.
// Undo sends event 30, snapshots the redo state (key tracks and selection of the scene's
// nodes), restores the level's items newest first, and sends event 31. Redo puts the nodes of
// added-nodes items (NewAddedNodesUndo) back, then the snapshot. Items may be restored more
// than once.
class QVAPI UndoMgr {
public:
    UndoMgr();
    ~UndoMgr();
    UndoMgr(const UndoMgr&) = delete;
    UndoMgr& operator=(const UndoMgr&) = delete;

    void BeginGeneric(UndoItem* item);
    // Adds an item to the open level (opens one when none is open).
    void Add(UndoItem* item);
    void End();
    int IsOpen() const;

    int NumLevels() const;                 // undo levels, oldest first
    int GetLevelType(int i) const;         // the type of level i's first item; -1 out of range
    const char* GetLevelName(int i) const; // the name of level i's first item
    int NumRedoLevels() const;
    const char* GetRedoLevelName(int i) const;  // oldest first

    int Undo();   // 1 when a level was undone
    int Redo();   // 1 when a level was redone
    // Deletes every item (history and redo).
    void Clear();
    // Host side: deletes the redo levels (a change the host took back must not be redone).
    void ClearRedo();

private:
    struct Impl;
    Impl* impl_;
};

QVAPI extern UndoMgr theUndo;
