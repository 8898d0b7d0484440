// Keys at one time and the undo and recording scopes of the posing commands.
#include "Skeleton/Bip/Posing/BipKeys.h"

#include <new>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/BipUndo/BipUndo.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"

ckey ReadKeyAt(cnode* bone, int t) {
    ckey key;  // time 0, origin, identity, unit scale
    bone->anim.GetInterpolateKey(t, key);
    key.time = t;
    return key;
}

void WriteKey(cnode* bone, const ckey& key) {
    bone->anim.SetKey(key);
    bone->UpdateTimeIdle();
}

void WriteRotationKey(cnode* bone, int t, const cquat& rot) {
    ckey key = ReadKeyAt(bone, t);
    key.rot = rot;
    WriteKey(bone, key);
}

cnode* BoneAt(const cbipanim& tool, int slot) {
    return (slot >= 0 && slot < kNumSlots) ? tool.bones[slot] : nullptr;
}

int HasBones(const cbipanim& tool) {
    for (cnode* b : tool.bones)
        if (b) return 1;
    return 0;
}

FrameUndoScope::FrameUndoScope(const char* name, cbipanim& tool) {
    // A failed allocation passes null on: the command still runs, without undo.
    theUndo.BeginGeneric(new (std::nothrow) BipFrameUndo(name, tool.bones, kNumSlots));
}
FrameUndoScope::~FrameUndoScope() { theUndo.End(); }

AnimOnScope::AnimOnScope() : wasOn_(Interface::IsAnimOn()) { Interface::SetAnimOn(1); }
AnimOnScope::~AnimOnScope() { Interface::SetAnimOn(wasOn_); }

void RefreshViews() {
    Interface::UpdateAnimBar();
    Interface::UpdateViews();
}
