// Frame tables: a node's world matrices at many frames, stamped so that one change of the node
// (or of the scene generation) makes every slot stale at once.
#include "frame_table.h"

#include <algorithm>
#include <unordered_map>

namespace qv::detail {

bool anyFrameTables = false;

namespace {

uint64_t lastStamp = 0;
uint64_t NextStamp() { return ++lastStamp; }

std::unordered_map<const cnode*, FrameTable>& Tables() {
    static auto* tables = new std::unordered_map<const cnode*, FrameTable>();
    return *tables;
}

// The last table looked up: a child run through every frame asks the same parent each time.
const cnode* lastNode = nullptr;
FrameTable* lastTable = nullptr;

}  // namespace

const cmatrix4* FrameTable::Find(int t, unsigned long long generation) {
    if (generation_ != generation || stamp_ == 0) {
        generation_ = generation;
        stamp_ = NextStamp();
        return nullptr;
    }
    const long long i = static_cast<long long>(t) - base_;
    if (i < 0 || i >= static_cast<long long>(slots_.size())) return nullptr;
    const Slot& s = slots_[static_cast<size_t>(i)];
    return s.stamp == stamp_ ? &s.world : nullptr;
}

const cmatrix4& FrameTable::Store(int t, const cmatrix4& world) {
    Cover(t);
    Slot& s = slots_[static_cast<size_t>(static_cast<long long>(t) - base_)];
    s.stamp = stamp_;
    s.world = world;
    return s.world;
}

void FrameTable::MarkStale() { stamp_ = 0; }

// Grows the span to take t: at the end by the vector's own doubling, at the front by as many
// frames again as the table holds (so a run backwards through the frames copies the table a
// logarithmic number of times); a span that would pass kMaxFrames starts afresh at t.
void FrameTable::Cover(int t) {
    const long long size = static_cast<long long>(slots_.size());
    const long long i = static_cast<long long>(t) - base_;
    if (size > 0 && i >= 0 && i < size) return;
    if (size == 0 || i >= kMaxFrames || i < -kMaxFrames) {
        slots_.assign(1, Slot{});
        base_ = t;
        return;
    }
    if (i >= size) {  // i < kMaxFrames: the span stays within bounds
        slots_.resize(static_cast<size_t>(i + 1));
        return;
    }
    const long long front = std::min<long long>(std::max(-i, size), kMaxFrames - size);
    if (front < -i) {
        slots_.assign(1, Slot{});
        base_ = t;
        return;
    }
    slots_.insert(slots_.begin(), static_cast<size_t>(front), Slot{});
    base_ -= static_cast<int>(front);
}

FrameTable& FrameTableOf(const cnode* node) {
    if (node == lastNode) return *lastTable;
    anyFrameTables = true;
    lastNode = node;
    lastTable = &Tables()[node];
    return *lastTable;
}

void MarkFrameTableStale(const cnode* node) {
    if (node == lastNode) {
        lastTable->MarkStale();
        return;
    }
    auto it = Tables().find(node);
    if (it != Tables().end()) it->second.MarkStale();
}

void DropFrameTable(const cnode* node) {
    if (!anyFrameTables) return;
    if (node == lastNode) {
        lastNode = nullptr;
        lastTable = nullptr;
    }
    Tables().erase(node);
}

}  // namespace qv::detail
