// The gait tables of walk and run key generation: for each gait and each of the 23 keyed bones,
// eight samples of one cycle (samples 0..6 are the cycle's keys, sample 7 its end, equal in pose
// to sample 0 one cycle later). The data is written by tools/gaitgen and lives apart from logic.
#pragma once

#include <cstdint>

#include "quorvane/math.h"

// One sample of one bone: 19 fields of 32 bits.
struct frame_t {
    int32_t time;       // frame of the sample within the cycle
    int32_t step;       // frames from the previous sample (sample 0: from the cycle's last)
    cpoint3 localPos;   // the bone's local offset, table units (not read by the generator)
    cquat localRot;     // the bone's parent-relative rotation: the value keyed
    cpoint3 posDelta;   // root only: movement since the previous sample, table frame
    cpoint3 worldPos;   // position in the table's frame (+z up, the walk along -y)
    cquat worldRot;     // rotation in the table's frame
};
static_assert(sizeof(frame_t) == 76, "a gait sample is 76 bytes");

constexpr int kNumGaits = 2;       // 0 walk, 1 run
constexpr int kGaitWalk = 0;
constexpr int kGaitRun = 1;
constexpr int kNumGaitBones = 23;  // keyed bones per gait
constexpr int kGaitSamples = 8;    // samples per bone table
constexpr int kGaitKeys = 7;       // keys per cycle (samples 0..6)
constexpr int kMinGaitLoops = 1;   // cycles a generation makes at the least
constexpr int kMaxGaitLoops = 100; // and at the most

// Slots of the 23 bone tables, in table order: root, pelvis, right leg, left leg, spine links,
// neck, head, right arm, left arm.
constexpr int kGaitRFoot = 4;      // table index of "R Foot"
constexpr int kGaitLFoot = 7;      // table index of "L Foot"
extern const int kGaitSlots[kNumGaitBones];

// gaitTables[gait][bone in table order][sample].
extern const frame_t gaitTables[kNumGaits][kNumGaitBones][kGaitSamples];

// The module-wide references of the generator, pointed at a gait's set at the start of each
// generation; they keep the last gait used.
extern const frame_t* gaitTable[kNumGaitBones];

// Sample a cycle starts at: walk 5 (right foot) or 2 (left), run 0 (right) or 3 (left).
int GaitStartSample(int gait, int startFoot);
