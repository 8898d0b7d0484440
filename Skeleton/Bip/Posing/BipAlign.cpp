// "Align": the root is keyed at the current time so that a chosen bone goes back to where it
// stood at another frame, on the checked position and rotation components.
#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/Posing/BipKeys.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace {
const char kAlignName[] = "Biped Align";
}  // namespace

void cbipanim::Align(int slot, int frame, int posX, int posY, int posZ, int rotX, int rotY,
                     int rotZ) {
    const int now = GetAnimTime();
    cnode* bone = BoneAt(*this, slot);
    cnode* root = bones[kSlotRoot];
    const int anyPos = posX || posY || posZ;
    const int anyRot = rotX || rotY || rotZ;
    if ((!anyPos && !anyRot) || !bone || !root || frame == now) return;
    {
        FrameUndoScope undo(kAlignName, *this);
        AnimOnScope recording;
        if (anyPos) {
            // The bone's displacement from now back to the frame, added to the root.
            const cpoint3 d = bone->GetPosition(frame) - bone->GetPosition(now);
            cpoint3 p = root->GetPosition(now);
            if (posX) p.x += d.x;
            if (posY) p.y += d.y;
            if (posZ) p.z += d.z;
            root->SetPosition(now, p);
        }
        if (anyRot) {
            const cpoint3 eThen = QuatToEuler(bone->GetRotation(frame));
            const cpoint3 eNow = QuatToEuler(bone->GetRotation(now));
            cpoint3 e{};
            if (rotX) e.x = eThen.x - eNow.x;
            if (rotY) e.y = eThen.y - eNow.y;
            if (rotZ) e.z = eThen.z - eNow.z;
            // root' = Q × turn: the root's rotation now, then the Euler difference.
            root->SetRotation(now, root->GetRotation(now) * EulerToQuat(e));
        }
    }
    RefreshViews();
}
