// A ".BPD" file applied to a biped: existing keys cleared or moved out of the way, each bone
// taking the file's rotations over one or more copies of the source range, reversed or
// stretched as chosen, the root travelling by the file's steps scaled to this biped's legs,
// and the root finally shifted so that a chosen foot stays where it stood.
#include "Skeleton/BipFile/BipFileBpdLoad.h"

#include <algorithm>
#include <cmath>

#include "Skeleton/Bip/BipBones.h"
#include "Skeleton/BipFile/BipFileBpdSave.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace {

// Frames beyond this (either way) are refused: every frame a load computes stays far inside
// what an int holds, whatever the sums of its parts.
constexpr double kMaxLoadFrame = 1 << 30;

cpoint3 PositionAt(cnode* bone, int t) { return bone ? bone->GetPosition(t) : cpoint3{}; }

// Keys at and after Insert At: removed over the frames the load fills (the key at frame 0
// always stays), or moved on past them.
void MakeRoom(canim& track, const BpdFile& file, const BpdLoadOptions& o, const BpdLoadPlan& p) {
    if (o.existing == kKeysClear) {
        if (file.frameCount == 1 && o.insertAt == 0) return;
        const int from = o.insertAt == 0 ? 1 : o.insertAt;
        track.RemoveKeysSeg(from, std::max(p.end, from));
        return;
    }
    const int shift = p.end - o.insertAt + 1;
    for (int i = track.NumKeys() - 1; i >= 0; --i) {
        ckey k;
        track.GetKeyAt(i, k);
        if (k.time < o.insertAt) break;
        if (k.time != 0) {
            k.time += shift;
            track.SetKeyAt(i, k, 0);
        } else {
            k.time = shift;  // the key at frame 0 stays, and a copy of it follows the load
            track.SetKey(k);
        }
    }
}

// Entry i of the play order: the file's key i, or with invert the pose of key n - 1 - i at
// the time of key i, so that the poses run backwards over the file's own times.
ckey PlayedEntry(const std::vector<ckey>& keys, size_t i, int invert) {
    if (!invert) return keys[i];
    ckey e = keys[keys.size() - 1 - i];
    e.time = keys[i].time;
    return e;
}

// The root's travel: it starts where it stands at Insert At and each copy goes on from where
// the previous one ended, by the file's steps times the leg ratio.
struct RootTravel {
    cpoint3 at;     // acc: where the root has got to
    cpoint3 prev;   // the file position of the previous entry
    bool copyStarted = false;
};

void KeyEntry(cnode* bone, int slot, const ckey& e, int t, float legRatio, RootTravel& root) {
    if (slot != kSlotRoot) {
        ckey k;
        bone->anim.GetInterpolateKey(t, k);
        k.rot = e.rot;  // the bone keeps its own position and scale
        bone->anim.SetKey(k);
        return;
    }
    if (!root.copyStarted) {
        root.prev = e.pos;
        root.copyStarted = true;
    }
    const cpoint3 delta = (e.pos - root.prev) * legRatio;
    root.prev = e.pos;
    bone->SetPosition(t, root.at + delta);
    bone->SetRotation(t, e.rot);
    root.at += delta;
}

void LoadBone(cnode* bone, const BpdBone& rec, const BpdFile& file, const BpdLoadOptions& o,
              const BpdLoadPlan& p) {
    MakeRoom(bone->anim, file, o, p);
    RootTravel root{p.rootStart, {}, false};
    for (int r = 0; r < o.repeat; ++r) {
        const int base = o.insertAt + r * p.perCopy;
        root.copyStarted = false;
        for (size_t i = 0; i < rec.keys.size(); ++i) {
            const ckey e = PlayedEntry(rec.keys, i, o.invert);
            if (e.time < o.firstFrame || e.time > o.lastFrame) continue;
            const int t = base - o.firstFrame + static_cast<int>(e.time * p.timeFactor);
            KeyEntry(bone, rec.slot, e, t, p.legRatio, root);
        }
        ckey last;  // each copy ends on a key
        if (bone->anim.GetInterpolateKey(base - o.firstFrame + o.lastFrame, last))
            bone->anim.SetKey(last);
    }
    bone->UpdateTimeIdle();
}

// Shifts the root's keys over the loaded frames so that the foot is at Insert At where it
// stood before the load.
void AlignToFoot(cnode* const* bones, const BpdLoadOptions& o, const BpdLoadPlan& p) {
    cnode* root = bones[kSlotRoot];
    cnode* foot = o.align == kSlotRFoot || o.align == kSlotLFoot ? bones[o.align] : nullptr;
    if (!root || !foot) return;
    const cpoint3 before = o.align == kSlotRFoot ? p.rightFoot : p.leftFoot;
    const cpoint3 offset = before - foot->GetPosition(o.insertAt);
    for (int i = 0; i < root->anim.NumKeys(); ++i) {
        ckey k;
        root->anim.GetKeyAt(i, k);
        if (k.time < o.insertAt) continue;
        if (k.time > p.end) break;
        root->SetPosition(k.time, root->GetPosition(k.time) + offset);
    }
    root->UpdateTimeIdle();
}

}  // namespace

size_t BpdLoadKeyBytes(const BpdFile& file, const BpdLoadOptions& o) {
    size_t keys = 0;
    for (const BpdBone& rec : file.bones) keys += rec.keys.size() + 1;
    return keys * static_cast<size_t>(std::max(o.repeat, 1)) * sizeof(ckey);
}

int PlanBpdLoad(cnode* const* bones, const BpdFile& file, BpdLoadOptions& o, BpdLoadPlan& p) {
    p.span = o.lastFrame - o.firstFrame + 1;
    if (!o.scale) o.numFrames = p.span;
    p.perCopy = std::max(o.scale ? o.numFrames : p.span, 1);
    p.timeFactor = static_cast<float>(p.perCopy) / static_cast<float>(p.span);
    const double end = static_cast<double>(o.insertAt) + double(o.repeat) * p.perCopy - 1;
    const double lastKey = static_cast<double>(o.insertAt) + double(o.repeat - 1) * p.perCopy -
                           o.firstFrame + double(o.lastFrame) * p.timeFactor;
    if (std::fabs(o.insertAt) > kMaxLoadFrame || std::fabs(end) > kMaxLoadFrame ||
        std::fabs(lastKey) > kMaxLoadFrame)
        return 0;
    p.end = static_cast<int>(end);
    // A leg measure that is not a length (0 from a file, a biped without its right leg)
    // leaves the root's steps as the file has them.
    const float mine = BipLegMeasure(bones);
    p.legRatio = file.legMeasure > 0.0f && mine > 0.0f && std::isfinite(file.legMeasure)
                     ? mine / file.legMeasure
                     : 1.0f;
    p.rootStart = PositionAt(bones[kSlotRoot], o.insertAt);
    p.rightFoot = PositionAt(bones[kSlotRFoot], o.insertAt);
    p.leftFoot = PositionAt(bones[kSlotLFoot], o.insertAt);
    return 1;
}

void ApplyBpd(cnode* const* bones, const BpdFile& file, const BpdLoadOptions& o,
              const BpdLoadPlan& p) {
    const int wasAnimOn = Interface::IsAnimOn();
    Interface::SetAnimOn(1);
    for (const BpdBone& rec : file.bones) {
        if (rec.slot < 0 || rec.slot >= kNumSlots || !bones[rec.slot]) continue;
        if (!o.groupOn[BoneGroupOfSlot(rec.slot)]) continue;
        LoadBone(bones[rec.slot], rec, file, o, p);
    }
    AlignToFoot(bones, o, p);
    Interface::SetAnimOn(wasAnimOn);
}
