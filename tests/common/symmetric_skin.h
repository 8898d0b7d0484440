// Random symmetric skins on a small rig of host bones, for the skin mirroring tests and the
// benchmark: a root, a spine and three left/right pairs whose frames mirror each other.
#pragma once

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"

namespace skintest {

// A right bone is its left partner turned half round z: x and y flip, so the two frames are
// mirror images as far as the matching can tell (distance, and direction along x).
inline const cquat kHalfTurnZ = {0.0f, 0.0f, 1.0f, 0.0f};

inline cnode* Bone(const char* name, cpoint3 pos, cnode* parent, const cquat& rot = cquat{}) {
    cbone* b = CreateNewBone();
    b->SetName(name);
    b->SetPosition(0, pos);
    b->SetRotation(0, rot);
    if (parent) parent->Attach(b, 1);
    Interface::AddToScene(b, 1);
    return b;
}

// A root, a spine and three left/right pairs of limbs.
struct Rig {
    cnode* root;
    std::vector<cnode*> centre, left, right;
};
inline Rig MakeRig() {
    Rig r;
    r.root = Bone("Rig Root", {0, 0, 4}, nullptr);
    r.centre.push_back(r.root);
    r.centre.push_back(Bone("Rig Spine", {0, 0, 5}, r.root));
    const char* names[][2] = {{"Rig L Thigh", "Rig R Thigh"},
                              {"Rig L UpperArm", "Rig R UpperArm"},
                              {"Rig Left Hand", "Rig Right Hand"}};
    const cpoint3 at[] = {{0.5f, 0.0f, 4.0f}, {0.8f, 0.1f, 7.0f}, {1.0f, -0.3f, 5.0f}};
    for (int i = 0; i < 3; ++i) {
        r.left.push_back(Bone(names[i][0], at[i], r.centre[1]));
        r.right.push_back(Bone(names[i][1], {-at[i].x, at[i].y, at[i].z}, r.centre[1], kHalfTurnZ));
    }
    return r;
}

inline cskinweight WeightOn(cnode* bone, float value, const cpoint3& p) {
    cskinweight w;
    w.value = value;
    w.bone = bone;
    w.offset = p * Inverse(bone->GetNodeTM(0));
    return w;
}

// A random symmetric mesh: points on the left (x > 0) with their mirror images jittered by up
// to twice the tolerance (so that some stay within it and some fall out), repeated points, and
// points on the mirror plane. Each vertex is weighted to one to three bones of its side (the
// centre bones on either side), with offsets from the bones' bind at time 0.
// jitterShare: the share of mirror images that are jittered (the others are exact);
// sideVertsOnCentreBones: vertices off the plane may take centre bones too.
inline void FillSymmetricSkin(cskin& skin, const Rig& rig, int pairs, float tolerance, unsigned seed,
                              float jitterShare = 0.7f, bool sideVertsOnCentreBones = true) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> coord(-1.0f, 1.0f), unit(0.0f, 1.0f);
    std::vector<cpoint3> points;
    std::vector<int> side;  // 1 right, 2 left, 0 on the plane
    for (int i = 0; i < pairs; ++i) {
        cpoint3 p = {0.05f + std::fabs(coord(rng)), coord(rng), 4.0f + 3.0f * unit(rng)};
        if (unit(rng) < 0.1f && !points.empty()) p = points[rng() % points.size()];  // a repeat
        if (p.x <= 0.0f) p.x = 0.3f;
        const cpoint3 dir = Normalize(cpoint3{coord(rng), coord(rng), coord(rng)});
        const float jitter = unit(rng) >= jitterShare ? 0.0f : 2.0f * tolerance * unit(rng);
        points.push_back(p);
        side.push_back(2);
        points.push_back(cpoint3{-p.x, p.y, p.z} + dir * jitter);
        side.push_back(1);
        if (i % 10 == 0) {
            points.push_back({0.0f, coord(rng), 4.0f + 3.0f * unit(rng)});
            side.push_back(0);
        }
    }
    // Shuffle so that index order says nothing about sides.
    std::vector<int> order(points.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::shuffle(order.begin(), order.end(), rng);
    skin.verts.assign(points.size(), cskinvertex{});
    skin.numVerts = static_cast<int>(points.size());
    for (size_t k = 0; k < order.size(); ++k) {
        const int i = order[k];
        cskinvertex& v = skin.verts[k];
        v.pos = points[i];
        std::vector<cnode*> bones;
        if (side[i] == 0 || sideVertsOnCentreBones) bones = rig.centre;
        const auto& limbs = side[i] == 2 ? rig.left : side[i] == 1 ? rig.right : rig.centre;
        bones.insert(bones.end(), limbs.begin(), limbs.end());
        const int count = 1 + static_cast<int>(rng() % 3);
        float left = 1.0f;
        for (int w = 0; w < count; ++w) {
            cnode* bone = bones[rng() % bones.size()];
            const float value = w + 1 == count ? left : left * unit(rng);
            left -= value;
            v.weights[v.numWeights++] = WeightOn(bone, value, v.pos);
        }
    }
}

}  // namespace skintest
