// Putting a rebuilt BVH skeleton's motion onto the bound biped: joints found by name, root
// travel scaled by leg length, rotations keyed on top of the "Idle" pose.
#pragma once

#include "Skeleton/BipFile/BipFileBvhNames.h"
#include "Skeleton/BipFile/BipFileBvhSkeleton.h"
#include "quorvane/math.h"

class cbipanim;
class cnode;

// The temporary bone of each name table entry (null where no joint has one of its names).
struct BvhNodeTable {
    cnode* node[kBvhNumNames] = {};
};

// The list entries by name, in list order; a later match replaces an earlier one.
BvhNodeTable MapBvhBones(const BvhTempSkeleton& skeleton);

// Right leg length at time 0: |hip - knee| + |knee - ankle|. Of the file's skeleton from the
// node table; of the biped from its slots 2, 3 and 4. 0 when a bone is missing.
float BvhLegMeasure(const BvhNodeTable& table);
float BipLegMeasure(const cbipanim& tool);

// Keys every mapped biped bone from the current time on with its joint's rotation on top of
// the bone's present rotation, and the root's travel scaled by `ratio`. frames is the file's F.
void TransferBvhMotion(cbipanim& tool, const BvhNodeTable& table, int frames, float ratio);
