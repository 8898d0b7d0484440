// BVH motion onto the biped: each mapped bone gets, at every frame of its joint, the world
// rotation rest × joint (the rest rotation first, then the joint's turn), and the root follows
// the file's root travel scaled by the leg ratio from where it stands.
#include "Skeleton/BipFile/BipFileBvhTransfer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Skeleton/Bip/BipAnim.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace {

float Distance(cnode* a, cnode* b) { return Length(a->GetPosition(0) - b->GetPosition(0)); }

float LegLength(cnode* hip, cnode* knee, cnode* ankle) {
    if (!hip || !knee || !ankle) return 0.0f;
    return Distance(hip, knee) + Distance(knee, ankle);
}

// Switches the host's recording on for one bone's transfer and puts the mode back after.
class RecordingOn {
public:
    RecordingOn() : was_(Interface::IsAnimOn()) { Interface::SetAnimOn(1); }
    ~RecordingOn() { Interface::SetAnimOn(was_); }
    RecordingOn(const RecordingOn&) = delete;
    RecordingOn& operator=(const RecordingOn&) = delete;

private:
    int was_;
};

// Clears the frames the file will fill: from t0 (from 1 at time 0, so that the key at 0 stays
// to be replaced) to t0 + F - 1. A one-frame file at time 0 clears nothing.
void ClearTarget(cnode* bone, int t0, int frames) {
    if (frames == 1 && t0 == 0) return;
    const int from = t0 == 0 ? 1 : t0;
    bone->anim.RemoveKeysSeg(from, std::max(t0 + frames - 1, from));
}

// Each mapped joint's world rotation at each of its keys. Read key index by key index across
// the joints, with no write in between, so that the host evaluates each frame's hierarchy once.
std::vector<std::vector<cquat>> JointRotations(const BvhNodeTable& table) {
    std::vector<std::vector<cquat>> rot(kBvhNumNames);
    int most = 0;
    for (int k = 0; k < kBvhNumNames; ++k)
        if (table.node[k]) most = std::max(most, table.node[k]->anim.NumKeys());
    for (int i = 0; i < most; ++i)
        for (int k = 0; k < kBvhNumNames; ++k) {
            cnode* joint = table.node[k];
            ckey key;
            if (joint && joint->anim.GetKeyAt(i, key)) rot[k].push_back(joint->GetRotation(key.time));
        }
    return rot;
}

void TransferBone(cnode* joint, const std::vector<cquat>& jointRot, cnode* bone, int slot,
                  const cquat& rest, int frames, float ratio) {
    const int t0 = GetAnimTime();
    ClearTarget(bone, t0, frames);
    RecordingOn recording;
    ckey first, key;
    joint->anim.GetKeyAt(0, first);
    cpoint3 jointStart, boneStart;
    for (int i = 0; i < joint->anim.NumKeys(); ++i) {
        joint->anim.GetKeyAt(i, key);
        const cquat& q = jointRot[i];
        const int t = key.time - first.time + t0;
        if (slot == kSlotRoot) {
            if (i == 0) {
                jointStart = key.pos;
                boneStart = bone->GetPosition(t0);
            }
            bone->SetPosition(t, boneStart + (key.pos - jointStart) * ratio);
        }
        bone->SetRotation(t, rest * q);  // rest first, then the joint's turn
    }
}

}  // namespace

BvhNodeTable MapBvhBones(const BvhTempSkeleton& skeleton) {
    BvhNodeTable table;
    for (cnode* bone : skeleton.list) {
        const int k = bone ? BvhNameIndex(bone->GetName()) : -1;
        if (k >= 0) table.node[k] = bone;
    }
    return table;
}

float BvhLegMeasure(const BvhNodeTable& table) {
    return LegLength(table.node[BvhSlotIndex(kSlotRThigh)], table.node[BvhSlotIndex(kSlotRCalf)],
                     table.node[BvhSlotIndex(kSlotRFoot)]);
}

float BipLegMeasure(const cbipanim& tool) {
    return LegLength(tool.bones[kSlotRThigh], tool.bones[kSlotRCalf], tool.bones[kSlotRFoot]);
}

void TransferBvhMotion(cbipanim& tool, const BvhNodeTable& table, int frames, float ratio) {
    cquat rest[kBvhNumNames];
    for (int k = 0; k < kBvhNumNames; ++k)
        if (cnode* bone = tool.bones[bvhNameTable[k].slot]) rest[k] = bone->GetRotation(GetAnimTime());
    const std::vector<std::vector<cquat>> jointRot = JointRotations(table);
    for (int k = 0; k < kBvhNumNames; ++k) {
        const int slot = bvhNameTable[k].slot;
        if (table.node[k] && tool.bones[slot])
            TransferBone(table.node[k], jointRot[k], tool.bones[slot], slot, rest[k], frames, ratio);
    }
}
