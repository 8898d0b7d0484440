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

// A key track: keys sorted by time, one key per time.
//
// Index-based writes (SetKeyAt, SetNumKeys) are stored as given, so a caller may rewrite a
// whole track key by key; the next time-based operation puts the track back in order (stable
// by time, the later of two keys at one time wins).
class QVAPI canim {
public:
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

    // Host side: raw access, change counter (bumped by every write) and the index of the last
    // key at or before time (-1 when none), found by binary search.
    const std::vector<ckey>& Keys() const;
    uint64_t Version() const { return version_; }
    int FindIndexAtOrBefore(int time) const;
    void Clear();

private:
    void Normalise() const;  // sorts and dedups after index-based writes

    mutable std::vector<ckey> keys_{ckey{}};
    mutable bool unordered_ = false;
    uint64_t version_ = 1;
};
