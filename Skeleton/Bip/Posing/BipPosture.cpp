// The posture clipboard's commands: "Copy", "Paste", "Paste Mirrored" and "Set". A paste writes
// rotations only, except for the root, whose position is pasted on the flagged components.
#include "Skeleton/Bip/BipPosture.h"

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipNames.h"
#include "Skeleton/Bip/Posing/BipKeys.h"
#include "Skeleton/Bip/Posing/BipReflect.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

std::array<ckey, kNumSlots> postureClipboard = [] {
    std::array<ckey, kNumSlots> records{};
    for (ckey& r : records) r.time = kNoSlot;
    return records;
}();
int postureValid = 0;

namespace {

const char kPasteName[] = "Biped Paste Posture";
const char kPasteMirroredName[] = "Biped Paste Posture Mirrored";
const char kSetName[] = "Biped Set Posture";

struct PasteFlags {
    int x, y, z;
};

// The root takes the record's world rotation and, on the flagged components, its position;
// every other bone takes the record's rotation as a key at now.
void PasteRecord(cnode* bone, int slot, const ckey& record, PasteFlags flags, int now) {
    if (slot != kSlotRoot) return WriteRotationKey(bone, now, record.rot);
    if (flags.x || flags.y || flags.z) {
        cpoint3 p = bone->GetPosition(now);
        if (flags.x) p.x = record.pos.x;
        if (flags.y) p.y = record.pos.y;
        if (flags.z) p.z = record.pos.z;
        bone->SetPosition(now, p);
    }
    bone->SetRotation(now, record.rot);
}

// The record slot s receives from the mirrored clipboard: a limb takes its mirror bone's record
// reflected, a centre bone its own record reflected onto itself. Answers 0 when the source bone
// had no node at the copy.
int MirroredRecord(int s, const cquat& pelvisRef, ckey& out) {
    const int mirror = GetMirrorSlot(s);
    if (mirror != kNoSlot) {
        if (postureClipboard[mirror].time == kNoSlot) return 0;
        out = ReflectLimbKey(postureClipboard[mirror]);
        return 1;
    }
    out = postureClipboard[s];
    if (s == kSlotRoot) {
        out.pos = ReflectRootPosition(out.pos, out.rot);
        out.rot = ReflectRootRotation(out.rot);
    } else if (s == kSlotPelvis) {
        out.rot = ReflectPelvisRotation(out.rot, pelvisRef);
    } else {
        out = ReflectLimbKey(out);  // spine links, neck, head
    }
    return 1;
}

// One paste step: each chosen bone that has a node now and had one at the copy receives the
// record that `take` makes for its slot (none when it answers 0), in slot order.
template <typename Take>
void Paste(cbipanim& tool, const char* name, const int* mask, PasteFlags flags, Take take) {
    if (!mask || !postureValid || !HasBones(tool)) return;
    FrameUndoScope undo(name, tool);
    AnimOnScope recording;
    const int now = GetAnimTime();
    for (int s = 0; s < kNumSlots; ++s) {
        if (!mask[s] || postureClipboard[s].time == kNoSlot) continue;
        cnode* bone = BoneAt(tool, s);
        ckey record;
        if (bone && take(s, record)) PasteRecord(bone, s, record, flags, now);
    }
}

}  // namespace

void cbipanim::CopyPosture() {
    const int now = GetAnimTime();
    for (int s = 0; s < kNumSlots; ++s) {
        ckey& record = postureClipboard[s];
        cnode* bone = bones[s];
        if (!bone) {
            record.time = kNoSlot;
            continue;
        }
        if (s == kSlotRoot) {
            record.pos = bone->GetPosition(now);
            record.rot = bone->GetRotation(now);
            record.scale = bone->GetScale(now);
        } else {
            record = ReadKeyAt(bone, now);
        }
        record.time = s;
        postureValid = 1;
    }
}

void cbipanim::PastePosture(const int* mask, int pasteX, int pasteY, int pasteZ) {
    Paste(*this, kPasteName, mask, {pasteX, pasteY, pasteZ}, [](int s, ckey& record) {
        record = postureClipboard[s];
        return 1;
    });
}

void cbipanim::PastePostureMirrored(const int* mask, int pasteX, int pasteY, int pasteZ) {
    const cquat pelvisRef = PelvisReference();
    Paste(*this, kPasteMirroredName, mask, {pasteX, pasteY, pasteZ},
          [&](int s, ckey& record) { return MirroredRecord(s, pelvisRef, record); });
}

void cbipanim::SetPosture(const int* mask) {
    if (!mask || !HasBones(*this)) return;
    FrameUndoScope undo(kSetName, *this);
    const int now = GetAnimTime();
    for (int s = 0; s < kNumSlots; ++s)
        if (mask[s] && bones[s]) bones[s]->SnapKey(now);
}
