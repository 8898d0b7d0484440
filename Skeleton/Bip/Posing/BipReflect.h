// Reflection across the biped's left-right plane: the limb reflection that carries a bone's
// values to its mirror bone, and the reflections of the centre bones (root, pelvis, spine
// links, neck, head) onto themselves.
#pragma once

#include "quorvane/anim.h"
#include "quorvane/math.h"

// Limb reflection: position (x, y, -z), rotation (-x, -y, z, w).
cpoint3 ReflectLimb(const cpoint3& p);
cquat ReflectLimb(const cquat& q);
// A key with its position and rotation reflected; time and scale kept.
ckey ReflectLimbKey(ckey key);

// The pelvis reference rotation A: the pelvis's reflection is taken in the frame it has in
// the default skeleton.
cquat PelvisReference();

// The root's reflection across its own local y axis: p' = ((p ⊗ R⁻¹) with y negated) ⊗ R,
// rotation (-x, y, -z, w), with R the root's rotation.
cpoint3 ReflectRootPosition(const cpoint3& p, const cquat& r);
cquat ReflectRootRotation(const cquat& r);
// The pelvis rotation reflected in the reference frame: reflect(R × A⁻¹) × A.
cquat ReflectPelvisRotation(const cquat& r, const cquat& a);

// A centre bone's key reflected onto itself, by slot: the root and the pelvis as above (the
// pelvis position's y negated), spine links, neck and head by the limb reflection; any other
// slot unchanged. a is PelvisReference().
ckey ReflectCentreKey(int slot, ckey key, const cquat& a);
