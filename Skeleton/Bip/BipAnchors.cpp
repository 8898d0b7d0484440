// Anchor solving: bend the knee or elbow so that the limb reaches as far as its anchor, then
// turn the thigh or upper arm so that the limb's end points at it. Run on every notification.
#include "Skeleton/Bip/BipAnchors.h"

#include <algorithm>
#include <cmath>

#include "Skeleton/Bip/BipAnim.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"
#include "resources/resource.h"

const AnchorLimb kAnchorLimbs[4] = {
    {kSlotRThigh, kSlotRCalf, kSlotRFoot, IDC_PANEL_ANCHOR_R_FOOT},
    {kSlotLThigh, kSlotLCalf, kSlotLFoot, IDC_PANEL_ANCHOR_L_FOOT},
    {kSlotRUpperArm, kSlotRForearm, kSlotRHand, IDC_PANEL_ANCHOR_R_HAND},
    {kSlotLUpperArm, kSlotLForearm, kSlotLHand, IDC_PANEL_ANCHOR_L_HAND},
};

namespace {
constexpr double kRadToDeg = 57.29577951308232;
// Lengths below this (host units) count as zero: no direction can be formed from them.
constexpr float kMinLength = 1e-6f;
// Cross products shorter than this leave the turn axis undetermined (directions opposite).
constexpr float kMinAxisLength = 1e-6f;
// A limb end this close to its anchor (host units) is on it and its limb is left alone, so that
// a limb just anchored, or given back by undo, keeps its keys bit for bit. Positions a few units
// from the origin carry float noise of about 1e-6 units.
constexpr float kOnAnchorDistance = 1e-5f;
// Turns smaller than this (degrees) are not written: solving a limb that is already solved
// changes no key. A thousandth of a degree moves a hand two units away by 3.5e-5 units.
constexpr double kSettledTurnDeg = 1e-3;

// acos in degrees of a cosine brought into [-1, 1], so that rounding never gives NaN.
float AcosDeg(double c) { return static_cast<float>(std::acos(std::clamp(c, -1.0, 1.0)) * kRadToDeg); }

// A unit axis perpendicular to the unit direction d: d crossed with the world axis least
// aligned with it.
cpoint3 PerpendicularAxis(const cpoint3& d) {
    const float ax = std::fabs(d.x), ay = std::fabs(d.y), az = std::fabs(d.z);
    cpoint3 other{0.0f, 0.0f, 1.0f};
    if (ax <= ay && ax <= az) other = {1.0f, 0.0f, 0.0f};
    else if (ay <= az) other = {0.0f, 1.0f, 0.0f};
    return Normalize(CrossProd(d, other));
}

// Angle in degrees of the turn that takes rotation b to rotation a: 2·atan2(|v|, |w|) of
// a × Inverse(b), exact for small angles where acos of a dot product is not.
double TurnDeg(const cquat& a, const cquat& b) {
    const cquat r = a * Inverse(b);
    const double v = std::sqrt(double(r.x) * r.x + double(r.y) * r.y + double(r.z) * r.z);
    return 2.0 * std::atan2(v, std::fabs(double(r.w))) * kRadToDeg;
}

// Bends the middle bone so that a limb of bone lengths l1 and l2 reaches the distance d from
// its upper joint: a pure turn about the middle bone's local z by 2·acos(d / (l1 + l2)).
// middleWorld = bend × upperWorld (the bend is parent-relative to the upper bone).
void BendMiddle(int t, cnode* upper, cnode* middle, float reachRatio) {
    const cquat bend = QuatFromAngleAxis(2.0f * AcosDeg(reachRatio), MakePt3(0.0f, 0.0f, 1.0f));
    const cquat flip = MakeQuat(0.0f, 0.0f, 0.0f, -1.0f);  // the same rotation, other sign
    const cquat bent = Normalize((bend * flip) * upper->GetRotation(t));
    if (TurnDeg(bent, middle->GetRotation(t)) < kSettledTurnDeg) return;
    middle->SetRotation(t, bent);
}

// Angle in degrees between two unit directions, atan2(|a × b|, a · b): exact near 0 and 180.
double AngleDeg(const cpoint3& a, const cpoint3& b) {
    return std::atan2(double(Length(CrossProd(a, b))), double(DotProd(a, b))) * kRadToDeg;
}
}  // namespace

int AnchorLimbPresent(const cbipanim& tool, int k) {
    if (k < 0 || k >= cbipanim::kNumAnchors) return 0;
    const AnchorLimb& limb = kAnchorLimbs[k];
    return tool.bones[limb.upper] && tool.bones[limb.middle] && tool.bones[limb.end] ? 1 : 0;
}

// The turn is applied after the node's world rotation: world' = world × turn.
int AimBone(int t, cpoint3 target, cpoint3 current, cnode* node) {
    const cpoint3 p = node->GetPosition(GetAnimTime());
    const cpoint3 toTarget = target - p, toCurrent = current - p;
    if (Length(toTarget) < kMinLength || Length(toCurrent) < kMinLength) return 1;
    const cpoint3 dirTarget = Normalize(toTarget), dirCurrent = Normalize(toCurrent);
    const double angle = AngleDeg(dirTarget, dirCurrent);
    if (angle < kSettledTurnDeg) return 1;  // the directions already agree
    // With row vectors a positive angle about dirTarget × dirCurrent carries current to target.
    cpoint3 axis = CrossProd(dirTarget, dirCurrent);
    axis = Length(axis) < kMinAxisLength ? PerpendicularAxis(dirCurrent) : Normalize(axis);
    cquat q = node->GetRotation(t) * QuatFromAngleAxis(static_cast<float>(angle), axis);
    q.Normalize();
    node->SetRotation(t, q);
    return 1;
}

void cbipanim::Notify(unsigned long event, unsigned long, unsigned long, void*) {
    if (event == QV_EVENT_UNDO_BEGIN) {
        const int n = theUndo.NumLevels();
        if (n > 0 && theUndo.GetLevelType(n - 1) == QV_UNDO_SELECTION) keepBinding = 1;
    } else if (event == QV_EVENT_UNDO_END) {
        keepBinding = 0;
    }
    for (int k = 0; k < kNumAnchors; ++k) {
        if (anchorOn[k]) {
            UpdateAnchors();
            return;
        }
    }
}

void cbipanim::UpdateAnchors() {
    for (int k = 0; k < kNumAnchors; ++k) {
        if (!anchorOn[k] || !AnchorLimbPresent(*this, k)) continue;
        cnode* upper = bones[kAnchorLimbs[k].upper];
        cnode* middle = bones[kAnchorLimbs[k].middle];
        cnode* end = bones[kAnchorLimbs[k].end];
        const cpoint3 target = anchorPos[k];
        if (Length(end->GetPosition(GetAnimTime()) - target) < kOnAnchorDistance) continue;
        const cpoint3 posU = upper->GetPosition(GetAnimTime());
        const cpoint3 posM = middle->GetPosition(GetAnimTime());
        const cpoint3 posE = end->GetPosition(GetAnimTime());
        const float reach = Length(posU - posM) + Length(posM - posE);
        const float d = Length(posU - target);
        // A limb of no length cannot be bent towards anything; it is only aimed.
        if (reach > kMinLength && d / reach < 1.0f) BendMiddle(GetAnimTime(), upper, middle, d / reach);
        AimBone(GetAnimTime(), target, end->GetPosition(GetAnimTime()), upper);
    }
}
