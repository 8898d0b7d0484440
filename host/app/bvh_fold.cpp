// Folding a take into the plug-in reader's layout (column vectors in the file's frame: a
// joint's point p lands at R · p + offset in its parent's frame).
#include "bvh_fold.h"

#include <algorithm>
#include <cmath>

namespace qvapp {
namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;
// Below this cos X the Z and Y angles turn about one axis: Y is then taken as 0.
constexpr double kGimbalCos = 1e-9;

BvhRotation Identity() { return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}; }

// a · b: b applied first, then a.
BvhRotation Times(const BvhRotation& a, const BvhRotation& b) {
    BvhRotation r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    return r;
}

BvhRotation AxisRotation(BvhChannel axis, double degrees) {
    const double c = std::cos(degrees / kDegrees), s = std::sin(degrees / kDegrees);
    switch (axis) {
        case BvhChannel::Xrotation: return {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
        case BvhChannel::Yrotation: return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
        case BvhChannel::Zrotation: return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
        default: return Identity();
    }
}

bool IsPosition(BvhChannel c) { return c <= BvhChannel::Zposition; }

// The joint's offset in its parent's frame at a row: the position channels it has replace the
// matching components of its OFFSET.
void Translation(const BvhTakeJoint& joint, const double* row, double (&out)[3]) {
    std::copy(std::begin(joint.offset), std::end(joint.offset), out);
    for (size_t i = 0; i < joint.channels.size(); ++i)
        if (IsPosition(joint.channels[i])) out[static_cast<int>(joint.channels[i])] = row[joint.firstValue + i];
}

// The nearest kept ancestor of every joint (-1 for the root) and the joints from there down.
struct Plan {
    std::vector<int> kept;        // take joint index of every output joint, pre-order
    std::vector<int> outIndex;    // output index of every take joint, -1 when left out
    std::vector<std::vector<int>> chain;  // per output joint: take joints from below its kept
                                          // parent down to itself
};

Plan MakePlan(const BvhTake& take, const std::function<bool(const std::string&)>& keep) {
    Plan plan;
    const int n = static_cast<int>(take.joints.size());
    plan.outIndex.assign(n, -1);
    std::vector<int> keptAncestor(n, -1);  // nearest kept joint at or above each joint
    for (int j = 0; j < n; ++j) {
        const int parent = take.joints[j].parent;
        const int above = parent < 0 ? -1 : keptAncestor[parent];
        if (j == 0 || keep(take.joints[j].name)) {
            plan.outIndex[j] = static_cast<int>(plan.kept.size());
            plan.kept.push_back(j);
            std::vector<int> chain{j};
            for (int p = parent; p >= 0 && p != above; p = take.joints[p].parent) chain.push_back(p);
            std::reverse(chain.begin(), chain.end());
            plan.chain.push_back(std::move(chain));
            keptAncestor[j] = j;
        } else {
            keptAncestor[j] = above;
        }
    }
    return plan;
}

// The End Site of a kept joint that keeps no child: its own, else its first child's offset.
void EndSiteOf(const BvhTake& take, int joint, BvhTakeJoint& out) {
    const BvhTakeJoint& j = take.joints[joint];
    out.hasEndSite = true;
    if (j.hasEndSite) {
        std::copy(std::begin(j.endSite), std::end(j.endSite), out.endSite);
        return;
    }
    for (size_t c = joint + 1; c < take.joints.size(); ++c)
        if (take.joints[c].parent == joint) {
            std::copy(std::begin(take.joints[c].offset), std::end(take.joints[c].offset), out.endSite);
            return;
        }
}

}  // namespace

BvhRotation BvhJointRotation(const BvhTakeJoint& joint, const double* row) {
    BvhRotation r = Identity();
    for (size_t i = 0; i < joint.channels.size(); ++i)
        if (!IsPosition(joint.channels[i]))
            r = Times(r, AxisRotation(joint.channels[i], row[joint.firstValue + i]));
    return r;
}

// Rz · Rx · Ry = | cz·cy − sz·sx·sy   −sz·cx   cz·sy + sz·sx·cy |
//                | sz·cy + cz·sx·sy    cz·cx   sz·sy − cz·sx·cy |
//                | −cx·sy               sx      cx·cy           |
void BvhZxyAngles(const BvhRotation& r, double& x, double& y, double& z) {
    const double sx = std::clamp(r.m[2][1], -1.0, 1.0);
    x = std::asin(sx) * kDegrees;
    if (std::sqrt(r.m[2][0] * r.m[2][0] + r.m[2][2] * r.m[2][2]) > kGimbalCos) {
        y = std::atan2(-r.m[2][0], r.m[2][2]) * kDegrees;
        z = std::atan2(-r.m[0][1], r.m[1][1]) * kDegrees;
    } else {
        y = 0;
        z = std::atan2(r.m[1][0], r.m[0][0]) * kDegrees;
    }
}

BvhTake FoldBvhTake(const BvhTake& take, const std::function<bool(const std::string&)>& keep) {
    BvhTake out;
    out.frameTime = take.frameTime;
    if (take.joints.empty()) return out;
    const Plan plan = MakePlan(take, keep);
    const int frames = take.Frames();
    const double* first = frames > 0 ? take.Row(0) : nullptr;

    // The hierarchy: offsets summed down each chain at rest (no turn of the joints left out).
    for (size_t o = 0; o < plan.kept.size(); ++o) {
        const int j = plan.kept[o];
        BvhTakeJoint joint;
        joint.name = take.joints[j].name;
        // The chain's top link hangs from the kept parent itself.
        const int above = take.joints[plan.chain[o].front()].parent;
        joint.parent = above < 0 ? -1 : plan.outIndex[above];
        for (int link : plan.chain[o]) {
            double t[3];
            if (first && link != 0) Translation(take.joints[link], first, t);
            else std::copy(std::begin(take.joints[link].offset), std::end(take.joints[link].offset), t);
            for (int a = 0; a < 3; ++a) joint.offset[a] += t[a];
        }
        joint.channels = o == 0 ? std::vector<BvhChannel>{BvhChannel::Xposition, BvhChannel::Yposition,
                                                          BvhChannel::Zposition, BvhChannel::Zrotation,
                                                          BvhChannel::Xrotation, BvhChannel::Yrotation}
                                : std::vector<BvhChannel>{BvhChannel::Zrotation, BvhChannel::Xrotation,
                                                          BvhChannel::Yrotation};
        joint.firstValue = out.valuesPerFrame;
        out.valuesPerFrame += static_cast<int>(joint.channels.size());
        out.joints.push_back(std::move(joint));
    }
    for (size_t o = 0; o < out.joints.size(); ++o) {
        bool hasChild = false;
        for (size_t c = o + 1; c < out.joints.size() && !hasChild; ++c)
            hasChild = out.joints[c].parent == static_cast<int>(o);
        if (!hasChild) EndSiteOf(take, plan.kept[o], out.joints[o]);
    }

    // The motion: each kept joint's rotation relative to its kept parent, links composed from
    // the top down (local = R(link 1) · R(link 2) · … · R(joint)); the root's position as it stands.
    out.values.resize(static_cast<size_t>(frames) * out.valuesPerFrame);
    for (int f = 0; f < frames; ++f) {
        const double* row = take.Row(f);
        double* written = out.values.data() + static_cast<size_t>(f) * out.valuesPerFrame;
        for (size_t o = 0; o < plan.kept.size(); ++o) {
            BvhRotation local = Identity();
            for (int link : plan.chain[o]) local = Times(local, BvhJointRotation(take.joints[link], row));
            if (o == 0) {
                double t[3];
                Translation(take.joints[0], row, t);
                written = std::copy(std::begin(t), std::end(t), written);
            }
            double x, y, z;
            BvhZxyAngles(local, x, y, z);
            *written++ = z;
            *written++ = x;
            *written++ = y;
        }
    }
    return out;
}

}  // namespace qvapp
