// The evaluation benchmarks' scene: a biped-sized hierarchy of 83 bones in chains up to 12
// deep, 10,000 keys per track, and the orders in which its frames are visited.
#pragma once

#include <algorithm>
#include <random>
#include <vector>

#include "quorvane/quorvane.h"
#include "qvcore/host.h"

namespace evalbench {

constexpr int kBones = 83;
constexpr int kKeysPerTrack = 10000;
constexpr int kKeySpacing = 3;       // frames between keys
constexpr int kEvalTimes = 10000;    // distinct frames evaluated per sweep
constexpr unsigned kShuffleSeed = 18;

// Parent index of every bone (-1 for the root): pelvis and a spine of three, neck and head;
// per side a clavicle, upper arm, forearm, hand and five three-link fingers; per side a
// thigh, calf, foot and five three-link toes; two tail links.
inline std::vector<int> BuildParents() {
    std::vector<int> parent{-1, 0, 1, 2, 3, 4, 5};  // root, pelvis, spine ×3, neck, head
    auto chain = [&](int from, int links) {
        int p = from;
        for (int i = 0; i < links; ++i) {
            parent.push_back(p);
            p = static_cast<int>(parent.size()) - 1;
        }
        return p;
    };
    for (int side = 0; side < 2; ++side) {
        int hand = chain(4, 4);  // clavicle off the top spine link
        for (int f = 0; f < 5; ++f) chain(hand, 3);
    }
    for (int side = 0; side < 2; ++side) {
        int foot = chain(1, 3);
        for (int t = 0; t < 5; ++t) chain(foot, 3);
    }
    chain(1, 2);
    return parent;
}

// The scene, made once: every bone keyed at every kKeySpacing frames with varied values.
inline std::vector<cnode*>& Bones() {
    static std::vector<cnode*> bones = [] {
        qv::ResetScene();
        std::vector<int> parent = BuildParents();
        std::vector<cnode*> out;
        for (int i = 0; i < kBones; ++i) {
            cbone* b = CreateNewBone();
            if (parent[i] >= 0) out[parent[i]]->Attach(b, 0);
            Interface::AddToScene(b, 0);
            b->anim.SetNumKeys(kKeysPerTrack, 1);
            for (int k = 0; k < kKeysPerTrack; ++k) {
                ckey key;
                key.time = k * kKeySpacing;
                key.pos = {1.0f + 0.001f * k, 0.1f * i, 0.0f};
                key.rot = QuatFromAngleAxis(static_cast<float>((k * 7 + i * 13) % 360), {1, 2, 3});
                b->anim.SetKeyAt(k, key, 0);
            }
            out.push_back(b);
        }
        return out;
    }();
    return bones;
}

// Playback: every frame from 0 on (two of three between keys).
inline std::vector<int> IncreasingFrames() {
    std::vector<int> t(kEvalTimes);
    for (int n = 0; n < kEvalTimes; ++n) t[n] = n;
    return t;
}

// Scrubbing: frames spread over the whole track, visited in a shuffled order.
inline std::vector<int> RandomFrames() {
    std::vector<int> t(kEvalTimes);
    for (int n = 0; n < kEvalTimes; ++n) t[n] = n * kKeysPerTrack * kKeySpacing / kEvalTimes + n % kKeySpacing;
    std::shuffle(t.begin(), t.end(), std::mt19937(kShuffleSeed));
    return t;
}

}  // namespace evalbench
