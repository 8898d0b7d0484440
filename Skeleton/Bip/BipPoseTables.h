// The default body poses "Idle" and "Skin" and the twelve hand poses as constant data: rows in
// the layout of the host's key record, whose time field holds the slot (body) or the offset from
// the hand's slot (hand) that the row poses.
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

constexpr int kNumHandPoses = 12;  // "Skin", "Idle", "Relaxed" .. "Pistol", by pose number
constexpr int kHandPoseRows = 16;  // row 0 the hand, row 1 + 3f + l finger f link l

// A hand pose row: time = the offset from the hand's slot, rot = the right hand's
// parent-relative rotation (the left hand gets the limb reflection).
using BipHandPose = std::array<ckey, kHandPoseRows>;

// handPoseTables[pose number][row].
extern const std::array<BipHandPose, kNumHandPoses> handPoseTables;
