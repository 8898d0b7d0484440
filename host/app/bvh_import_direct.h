// Keying a take that `bvh export` wrote straight back onto a biped: each joint names a bone, so
// its own rotation goes onto that bone and the root's position is taken as it stands. Export
// then import gives the pose back, which the modify panel's "Load BVH" (fitting a take's rest
// pose onto the biped's "Idle") does not.
#pragma once

#include <string>

#include "Skeleton/BipFile/BipFileBvh.h"

class cnode;

namespace qvapp {

// True when the joints of the tree (End Sites aside) are the bones of the biped under bipedRoot,
// one each, named as `bvh export` names them: a take of the classic names alone is not one.
bool BvhNamesBipedBones(BVHBone& container, cnode* bipedRoot);

// Keys every frame f of the take at time at + f on the bones the joints name (recording on for
// the while): each bone's rotation from its joint's, the root's position from the root joint's.
// The largest difference between a joint's offset and its bone's length, as a share of the
// bone's, goes into mismatch (0 for a biped of the take's proportions). False, with nothing
// keyed, when a joint names no bone.
bool KeyBvhOntoBiped(BVHBone& container, cnode* bipedRoot, int at, float& mismatch, std::string& error);

}  // namespace qvapp
