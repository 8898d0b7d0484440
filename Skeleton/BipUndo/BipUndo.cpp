// The undo items of the modify tool: copies of bone tracks made before a command changes
// them, written back through the bones' key tracks when the user undoes the command.
#include "Skeleton/BipUndo/BipUndo.h"

#include <new>

#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/util.h"

namespace {
// Source name of the assertion reports of this unit.
constexpr const char* kSource = "Skeleton/BipUndo";
char kDefaultName[] = "Modify Biped";

// Copies every key of the node's track, in track order; null when the copy cannot be made.
BipAnimUndo::TrackCopy* CopyTrack(cnode* node) {
    auto* copy = new (std::nothrow) BipAnimUndo::TrackCopy;
    if (!copy) {
        MyAssertFailedLine("mn", kSource, __LINE__);
        return nullptr;
    }
    copy->node = node;
    const canim* ani = &node->anim;
    const int numKeys = ani->NumKeys();
    BipArrayReserve(copy->keys, numKeys);
    for (int i = 0; i < numKeys; ++i) {
        ckey key;
        if (!ani->GetKeyAt(i, key)) MyAssertFailedLine("ani->GetKeyAt(i,key)", kSource, __LINE__);
        BipArrayAppend(copy->keys, key);
    }
    return copy;
}

void FreeTrack(BipAnimUndo::TrackCopy* copy) {
    if (!copy) return;
    BipArrayFree(copy->keys);
    delete copy;
}
}  // namespace

// --- BipAnimUndo -------------------------------------------------------------------------------

BipAnimUndo::BipAnimUndo(cnode* const* nodes, int count) {
    SetName(kDefaultName);
    if (!nodes || count <= 0) return;
    BipArrayReserve(records_, count);
    for (int i = 0; i < count; ++i) {
        if (!nodes[i]) continue;
        TrackCopy* copy = CopyTrack(nodes[i]);
        // A bone whose copy could not be made is left out: the item restores the others.
        if (copy && !BipArrayAppend(records_, copy)) FreeTrack(copy);
    }
}

BipAnimUndo::~BipAnimUndo() {
    for (int i = 0; i < records_.count; ++i) FreeTrack(records_.data[i]);
    BipArrayFree(records_);
}

const BipAnimUndo::TrackCopy* BipAnimUndo::Record(int i) const {
    if (!array_assert(i, records_.count, kSource, __LINE__)) return nullptr;
    return records_.data[i];
}

int BipAnimUndo::Restore() {
    for (int i = 0; i < records_.count; ++i) {
        const TrackCopy* copy = records_.data[i];
        canim& ani = copy->node->anim;
        ani.SetNumKeys(copy->keys.count, 1);
        for (int j = 0; j < copy->keys.count; ++j) ani.SetKeyAt(j, copy->keys.data[j], 0);
    }
    return records_.count > 0 ? 1 : 0;
}

void BipAnimUndo::FreeData() {}

void BipAnimUndo::Delete() {
    FreeData();
    delete this;
}

int BipAnimUndo::HasData() { return records_.count > 0 ? 1 : 0; }

BipAnimUndo* NewBipAnimUndo(const char* name, cnode* const* nodes, int count) {
    auto* item = new (std::nothrow) BipAnimUndo(nodes, count);
    if (!item) return nullptr;
    if (name && name[0]) item->SetName(name);
    item->SetType(kBipUndoType);
    item->SetTime(GetAnimTime());
    return item;
}

// --- BipFrameUndo ------------------------------------------------------------------------------

BipFrameUndo::BipFrameUndo(const char* name, cnode* const* nodes, int count) {
    SetName(name ? name : kDefaultName);
    SetType(kBipUndoType);
    SetTime(GetAnimTime());
    if (!nodes || count <= 0) return;
    BipArrayReserve(records_, count);
    for (int i = 0; i < count; ++i) {
        if (!nodes[i]) continue;
        const canim& ani = nodes[i]->anim;
        FrameCopy rec{};
        rec.node = nodes[i];
        rec.firstKey = ckey{};
        rec.timeKey = ckey{};
        rec.hadFirstKey = ani.GetKeyAt(0, rec.firstKey) ? 1 : 0;
        rec.hadTimeKey = ani.GetKey(GetAnimTime(), rec.timeKey) ? 1 : 0;
        BipArrayAppend(records_, rec);
    }
}

BipFrameUndo::~BipFrameUndo() { BipArrayFree(records_); }

// A key the command made at the item's time is removed before the first key is written back,
// and the first key goes back in place only while the track still starts at its time: were
// the track now to start elsewhere (a key made before it, or the first key removed), writing
// index 0 would overwrite another key; the first key is then put back at its time.
int BipFrameUndo::Restore() {
    const int t = GetTime();
    for (int i = 0; i < records_.count; ++i) {
        const FrameCopy& rec = records_.data[i];
        canim& ani = rec.node->anim;
        if (!rec.hadFirstKey) {  // the track had no key at all: it is emptied again
            ani.SetNumKeys(0, 1);
            continue;
        }
        if (!rec.hadTimeKey) ani.RemoveKey(t);
        ckey present;
        if (ani.GetKeyAt(0, present) && present.time == rec.firstKey.time)
            ani.SetKeyAt(0, rec.firstKey, 1);
        else
            ani.SetKey(rec.firstKey);
        if (rec.hadTimeKey) ani.SetKey(rec.timeKey);
    }
    return 1;
}

void BipFrameUndo::FreeData() { BipArrayFree(records_); }

int BipFrameUndo::HasData() { return records_.count > 0 ? 1 : 0; }
