// Undo items of the modify tool's commands: BipAnimUndo keeps every key of every bone track,
// BipFrameUndo keeps each bone's first key and its key at the current time.
#pragma once

#include <cstring>
#include <type_traits>

#include "quorvane/anim.h"
#include "quorvane/undo.h"
#include "quorvane/util.h"

class cnode;

// Type of every undo item the module makes.
constexpr int kBipUndoType = 1000;

// A growable array on the host's array storage: an append to a full array doubles its
// capacity, or makes it 16 when it is 0. Holds trivially copyable elements only.
template <typename T>
struct BipArray {
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved by copying bytes");
    T* data = nullptr;
    int count = 0;
    int capacity = 0;
};

// Makes room for at least `capacity` elements, keeping the present ones; 0 when the storage
// cannot be had (the array is then unchanged).
template <typename T>
int BipArrayReserve(BipArray<T>& a, int capacity) {
    if (capacity <= a.capacity) return 1;
    T* grown = static_cast<T*>(array_new(sizeof(T), capacity));
    if (!grown) return 0;
    if (a.count > 0) std::memcpy(static_cast<void*>(grown), a.data, sizeof(T) * a.count);
    array_delete(a.data);
    a.data = grown;
    a.capacity = capacity;
    return 1;
}

// Appends a copy of the value, growing a full array; 0 when it cannot grow.
template <typename T>
int BipArrayAppend(BipArray<T>& a, const T& value) {
    if (a.count == a.capacity && !BipArrayReserve(a, a.capacity == 0 ? 16 : 2 * a.capacity))
        return 0;
    a.data[a.count++] = value;
    return 1;
}

template <typename T>
void BipArrayFree(BipArray<T>& a) {
    array_delete(a.data);
    a = BipArray<T>{};
}

// Every key of every bone, restored track by track.
class BipAnimUndo : public UndoItem {
public:
    // Copies the tracks of the non-null nodes, in index order; named "Modify Biped".
    BipAnimUndo(cnode* const* nodes, int count);
    ~BipAnimUndo() override;
    BipAnimUndo(const BipAnimUndo&) = delete;
    BipAnimUndo& operator=(const BipAnimUndo&) = delete;

    // Writes every saved track back exactly; 1 when at least one bone was restored.
    int Restore() override;
    // The saved tracks are the item's only state and stay until it is destroyed.
    void FreeData() override;
    // FreeData, then destroys the item.
    void Delete() override;
    int HasData() override;

    // One bone's saved track.
    struct TrackCopy {
        cnode* node = nullptr;
        BipArray<ckey> keys;
    };
    int NumRecords() const { return records_.count; }
    const TrackCopy* Record(int i) const;

private:
    BipArray<TrackCopy*> records_;
};

// Each bone's first key and its key at the item's time (or the fact that it had none there).
class BipFrameUndo : public UndoItem {
public:
    // name must outlive the item; time is GetAnimTime() now.
    BipFrameUndo(const char* name, cnode* const* nodes, int count);
    ~BipFrameUndo() override;
    BipFrameUndo(const BipFrameUndo&) = delete;
    BipFrameUndo& operator=(const BipFrameUndo&) = delete;

    // Puts each bone's first key back and its key at the item's time back, or removes the
    // key that was made there; 1.
    int Restore() override;
    // Drops every record: the item then restores nothing.
    void FreeData() override;
    int HasData() override;

    struct FrameCopy {
        cnode* node;
        ckey firstKey;
        ckey timeKey;
        int hadTimeKey;   // 1 when the track had a key exactly at the item's time
        int hadFirstKey;  // 0 when the track had no key at all
    };
    int NumRecords() const { return records_.count; }

private:
    BipArray<FrameCopy> records_;
};

// A BipAnimUndo of the nodes named `name` (kept as "Modify Biped" when null or empty), with
// type 1000 and time GetAnimTime(); null when the item cannot be allocated.
BipAnimUndo* NewBipAnimUndo(const char* name, cnode* const* nodes, int count);
