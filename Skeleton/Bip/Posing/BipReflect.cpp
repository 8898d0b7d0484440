// Reflections of keys across the biped's left-right plane, for limbs and centre bones.
#include "Skeleton/Bip/Posing/BipReflect.h"

#include "Skeleton/Bip/BipBones.h"

namespace {

// Rows of the pelvis's default frame: (0, 0, 1), (0, -1, 0), (1, 0, 0) up to the residues the
// default skeleton carries (below 3e-6).
constexpr float kPelvisFrame[3][3] = {
    {-1.48306e-06f, -8.30555e-08f, 1.0f},
    {2.78045e-06f, -1.0000001f, -8.30515e-08f},
    {1.0f, 2.78045e-06f, 1.38293e-06f},
};
constexpr float kPelvisTurnDeg = 90.0f;  // about z, taken off the frame above

}  // namespace

cpoint3 ReflectLimb(const cpoint3& p) { return {p.x, p.y, -p.z}; }
cquat ReflectLimb(const cquat& q) { return {-q.x, -q.y, q.z, q.w}; }

ckey ReflectLimbKey(ckey key) {
    key.pos = ReflectLimb(key.pos);
    key.rot = ReflectLimb(key.rot);
    return key;
}

// A = QuatFromMatrix(P) × Inverse(EulerToQuat(0, 0, 90)): the frame P, then the turn undone.
cquat PelvisReference() {
    cmatrix4 frame;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) frame.m[i][j] = kPelvisFrame[i][j];
    return QuatFromMatrix(frame) * Inverse(EulerToQuat({0.0f, 0.0f, kPelvisTurnDeg}));
}

// The position taken into the root's own frame (p ⊗ R⁻¹), its y negated there, and taken back
// out (⊗ R).
cpoint3 ReflectRootPosition(const cpoint3& p, const cquat& r) {
    cpoint3 local = p * Inverse(r);
    local.y = -local.y;
    return local * r;
}

cquat ReflectRootRotation(const cquat& r) { return {-r.x, r.y, -r.z, r.w}; }

// In the reference frame: rotation relative to A (R × A⁻¹), reflected, then A applied again.
cquat ReflectPelvisRotation(const cquat& r, const cquat& a) {
    return ReflectLimb(r * Inverse(a)) * a;
}

ckey ReflectCentreKey(int slot, ckey key, const cquat& a) {
    if (slot == kSlotRoot) {
        key.pos = ReflectRootPosition(key.pos, key.rot);
        key.rot = ReflectRootRotation(key.rot);
    } else if (slot == kSlotPelvis) {
        key.pos.y = -key.pos.y;
        key.rot = ReflectPelvisRotation(key.rot, a);
    } else if (slot >= kSlotSpine && slot <= kSlotHead) {
        key = ReflectLimbKey(key);
    }
    return key;
}
