// Automatic skin weights: each vertex weighted to its nearest bones by the distance to each
// bone's segment, with a smooth inverse-power falloff.
#pragma once

#include <vector>

#include "quorvane/math.h"

class cnode;
class cskin;

namespace qvapp {

// Weight of a bone at distance d (host units) from a vertex before normalising:
// 1 / (d² + kBindSoftening²)². The softening keeps a vertex on a bone finite and lets
// neighbouring bones share a vertex smoothly where their segments meet.
inline constexpr float kBindSoftening = 0.05f;  // host units (a biped 8 units tall: 0.6 %)
// Weights below this share of a vertex's total are dropped before normalising again.
inline constexpr float kBindMinShare = 0.01f;

// ROOT and every node below it, depth first, children in order.
std::vector<cnode*> BonesUnder(cnode* root);
// The bone's segment at t: from its position to the mean of its children's positions, or to
// its tip (qv::BoneTip) when it has none. The mean keeps a pelvis with thighs on both sides
// symmetric, where the first child alone would lean to one side.
void BoneSegment(cnode* bone, int t, cpoint3& start, cpoint3& end);
// Distance from p to the segment a..b (a point when a == b).
float SegmentDistance(const cpoint3& p, const cpoint3& a, const cpoint3& b);
// Gives every vertex of the skin at most maxPerVertex weights from the bones (normalised,
// largest first), offsets taken at time t, and records the bind (cskin::SetBind).
void BindSkin(cskin& skin, const std::vector<cnode*>& bones, int t, int maxPerVertex);

}  // namespace qvapp
