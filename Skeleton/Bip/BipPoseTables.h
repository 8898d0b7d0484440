// The default body poses "Idle" and "Skin" as constant data: one row per bone slot in the
// layout of the host's key record, whose time field holds the slot the row poses.
#pragma once

#include <array>

#include "Skeleton/Bip/BipBones.h"
#include "quorvane/anim.h"

constexpr int kNumBodyPoses = 2;
constexpr int kBodyPoseIdle = 0;  // pose number of "Idle"
constexpr int kBodyPoseSkin = 1;  // pose number of "Skin"

// A body pose row: time = the slot it poses (-1: skip), rot = the slot's parent-relative
// rotation; position (0, 0, 0) and scale (1, 1, 1) are not used by the pose operations.
using BipBodyPose = std::array<ckey, kNumSlots>;

// bodyPoseTables[pose number][slot].
extern const std::array<BipBodyPose, kNumBodyPoses> bodyPoseTables;
