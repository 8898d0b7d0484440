// Rewriting a take into the plug-in reader's layout: rotations re-expressed in Z, X, Y order,
// position channels kept on the root alone, and the joints the caller does not keep folded
// into the joints below them.
#pragma once

#include <functional>
#include <string>

#include "bvh_take.h"

namespace qvapp {

// A joint's rotation as a matrix turning column vectors of its frame into its parent's.
struct BvhRotation {
    double m[3][3];
};

// The rotation of a joint's channel values in one motion row, composed in channel order:
// "Zrotation Xrotation Yrotation" gives Rz · Rx · Ry (column vectors, the first listed applied
// last), as every BVH reader composes them.
BvhRotation BvhJointRotation(const BvhTakeJoint& joint, const double* row);

// Angles in degrees (X, Y, Z) with Rz(Z) · Rx(X) · Ry(Y) = r; X within [-90, 90].
void BvhZxyAngles(const BvhRotation& r, double& x, double& y, double& z);

// The take in the plug-in reader's layout, with the root and the joints `keep` names. A joint
// left out passes its rotation, frame by frame, to the kept joints below it (their world
// rotations stay exact) and its offset into theirs (taken at rest, so their world positions
// stay exact as long as the joints left out do not turn). Position channels of joints other
// than the root are kept as offsets at the first frame.
BvhTake FoldBvhTake(const BvhTake& take, const std::function<bool(const std::string&)>& keep);

}  // namespace qvapp
