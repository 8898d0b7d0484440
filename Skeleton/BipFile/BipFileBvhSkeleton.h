// The file's skeleton rebuilt as temporary host bones (outside the scene), so that the host's
// own evaluation turns the file's channels into per-bone local keys in the host's frame.
#pragma once

#include <vector>

#include "Skeleton/BipFile/BipFileBvh.h"

class cnode;

// Entries of the temporary bone list: one per joint with children, plus one.
constexpr int kBvhMaxListBones = 32;

struct BvhTempSkeleton {
    // The temporary bone list: every joint with children, and in the last entry the last bone
    // built; the import maps by name over these.
    std::vector<cnode*> list;
    // Every bone made, with its joint, in the order made (a joint before its children).
    std::vector<cnode*> made;
    int frames = 0;          // F: the largest frame count of any joint
    float frameTime = 0.0f;  // the largest frame time of any joint, seconds
};

// List entries a tree needs: its joints with children, plus one.
int BvhListEntriesNeeded(const BVHBone& container);

// Builds a bone per joint under the container, keys every frame of every joint on it and turns
// the keys into local keys in the host's frame. The tree is posed through its frames on the way.
void BuildBvhSkeleton(BVHBone& container, BvhTempSkeleton& skeleton);

// Deletes every bone made, children before their parents.
void DeleteBvhSkeleton(BvhTempSkeleton& skeleton);
