// Key records and key tracks: every node owns one track of parent-relative keys.
#pragma once

#include <cstdint>
#include <vector>

#include "quorvane/api.h"
#include "quorvane/math.h"

// One key: the node's parent-relative position, rotation and scale at an integer frame.
// 44 bytes, the same layout as the keys of the Biped's files.
struct ckey {
    int32_t time = 0;                   // frames
    cpoint3 pos;                        // host units, parent-relative
    cquat rot;                          // parent-relative
    cpoint3 scale{1.0f, 1.0f, 1.0f};    // node's own scale
};
static_assert(sizeof(ckey) == 44, "ckey is a 44-byte record");

class cnode;

// A key track: keys sorted by time, one key per time.
//
// Index-based writes (SetKeyAt, SetNumKeys) are stored as given, so a caller may rewrite a
// whole track key by key; the next time-based operation puts the track back in order (stable
// by time, the later of two keys at one time wins).
//
// Lookups keep a cursor on the key they found, so stepping on to the next time costs O(1) and
// only a jump searches; a track is therefore read by one thread at a time.
class QVAPI canim {
public:
    canim() = default;
    // A copy holds the same keys and belongs to no node.
    canim(const canim& other);
    // Taking another track's keys is a write of this track (it keeps its node).
    canim& operator=(const canim& other);

    int NumKeys() const;

    // Key at index into key; 1, or 0 when the index is out of range (key untouched).
    int GetKeyAt(int index, ckey& key) const;
    // Overwrites the key at index (time included); 1, or 0 when out of range.
    // flags is accepted for the host's interface and ignored.
    int SetKeyAt(int index, const ckey& key, int flags);
    // Key exactly at time; 1, or 0 when the track has none there (key untouched).
    int GetKey(int time, ckey& key) const;
    // Track evaluated at time (positions and scales linear, rotations shortest-arc slerp,
    // clamped to the first and last key); key.time = time. 0 when the track is empty.
    int GetInterpolateKey(int time, ckey& key) const;
    // Adds the key, or replaces the key at its time. 1.
    int SetKey(const ckey& key);
    // Keeps the first n keys; when growing, appends copies of the last key (fresh keys when
    // empty). keep is accepted for the host's interface and ignored. 1.
    int SetNumKeys(int n, int keep);
    // Removes the key at time; 1, or 0 when there is none.
    int RemoveKey(int time);
    // Removes every key with from <= time <= to; answers the number removed.
    int RemoveKeysSeg(int from, int to);

    // Host side: raw access, change counter (bumped by every write), the index of the last key
    // at or before time (-1 when none; the next key after the last lookup's, or a binary
    // search) and the node whose track this is (null for a loose track).
    const std::vector<ckey>& Keys() const;
    uint64_t Version() const { return version_; }
    int FindIndexAtOrBefore(int time) const;
    // Host side: the keys around time, for evaluating it in steps (as GetInterpolateKey does):
    // key a holds as it is when b is null (time at a key or outside the keys); otherwise time
    // lies u of the way from a to b (0 < u < 1), whose rotations slerp along arc. The pointers
    // hold until the track is next written or asked about another segment.
    struct Segment {
        const ckey* a = nullptr;
        const ckey* b = nullptr;
        float u = 0.0f;
        const cslerparc* arc = nullptr;
    };
    // False (and s untouched) when the track is empty.
    bool SegmentAt(int time, Segment& s) const;
    cnode* Owner() const { return owner_; }
    void Clear();

private:
    friend class cnode;  // names itself the owner of its track

    void Normalise() const;  // sorts and dedups after index-based writes
    void AfterWrite();       // a new version; the owner's evaluation (and its subtree's) is stale
    // The slerp arc between key i and key i + 1, prepared once per segment and version.
    const cslerparc& ArcAfter(int i) const;
    // GetKey, SegmentAt and SetKey past their first test (the track sorted, its last
    // key at or before the time): sorting, the cursor or a search, interpolation, insertion.
    int GetKeyBySearch(int time, ckey& key) const;
    bool SegmentBySearch(int time, Segment& s) const;
    void PlaceKeyBySearch(const ckey& key);

    mutable std::vector<ckey> keys_{ckey{}};
    mutable bool unordered_ = false;
    uint64_t version_ = 1;
    cnode* owner_ = nullptr;
    mutable int cursor_ = 0;          // index the last lookup found (a hint, checked before use)
    mutable int arcSegment_ = -1;     // segment of arc_ (-1: none)
    mutable uint64_t arcVersion_ = 0; // version arc_ was prepared from
    mutable cslerparc arc_;
};
