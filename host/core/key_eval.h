// A node's local placement at a time from its key track, shared by the evaluation of one node
// and of a whole tree.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "math_inline.h"
#include "quorvane/anim.h"

namespace qv::detail {

// Local matrix of a key: local = scale × rotation × translation.
inline cmatrix4 LocalMatrix(const ckey& k) {
    qv::math::Float4 rows[3];
    qv::math::RotationRows(k.rot, rows, k.scale);
    cmatrix4 m;
    std::memcpy(m.m, rows, sizeof rows);
    m.SetTrans(k.pos);
    return m;
}

// The track's interpolated key at t (a fresh key when the track is empty).
inline ckey KeyAt(const canim& anim, int t) {
    ckey k;
    if (!anim.GetInterpolateKey(t, k)) k = ckey{};
    k.time = t;
    return k;
}

// Starts the keys around t on their way from memory: the ones the track would hold there if
// its keys were evenly spaced, where the track lookup looks first.
inline void PrefetchKeysAt(const canim& anim, int t) {
    const std::vector<ckey>& keys = anim.Keys();
    const long long n = static_cast<long long>(keys.size());
    if (n < 2 || t <= keys.front().time || t >= keys.back().time) return;
    const long long first = keys.front().time;
    const long long g = (static_cast<long long>(t) - first) * (n - 1) /
                        (static_cast<long long>(keys.back().time) - first);
    const char* at = reinterpret_cast<const char*>(&keys[static_cast<size_t>(g)]);
    __builtin_prefetch(at);
    __builtin_prefetch(at + 2 * sizeof(ckey) - 1);  // the end of the key after it
}

// Keys a playback reaches a few frames on, ahead of key (the later key of the segment being
// played): the key kKeysAhead on starts on its way from memory, the track being read in order.
// The address is only a hint; past the track's end it is never read.
constexpr int kKeysAhead = 4;

inline void PrefetchKeysAhead(const ckey* key) {
    __builtin_prefetch(reinterpret_cast<const char*>(
        reinterpret_cast<uintptr_t>(key) + kKeysAhead * sizeof(ckey)));
}

}  // namespace qv::detail
