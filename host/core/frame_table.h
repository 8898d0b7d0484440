// World matrices of one node at many frames, kept for its children when they ask it at frames
// other than the one it last evaluated (a child run through every frame after its parent was).
#pragma once

#include <cstdint>
#include <vector>

#include "quorvane/math.h"

class cnode;

namespace qv::detail {

// Slots by frame over one span of frames. A slot holds while it carries the table's stamp; the
// stamp changes whenever the node is marked stale or the scene generation moves on, so every
// slot goes stale at once.
class FrameTable {
public:
    // The world at t, or null when the table holds none that is fresh.
    const cmatrix4* Find(int t, unsigned long long generation);
    // Keeps world as the node's world at t (the span grows to t, or starts afresh at t when it
    // would grow past kMaxFrames) and answers the stored copy.
    const cmatrix4& Store(int t, const cmatrix4& world);
    // Every slot stale.
    void MarkStale();

    // The most frames a table spans: 72 bytes a frame, about 2.4 MB.
    static constexpr int kMaxFrames = 1 << 15;

private:
    struct Slot {
        uint64_t stamp = 0;  // 0: empty
        cmatrix4 world;
    };
    void Cover(int t);

    unsigned long long generation_ = 0;
    uint64_t stamp_ = 0;
    int base_ = 0;  // frame of slots_[0]
    std::vector<Slot> slots_;
};

// True once any node has a table; until then marking nodes stale looks none up.
extern bool anyFrameTables __attribute__((visibility("hidden")));
// The node's table, made on first request.
FrameTable& FrameTableOf(const cnode* node);
// Marks the node's table stale, when it has one.
void MarkFrameTableStale(const cnode* node);
// Frees the node's table (the node is going away).
void DropFrameTable(const cnode* node);

}  // namespace qv::detail
