// Posing a BVH joint tree: a joint's channels of one frame into its position and rotation,
// playback that steps every joint through its frames, and the joints' world positions.
#include <cmath>
#include <unordered_map>

#include "Skeleton/BipFile/BipFileBvh.h"

namespace {

constexpr float kPi = 3.1415927f;          // single precision, as the rotation formula wants
constexpr float kOneOver180 = 0.0055555557f;

float HalfAngleRad(float deg) { return deg * kPi * kOneOver180 / 2.0f; }

// Column-vector rotation by q (R(q) · v). The host's p ⊗ q turns row vectors, p · R(q), which
// is the rotation by q's inverse, hence the conjugate.
cpoint3 Turn(const cquat& q, const cpoint3& v) { return v * cquat(-q.x, -q.y, -q.z, q.w); }

}  // namespace

cquat BvhEulerToQuat(const cpoint3& e) {
    const float a = HalfAngleRad(e.x), b = HalfAngleRad(e.y), c = HalfAngleRad(e.z);
    const float ca = std::cos(a), sa = std::sin(a);
    const float cb = std::cos(b), sb = std::sin(b);
    const float cc = std::cos(c), sc = std::sin(c);
    // qZ ⊗ qX ⊗ qY, written out.
    cquat q(cc * cb * sa - sc * sb * ca, sc * cb * sa + sb * cc * ca, sb * cc * sa + sc * cb * ca,
            cc * cb * ca - sc * sb * sa);
    q.Normalize();
    return q;
}

void SetBvhPose(BVHBone& joint, int frame) {
    if (joint.samples.empty()) return;
    if (joint.layout == BvhLayout::None) {
        joint.euler = cpoint3();
        joint.rotation = cquat();
        return;
    }
    const size_t count = static_cast<size_t>(BvhChannelCount(joint.layout));
    if (frame < 0 || (static_cast<size_t>(frame) + 1) * count > joint.samples.size()) return;
    const float* v = joint.samples.data() + static_cast<size_t>(frame) * count;
    if (joint.layout == BvhLayout::PositionRotation) {
        joint.position = cpoint3(v[0], v[1], v[2]);
        v += 3;
    }
    joint.euler = cpoint3(v[1], v[2], v[0]);  // the values read Z, X, Y
    joint.rotation = BvhEulerToQuat(joint.euler);
}

// Depth first over an explicit stack, so a deep tree cannot exhaust the call stack.
void AdvanceBvh(BVHBone& joint, float delta, int recurse) {
    std::vector<BVHBone*> pending{&joint};
    while (!pending.empty()) {
        BVHBone* j = pending.back();
        pending.pop_back();
        for (auto it = j->children.rbegin(); it != j->children.rend(); ++it) {
            BVHBone& child = **it;
            child.time += delta;
            if (child.time >= child.frameCount) child.time = 0.0f;
            if (child.time < 0.0f) child.time += child.frameCount;
            SetBvhPose(child, static_cast<int>(child.time));
            if (recurse && !child.children.empty()) pending.push_back(&child);
        }
    }
}

void FreeBvh(BVHBone& joint) {
    joint.samples.clear();
    joint.samples.shrink_to_fit();
    joint.children.clear();
}

// world rotation = parentWorld ⊗ local (column vectors: the local turn first);
// world position = parentWorld position + parentWorld rotation · local position.
std::vector<cpoint3> BvhWorldPositions(BVHBone* first) {
    const std::vector<BVHBone*> joints = BvhPreOrder(first);
    std::unordered_map<const BVHBone*, size_t> index;
    std::vector<cpoint3> pos(joints.size());
    std::vector<cquat> rot(joints.size());
    for (size_t i = 0; i < joints.size(); ++i) {
        const BVHBone* j = joints[i];
        index[j] = i;
        const auto parent = i == 0 ? index.end() : index.find(j->parent);
        if (parent == index.end()) {
            pos[i] = j->position;
            rot[i] = j->rotation;
            continue;
        }
        const size_t p = parent->second;
        pos[i] = pos[p] + Turn(rot[p], j->position);
        rot[i] = rot[p] * j->rotation;
    }
    return pos;
}
