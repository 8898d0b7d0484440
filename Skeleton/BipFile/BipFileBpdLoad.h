// Loading a ".BPD" file onto a biped: the frames a load fills, worked out from the options,
// and the keys it writes, bone by bone, with the root travelling by the file's steps.
#pragma once

#include "Skeleton/BipFile/BipFileBpd.h"
#include "Skeleton/BipFile/BipFileOptions.h"
#include "quorvane/math.h"

class cnode;

// What a load derives before it writes a key.
struct BpdLoadPlan {
    int span = 1;          // frames of the source range: Last - First + 1
    int perCopy = 1;       // N, frames per copy: Num Frames when scaling, else span
    float timeFactor = 1;  // N / span
    int end = 0;           // last frame filled: Insert At + Repeat x N - 1
    float legRatio = 1;    // the biped's leg measure over the file's; root steps scale by it
    cpoint3 rootStart;     // root position at Insert At before the load
    cpoint3 rightFoot;     // "R Foot" and "L Foot" positions at Insert At before the load
    cpoint3 leftFoot;
};

// Works the plan out (and sets Num Frames to the span when not scaling); 0 when the frames it
// would fill lie beyond what a frame number holds.
int PlanBpdLoad(cnode* const* bones, const BpdFile& file, BpdLoadOptions& options,
                BpdLoadPlan& plan);
// Bytes of the keys the load makes at the most: each of the file's keys once per copy and a
// closing key per copy, on every bone record.
size_t BpdLoadKeyBytes(const BpdFile& file, const BpdLoadOptions& options);
// Writes the file's keys onto the bones (83 slots) with recording on, then aligns the root to
// the chosen foot; the host's recording flag is as it was afterwards.
void ApplyBpd(cnode* const* bones, const BpdFile& file, const BpdLoadOptions& options,
              const BpdLoadPlan& plan);
