// The default poses: "Idle" and "Skin" for the whole body and the twelve hand poses, applied
// as rotation keys at the current time; positions and scales keep their animated values.
#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipHand.h"
#include "Skeleton/Bip/BipPoseTables.h"
#include "Skeleton/Bip/Posing/BipKeys.h"
#include "Skeleton/Bip/Posing/BipReflect.h"
#include "quorvane/interface.h"

namespace {

const char kPoseName[] = "Biped Pose";
const char kHandPoseName[] = "Biped Hand(s) Pose";

// One row onto the bone of its slot; a bone the biped lacks is skipped.
void ApplyRow(const cbipanim& tool, int slot, const cquat& rot, int now) {
    if (cnode* bone = BoneAt(tool, slot)) WriteRotationKey(bone, now, rot);
}

}  // namespace

void cbipanim::Pose(int pose, int skipRoot) {
    if (pose != kBodyPoseIdle && pose != kBodyPoseSkin) return;
    if (!HasBones(*this)) return;  // unbound: no empty undo step
    FrameUndoScope undo(kPoseName, *this);
    PoseKeys(pose, skipRoot);
}

void cbipanim::PoseKeys(int pose, int skipRoot) {
    if (pose != kBodyPoseIdle && pose != kBodyPoseSkin) return;
    const BipBodyPose& table = bodyPoseTables[pose];
    const int now = GetAnimTime();
    for (const ckey& row : table) {
        if (row.time == kNoSlot || (skipRoot && row.time == kSlotRoot)) continue;
        ApplyRow(*this, row.time, row.rot, now);
    }
}

int cbipanim::PoseHand(int hand, int pose) {
    if (hand == kHandNone || pose < 0 || pose >= kNumHandPoses) return 0;
    if (hand != kHandRight && hand != kHandLeft && hand != kHandBoth) return 0;
    if (!HasBones(*this)) return 0;  // unbound: no empty undo step
    const BipHandPose& table = handPoseTables[pose];
    FrameUndoScope undo(kHandPoseName, *this);
    const int now = GetAnimTime();
    if (hand == kHandRight || hand == kHandBoth)
        for (const ckey& row : table)
            if (row.time != kNoSlot) ApplyRow(*this, kSlotRHand + row.time, row.rot, now);
    if (hand == kHandLeft || hand == kHandBoth)
        for (const ckey& row : table)
            if (row.time != kNoSlot)
                ApplyRow(*this, kSlotLHand + row.time, ReflectLimb(row.rot), now);
    return 1;
}
