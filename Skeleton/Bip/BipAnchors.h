// Foot and hand anchors: an anchored limb is re-solved on every host notification so that its
// end (foot or hand) stays at a fixed world point while the body moves.
#pragma once

#include "quorvane/math.h"

class cbipanim;
class cnode;

// One anchorable limb: its three bone slots and the panel's check box for it.
struct AnchorLimb {
    int upper;   // thigh or upper arm
    int middle;  // calf or forearm
    int end;     // foot or hand: the bone held at the anchor
    int box;     // the panel's check box
};
// Right foot, left foot, right hand, left hand: the order of anchorOn and anchorPos, and the
// order in which the limbs are solved.
extern const AnchorLimb kAnchorLimbs[4];

// 1 when the bound biped has all three bones of limb k (0..3).
int AnchorLimbPresent(const cbipanim& tool, int k);

// Turns the node about its own position so that the direction from it to `current` turns onto
// the direction from it to `target`; keys the node's rotation at time t as the host's
// recording state says. Directions of zero length, or already within a thousandth of a degree
// of each other, change nothing; exactly opposite directions turn by 180 degrees about an axis
// perpendicular to the current direction. Always 1.
int AimBone(int t, cpoint3 target, cpoint3 current, cnode* node);
