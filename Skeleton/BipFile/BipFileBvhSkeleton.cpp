// Temporary host bones for a BVH tree: one bone per joint keyed with the joint's pose at every
// frame, y and z exchanged on the way in, then each key re-expressed as a local key with the
// file's y axis turned over, so that the skeleton stands in the host's frame.
#include "Skeleton/BipFile/BipFileBvhSkeleton.h"

#include <algorithm>

#include "quorvane/node.h"
#include "quorvane/util.h"

namespace {

const char kSource[] = "Skeleton/BipFile";

// A joint's pose as a key: every position and rotation that passes from a joint to a bone has
// its y and z exchanged.
ckey JointKey(const BVHBone& joint, int t) {
    ckey k;
    k.time = t;
    k.pos = MakePt3(joint.position.x, joint.position.z, joint.position.y);
    k.rot = MakeQuat(joint.rotation.x, joint.rotation.z, joint.rotation.y, joint.rotation.w);
    return k;
}

class Builder {
public:
    Builder(BVHBone& container, BvhTempSkeleton& s) : container_(container), s_(s) {}
    void Build(BVHBone& joint);
    void KeyFrames();
    void Rebase(int t);

private:
    void MakeBone(BVHBone& c);
    void RebaseUnder(int p, int t);

    BVHBone& container_;
    BvhTempSkeleton& s_;
    std::vector<BVHBone*> joints_;  // the joint of each bone made
    std::vector<cmatrix4> nodeTM_;  // world matrix of each list entry at the frame rebased
    int index_ = -1;
};

// The list index moves on once per call, so a joint with children keeps its entry and a
// joint without is replaced by the next bone made.
void Builder::Build(BVHBone& joint) {
    ++index_;
    s_.list.resize(index_ + 1, nullptr);
    for (auto& child : joint.children) {
        MakeBone(*child);
        s_.frames = std::max(s_.frames, static_cast<int>(child->frameCount));
        s_.frameTime = std::max(s_.frameTime, child->frameTime);
        if (!child->children.empty()) Build(*child);
    }
}

void Builder::MakeBone(BVHBone& c) {
    cnode* bone = CreateNewBone();
    if (!bone) {
        MyAssertFailedLine("bone", kSource, __LINE__);
        return;
    }
    s_.made.push_back(bone);
    joints_.push_back(&c);
    s_.list[index_] = bone;
    bone->SetName(c.name);
    c.user = bone;
    if (c.parent != &container_) {
        if (c.parent && c.parent->user) c.parent->user->Attach(bone, 1);
        else MyAssertFailedLine("curBone->parent->user", kSource, __LINE__);
    }
    bone->anim.SetKey(JointKey(c, 0));
    bone->UpdateTimeIdle();
}

// Frame 0 was keyed as the bones were made; every further frame is played and keyed.
void Builder::KeyFrames() {
    for (int k = 1; k < s_.frames; ++k) {
        AdvanceBvh(container_, 1.0f, 1);
        for (size_t i = 0; i < s_.made.size(); ++i) s_.made[i]->anim.SetKey(JointKey(*joints_[i], k));
    }
    for (cnode* bone : s_.made) bone->UpdateTimeIdle();
}

// The world matrices of every list entry at t, then each key under the parentless entries,
// depth first, re-expressed in its parent's frame.
void Builder::Rebase(int t) {
    nodeTM_.assign(s_.list.size(), cmatrix4{});
    for (size_t i = 0; i < s_.list.size(); ++i)
        if (s_.list[i]) nodeTM_[i] = s_.list[i]->GetNodeTM(t, 7);
    for (cnode* bone : s_.list)
        if (bone && !bone->GetParent()) RebaseUnder(-1, t);
}

cmatrix4 FlipRow1(cmatrix4 m) {
    for (int c = 0; c < 3; ++c) m.m[1][c] = -m.m[1][c];
    return m;
}

// local = flip(world) × Inverse(flip(parentWorld)), flip negating row 1 (the image of the y
// axis); the key keeps the local's translation, row lengths as scale and its rotation.
void Builder::RebaseUnder(int p, int t) {
    const cmatrix4 parentInv = Inverse(FlipRow1(p < 0 ? cmatrix4{} : nodeTM_[p]));
    const cnode* parent = p < 0 ? nullptr : s_.list[p];
    for (size_t i = 0; i < s_.list.size(); ++i) {
        cnode* bone = s_.list[i];
        if (!bone || bone->GetParent() != parent) continue;
        ckey key;
        if (bone->anim.GetKey(t, key)) {
            const cmatrix4 local = FlipRow1(nodeTM_[i]) * parentInv;
            key.pos = local.GetRow(3);
            key.scale = MakePt3(Length(local.GetRow(0)), Length(local.GetRow(1)), Length(local.GetRow(2)));
            key.rot = QuatFromMatrix(local);
            bone->anim.SetKey(key);
            bone->UpdateTimeIdle();
        }
        if (bone->NumChildren()) RebaseUnder(static_cast<int>(i), t);
    }
}

int CountWithChildren(const BVHBone& joint) {
    int n = 0;
    for (const auto& c : joint.children)
        if (!c->children.empty()) n += 1 + CountWithChildren(*c);
    return n;
}

}  // namespace

int BvhListEntriesNeeded(const BVHBone& container) { return CountWithChildren(container) + 1; }

void BuildBvhSkeleton(BVHBone& container, BvhTempSkeleton& skeleton) {
    skeleton = BvhTempSkeleton{};
    Builder b(container, skeleton);
    b.Build(container);
    b.KeyFrames();
    b.Rebase(0);  // frame 0 first, then the last frame down to 1
    for (int t = skeleton.frames - 1; t >= 1; --t) b.Rebase(t);
}

void DeleteBvhSkeleton(BvhTempSkeleton& skeleton) {
    for (auto it = skeleton.made.rbegin(); it != skeleton.made.rend(); ++it) (*it)->DeleteThis();
    skeleton = BvhTempSkeleton{};
}
