// Keys of the bound biped's bones read and written at one time, and the scopes every posing
// command runs in: its undo level and the host's animation recording.
#pragma once

#include "quorvane/anim.h"
#include "quorvane/math.h"

class cbipanim;
class cnode;

// The bone's track evaluated at t (a fresh key record filled by GetInterpolateKey); key.time = t.
ckey ReadKeyAt(cnode* bone, int t);
// Adds or replaces the key at key.time and lets the host re-evaluate the bone.
void WriteKey(cnode* bone, const ckey& key);
// A key at t holding the track's interpolated position and scale there and the given rotation.
void WriteRotationKey(cnode* bone, int t, const cquat& rot);

// The node of a slot, null for a slot outside 0..82 or a bone the biped lacks.
cnode* BoneAt(const cbipanim& tool, int slot);
// 1 when the tool is bound to a biped: at least one bone slot has a node.
int HasBones(const cbipanim& tool);

// A BipFrameUndo of every bone, begun on construction and ended on destruction.
class FrameUndoScope {
public:
    FrameUndoScope(const char* name, cbipanim& tool);
    ~FrameUndoScope();
    FrameUndoScope(const FrameUndoScope&) = delete;
    FrameUndoScope& operator=(const FrameUndoScope&) = delete;
};

// Switches the host's animation recording on so that SetPosition and SetRotation make keys;
// puts the previous mode back on destruction.
class AnimOnScope {
public:
    AnimOnScope();
    ~AnimOnScope();
    AnimOnScope(const AnimOnScope&) = delete;
    AnimOnScope& operator=(const AnimOnScope&) = delete;

private:
    int wasOn_;
};

// The host's animation bar and views after a command has changed keys.
void RefreshViews();
