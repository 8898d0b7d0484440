// The plain evaluation the host's fast paths must agree with bit for bit: a fresh binary search
// of the track, the textbook slerp, and the world matrix rebuilt up the whole ancestor chain,
// all in the scalar textbook forms of plain_math.h.
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include "quorvane/quorvane.h"
#include "tests/common/plain_math.h"

namespace plain {

// The track at t: clamped to its ends, linear in position and scale, slerp in rotation.
inline ckey KeyAt(const canim& anim, int t) {
    const std::vector<ckey>& keys = anim.Keys();
    ckey k;
    if (!keys.empty()) {
        auto after = std::upper_bound(keys.begin(), keys.end(), t,
                                      [](int time, const ckey& key) { return time < key.time; });
        if (after == keys.begin()) {
            k = keys.front();
        } else if (after == keys.end() || (after - 1)->time == t) {
            k = *(after - 1);
        } else {
            const ckey& a = *(after - 1);
            const ckey& b = *after;
            float u = static_cast<float>(t - a.time) / static_cast<float>(b.time - a.time);
            k.pos = a.pos + (b.pos - a.pos) * u;
            k.scale = a.scale + (b.scale - a.scale) * u;
            k.rot = plain::Slerp(a.rot, b.rot, u);
        }
    }
    k.time = t;
    return k;
}

// world = scale × rotation × translation × parentWorld, every ancestor evaluated afresh.
inline cmatrix4 World(cnode* node, int t) {
    const ckey k = KeyAt(node->anim, t);
    cmatrix4 local = RotationMatrix(k.rot);
    const float s[3] = {k.scale.x, k.scale.y, k.scale.z};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) local.m[i][j] *= s[i];
    local.SetTrans(k.pos);
    return node->GetParent() ? Product(local, World(node->GetParent(), t)) : local;
}

// The node's world rotation at t (rows normalised, scale taken out).
inline cquat WorldRotation(cnode* node, int t) { return RotationOf(World(node, t)); }

template <class T>
bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

}  // namespace plain
