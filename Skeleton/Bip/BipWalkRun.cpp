// Walk and run key generation: a cycle from the gait tables keyed into the biped's animation
// from the current time on, facing the way the root faces, the root placed so that the planted
// foot keeps its place and its stride scaled to the biped's leg. One undo step for all of it.
#include <windows.h>

#include <algorithm>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipGaitTables.h"
#include "Skeleton/Bip/BipRecording.h"
#include "Skeleton/BipUndo/BipUndo.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"

const frame_t* gaitTable[kNumGaitBones] = {};

namespace {
// Host units per gait table unit, per host unit of the biped's leg: the tables' leg is
// 1 / 0.020749997 table units long (a 32-bit float constant).
constexpr float kStridePerLeg = 0.020749997f;
// Frames past the root's last key that the animation range must reach.
constexpr int kRangeMarginFrames = kGaitKeys;
constexpr char kUndoName[] = "Biped Footsteps";
constexpr char kRangeQuestion[] =
    "Do you want to adjust animation bar's length\nto match number of Biped animation keys?";
constexpr char kNoLegMessage[] =
    "Walk and run keys need a whole leg (thigh, calf and foot)\nto measure the stride.";

// One leg's measure: |thigh - calf| + |calf - foot| at frame 0; 0 when a bone is missing.
float LegMeasure(cnode* thigh, cnode* calf, cnode* foot) {
    if (!thigh || !calf || !foot) return 0.0f;
    const cpoint3 t = thigh->GetPosition(0), c = calf->GetPosition(0), f = foot->GetPosition(0);
    return Length(t - c) + Length(c - f);
}

// The table's frame brought into the scene's: v' = (v ⊗ D0⁻¹) ⊗ D, R' = (R × D0⁻¹) × D.
struct Heading {
    cquat fromTable;  // D0⁻¹
    cquat toScene;    // D
    cpoint3 Vector(const cpoint3& v) const { return (v * fromTable) * toScene; }
    cquat Rotation(const cquat& r) const { return (r * fromTable) * toScene; }
};

// A flattened axis shorter than this (unit axes) points straight up or down: no heading.
constexpr float kMinFlatAxis = 1e-4f;

// Heading of a transform: its local y axis laid flat and made a look-at rotation about z only.
// A y axis standing upright has no heading of its own; the x axis laid flat and turned a
// quarter about z, where y would lie for a turn about z, stands in for it.
cquat HeadingOf(const cmatrix4& m) {
    cpoint3 dir = m.GetRow(1);
    dir.z = 0.0f;
    if (Length(dir) < kMinFlatAxis) {
        const cpoint3 x = m.GetRow(0);
        dir = MakePt3(-x.y, x.x, 0.0f);
    }
    return QuatFromMatrix(MatrixLookAt(MakePt3(0.0f, 0.0f, 1.0f), Normalize(dir)));
}
}  // namespace

int GaitStartSample(int gait, int startFoot) {
    if (gait == kGaitRun) return startFoot ? 0 : 3;
    return startFoot ? 5 : 2;
}

cquat cbipanim::GetDirectionRot(cquat r) { return HeadingOf(MatrixFromQuat(r)); }

// Mode 2 of GetNodeTM: the root's world transform at t.
cquat cbipanim::GetDirectionRot(int t) { return HeadingOf(bones[kSlotRoot]->GetNodeTM(t, 2)); }

void cbipanim::ClearAnim(int /*gait*/, const frame_t* table, cnode* node) {
    if (!table || !node) return;
    const int now = GetAnimTime();
    const int from = now == 0 ? 1 : now;  // a key at frame 0 is never removed
    const int to = now + (table[kGaitKeys - 1].time - table[0].time) * numLoops +
                   (loop ? table[kGaitKeys].step : 0);
    node->anim.RemoveKeysSeg(from, to);
}

void cbipanim::AddRotFrame(int gait, const frame_t* table, cnode* node) {
    if (!table || !node) return;
    int t = GetAnimTime();
    const int s0 = GaitStartSample(gait, startFoot);
    auto keyAt = [&](int time, const cquat& rot) {
        ckey key;
        node->anim.GetInterpolateKey(time, key);
        key.time = time;
        key.rot = rot;
        node->anim.SetKey(key);
    };
    for (int l = 0; l < numLoops; ++l) {
        for (int j = 0; j < kGaitKeys; ++j) {
            const int f = (s0 + j) % kGaitKeys;
            if (l > 0 || j > 0) t += table[f].step;
            keyAt(t, table[f].localRot);
        }
    }
    if (loop) keyAt(t + table[s0].step, table[s0].localRot);
    node->UpdateTimeIdle();
}

// The stride factor k: host units per table unit, from the right leg (the left one when the
// right lacks a bone); 0 when neither leg is whole.
float cbipanim::StrideFactor() {
    float leg = LegMeasure(bones[kSlotRThigh], bones[kSlotRCalf], bones[kSlotRFoot]);
    if (leg == 0.0f) leg = LegMeasure(bones[kSlotLThigh], bones[kSlotLCalf], bones[kSlotLFoot]);
    return leg * kStridePerLeg;
}

// Keys the root at each sample of each loop (and the loop key), recording switched on for the
// duration; answers the time of the root's last key.
int cbipanim::KeyRoot(int gait, float k) {
    const frame_t* root = gaitTable[0];
    const int s0 = GaitStartSample(gait, startFoot);
    int t = GetAnimTime();
    const Heading h{Inverse(GetDirectionRot(root[s0].worldRot)), GetDirectionRot(t)};
    // The foot planted at the first key: the left when the cycle starts on the right foot.
    cnode* planted = bones[startFoot ? kSlotLFoot : kSlotRFoot];
    const frame_t* plantedTable = gaitTable[startFoot ? kGaitLFoot : kGaitRFoot];
    // Without the planted foot the root starts where it stands.
    cpoint3 p = bones[kSlotRoot]->GetPosition(t);
    if (planted)
        p = planted->GetPosition(t) + h.Vector(root[s0].worldPos - plantedTable[s0].worldPos) * k;
    auto stride = [&](int f) {
        cpoint3 d = root[f].posDelta;
        if (inPlace) d.y = 0.0f;
        return h.Vector(d) * k;
    };
    RecordingScope keying(1);
    for (int l = 0; l < numLoops; ++l) {
        for (int j = 0; j < kGaitKeys; ++j) {
            const int f = (s0 + j) % kGaitKeys;
            if (l > 0 || j > 0) {
                t += root[f].step;
                p = p + stride(f);
            }
            bones[kSlotRoot]->SetPosition(t, p);
            bones[kSlotRoot]->SetRotation(t, h.Rotation(root[f].worldRot));
        }
    }
    if (loop) {
        t += root[s0].step;
        p = p + stride(s0);
        bones[kSlotRoot]->SetPosition(t, p);
        bones[kSlotRoot]->SetRotation(t, h.Rotation(root[s0].localRot));
    }
    return t;
}

int cbipanim::Anim(int gait) {
    if (gait != kGaitRun) gait = kGaitWalk;
    if (!bones[kSlotRoot]) return 0;
    // The panel keeps the number of loops in range; a value set otherwise is brought into it.
    numLoops = std::clamp(numLoops, kMinGaitLoops, kMaxGaitLoops);
    for (int b = 0; b < kNumGaitBones; ++b) gaitTable[b] = gaitTables[gait][b];
    const float k = StrideFactor();
    if (k <= 0.0f) {
        MessageBoxA(nullptr, kNoLegMessage, "Biped", MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    BipAnimUndo* undo = NewBipAnimUndo(kUndoName, bones, kNumSlots);
    for (int b = 0; b < kNumGaitBones; ++b) ClearAnim(gait, gaitTable[b], bones[kGaitSlots[b]]);
    const int last = KeyRoot(gait, k);
    for (int b = 1; b < kNumGaitBones; ++b) AddRotFrame(gait, gaitTable[b], bones[kGaitSlots[b]]);
    const int end = last + kRangeMarginFrames;
    if (end > Interface::GetAnimEnd() &&
        MessageBoxA(nullptr, kRangeQuestion, "Biped", MB_YESNO | MB_ICONQUESTION) == IDYES)
        Interface::SetAnimEnd(end);
    theUndo.BeginGeneric(undo);
    return 1;
}
