// Between the two sides: symmetric and opposite copies of a bone's key at one time, the
// exchange of a pair's keys (at one time or over whole tracks) and the reflection of a centre
// bone onto itself. A slot without a node makes a call do nothing.
#include <vector>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/Posing/BipKeys.h"
#include "Skeleton/Bip/Posing/BipReflect.h"
#include "quorvane/node.h"

namespace {

std::vector<ckey> TrackKeys(cnode* bone) {
    std::vector<ckey> keys(static_cast<size_t>(bone->anim.NumKeys()));
    for (int i = 0; i < static_cast<int>(keys.size()); ++i) bone->anim.GetKeyAt(i, keys[i]);
    return keys;
}

// The track rewritten key by key with the reflected keys, their times included.
void WriteReflectedTrack(cnode* bone, const std::vector<ckey>& keys) {
    const int n = static_cast<int>(keys.size());
    bone->anim.SetNumKeys(n, 1);
    for (int i = 0; i < n; ++i) bone->anim.SetKeyAt(i, ReflectLimbKey(keys[i]), 0);
    bone->UpdateTimeIdle();
}

}  // namespace

void cbipanim::SymBones(int t, int src, int dst, int pos, int rot, int scale) {
    cnode* s = BoneAt(*this, src);
    cnode* d = BoneAt(*this, dst);
    if (!s || !d) return;
    const ckey from = ReadKeyAt(s, t);
    ckey to = ReadKeyAt(d, t);
    if (rot) to.rot = ReflectLimb(from.rot);
    if (pos) to.pos = ReflectLimb(from.pos);
    if (scale) to.scale = from.scale;
    WriteKey(d, to);
}

void cbipanim::OppBones(int t, int src, int dst, int x, int y, int z) {
    cnode* s = BoneAt(*this, src);
    cnode* d = BoneAt(*this, dst);
    if (!s || !d) return;
    const cpoint3 eSrc = QuatToEuler(ReadKeyAt(s, t).rot);
    ckey to = ReadKeyAt(d, t);
    cpoint3 eDst = QuatToEuler(to.rot);
    if (x) eDst.x = eSrc.x;
    if (y) eDst.y = eSrc.y;
    if (z) eDst.z = -eSrc.z;
    to.rot = EulerToQuat(eDst);
    WriteKey(d, to);
}

void cbipanim::SwapBones(int t, int a, int b, int pos, int rot, int scale) {
    cnode* na = BoneAt(*this, a);
    cnode* nb = BoneAt(*this, b);
    if (!na || !nb) return;
    const ckey readA = ReadKeyAt(na, t);
    const ckey readB = ReadKeyAt(nb, t);
    ckey keyA = readA, keyB = readB;
    if (rot) keyA.rot = ReflectLimb(readB.rot), keyB.rot = ReflectLimb(readA.rot);
    if (pos) keyA.pos = ReflectLimb(readB.pos), keyB.pos = ReflectLimb(readA.pos);
    if (scale) keyA.scale = readB.scale, keyB.scale = readA.scale;
    WriteKey(nb, keyB);
    WriteKey(na, keyA);
}

void cbipanim::SwapSingleBones(int t, int slot) {
    cnode* bone = BoneAt(*this, slot);
    if (!bone) return;
    WriteKey(bone, ReflectCentreKey(slot, ReadKeyAt(bone, t), PelvisReference()));
}

void cbipanim::SwapBoneKeys(int a, int b) {
    cnode* na = BoneAt(*this, a);
    cnode* nb = BoneAt(*this, b);
    if (!na || !nb) return;
    const std::vector<ckey> keysB = TrackKeys(nb);
    const std::vector<ckey> keysA = TrackKeys(na);
    WriteReflectedTrack(nb, keysA);
    WriteReflectedTrack(na, keysB);
}

void cbipanim::SwapSingleBoneKeys(int slot) {
    cnode* bone = BoneAt(*this, slot);
    if (!bone) return;
    const cquat pelvisRef = PelvisReference();  // worked out once for the whole track
    const int n = bone->anim.NumKeys();
    for (int i = 0; i < n; ++i) {
        ckey key;
        bone->anim.GetKeyAt(i, key);
        bone->anim.SetKeyAt(i, ReflectCentreKey(slot, key, pelvisRef), 0);
    }
    bone->UpdateTimeIdle();
}
