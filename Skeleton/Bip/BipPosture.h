// The posture clipboard: one posture of 83 bone records, module-wide, shared by every biped
// and every opening of the panel.
#pragma once

#include <array>

#include "Skeleton/Bip/BipBones.h"
#include "quorvane/anim.h"

// Record i: time = slot i, or -1 when the bone had no node at the copy; position, rotation and
// scale at the copy's time (the root's in world terms, every other bone's parent-relative).
extern std::array<ckey, kNumSlots> postureClipboard;
// 1 once a "Copy" has found a bone: "Paste" and "Paste Mirrored" are then enabled.
extern int postureValid;
