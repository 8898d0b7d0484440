// The direct key-back of an exported take: the file's frame is the host's with y and z
// exchanged, as the export writes it, and a joint's rotation is its bone's parent-relative one.
#include "bvh_import_direct.h"

#include <algorithm>
#include <map>
#include <vector>

#include "bvh_export_text.h"
#include "quorvane/interface.h"
#include "quorvane/math.h"
#include "quorvane/node.h"

namespace qvapp {
namespace {

cpoint3 FromFile(const cpoint3& p) { return MakePt3(p.x, p.z, p.y); }
cquat FromFile(const cquat& q) { return MakeQuat(q.x, q.z, q.y, q.w); }

bool IsEndSite(const BVHBone& joint) { return joint.children.empty() && joint.layout == BvhLayout::None; }

// The biped's bones by the joint names the export gives them.
std::map<std::string, cnode*> BonesByJointName(cnode* root) {
    std::map<std::string, cnode*> out;
    std::vector<cnode*> open{root};
    while (!open.empty()) {
        cnode* bone = open.back();
        open.pop_back();
        out[BvhJointName(root->GetName(), bone->GetName())] = bone;
        for (int i = 0; i < bone->NumChildren(); ++i)
            if (cnode* child = bone->GetChild(i); child && child->GetTypeID() == QV_TYPE_BONE) open.push_back(child);
    }
    return out;
}

// The joints of the take with the bone each names, End Sites left out; empty when one names none.
struct Named {
    BVHBone* joint;
    cnode* bone;
    int parent;  // index of the parent's entry, -1 for the root
};
std::vector<Named> NameJoints(BVHBone& container, cnode* bipedRoot, std::string* missing) {
    std::vector<Named> out;
    if (!bipedRoot || container.children.empty()) return out;
    const std::map<std::string, cnode*> bones = BonesByJointName(bipedRoot);
    std::map<const BVHBone*, int> index;
    for (BVHBone* joint : BvhPreOrder(container.children[0].get())) {
        if (IsEndSite(*joint)) continue;
        const auto it = bones.find(joint->name);
        if (it == bones.end()) {
            if (missing) *missing = joint->name;
            return {};
        }
        const auto p = index.find(joint->parent);
        index[joint] = static_cast<int>(out.size());
        out.push_back({joint, it->second, p == index.end() ? -1 : p->second});
    }
    return out;
}

}  // namespace

bool BvhNamesBipedBones(BVHBone& container, cnode* bipedRoot) {
    const size_t named = NameJoints(container, bipedRoot, nullptr).size();
    return named > 0 && named == BonesByJointName(bipedRoot).size();
}

bool KeyBvhOntoBiped(BVHBone& container, cnode* bipedRoot, int at, float& mismatch, std::string& error) {
    std::string missing;
    const std::vector<Named> joints = NameJoints(container, bipedRoot, &missing);
    if (joints.empty()) {
        error = missing.empty() ? "the take has no joints" : "the joint " + missing + " names no bone of the biped";
        return false;
    }
    mismatch = 0;
    for (const Named& n : joints) {
        if (n.parent < 0) continue;
        const float bone = Length(n.bone->GetPosition(at) - joints[n.parent].bone->GetPosition(at));
        const float joint = Length(n.joint->position);
        if (bone > 0) mismatch = std::max(mismatch, std::abs(joint - bone) / bone);
    }
    const int frames = static_cast<int>(joints[0].joint->frameCount);
    const int wasOn = Interface::IsAnimOn();
    Interface::SetAnimOn(1);
    std::vector<cquat> world(joints.size());
    for (int f = 0; f < frames; ++f) {
        for (const Named& n : joints) SetBvhPose(*n.joint, f);
        joints[0].bone->SetPosition(at + f, FromFile(joints[0].joint->position));
        // world = local × parentWorld, parents first so that each bone turns under its parent's new pose
        for (size_t i = 0; i < joints.size(); ++i) {
            const cquat local = FromFile(joints[i].joint->rotation);
            world[i] = joints[i].parent < 0 ? local : local * world[joints[i].parent];
            joints[i].bone->SetRotation(at + f, world[i]);
        }
    }
    Interface::SetAnimOn(wasOn);
    return true;
}

}  // namespace qvapp
