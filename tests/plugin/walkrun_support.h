// Shared set-up of the walk and run tests: bipeds of any height and spine count standing on the
// ground, the generation driven through the modify tool with its options, and the biped's
// measures (leg length, ground, forward direction) read through the host.
#pragma once

#include <algorithm>
#include <vector>

#include "Skeleton/Bip/BipGaitTables.h"
#include "plugin_support.h"

namespace pt {

// Root height of a biped standing on z = 0, per unit of its height (the toes' depth below the
// root in the builder's table).
constexpr float kRootHeightPerHeight = 0.60989f;

// A biped of the given height and spine count standing on the ground at (x, y); answers its root.
inline cnode* MakeStandingBiped(float h, int spines, float x = 0.0f, float y = 0.0f) {
    BipShape shape = CurrentCounts();
    shape.numSpines = spines;
    ApplyCounts(shape);
    ResetBuilder();
    BuildBiped(MakePt3(x, y, kRootHeightPerHeight * h));
    SetBipedHeight(createRoot, h);
    height = h;
    cnode* root = createRoot;
    HandOverBiped(false);
    ResetBuilder();
    return root;
}

struct GaitOptions {
    int gait = kGaitWalk;
    int startFoot = 1;
    int loops = 1;
    int loop = 1;
    int inPlace = 0;
    int time = 0;
};

// Generates with the options on the bound biped, the animation range long enough that no
// question is asked.
inline int Generate(const GaitOptions& o) {
    bipani.gait = o.gait, bipani.startFoot = o.startFoot, bipani.numLoops = o.loops;
    bipani.loop = o.loop, bipani.inPlace = o.inPlace;
    Interface::SetAnimTime(o.time);
    Interface::SetAnimEnd(std::max(Interface::GetAnimEnd(), o.time + 40 * o.loops + 50));
    return bipani.Anim(o.gait);
}

inline cnode* Bone(int slot) { return bipani.bones[slot]; }

// |thigh - calf| + |calf - foot| at frame 0: the leg the stride is scaled to.
inline float LegLength(int thigh = kSlotRThigh) {
    const cpoint3 a = Bone(thigh)->GetPosition(0), b = Bone(thigh + 1)->GetPosition(0);
    const cpoint3 c = Bone(thigh + 2)->GetPosition(0);
    return Length(a - b) + Length(b - c);
}

inline std::vector<int> KeyTimes(cnode* node) {
    std::vector<int> times;
    for (const ckey& k : node->anim.Keys()) times.push_back(k.time);
    return times;
}

// The biped's forward direction at t: the x axis of the root's heading (the default biped
// faces -y).
inline cpoint3 Forward(int t) {
    return MatrixFromQuat(bipani.GetDirectionRot(t)).GetRow(0);
}

// Foot and toe bones of both feet, present ones only.
inline std::vector<cnode*> FootBones() {
    std::vector<cnode*> out;
    for (int s = kSlotRFoot; s <= kSlotLToe0 + 14; ++s)
        if (s != kSlotLThigh && s != kSlotLCalf && Bone(s)) out.push_back(Bone(s));
    return out;
}

inline float LowestZ(const std::vector<cnode*>& nodes, int t) {
    float z = 1e30f;
    for (cnode* n : nodes) z = std::min(z, n->GetPosition(t).z);
    return z;
}

}  // namespace pt
