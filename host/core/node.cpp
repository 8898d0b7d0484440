// Scene nodes: hierarchy, evaluation of world placement from the key tracks (cached per time
// until the node or an ancestor changes), world-to-parent-relative writes under the recording
// rule, disposal.
#include "quorvane/node.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "core_internal.h"
#include "frame_table.h"
#include "key_eval.h"
#include "math_inline.h"
#include "qvcore/host.h"
#include "quorvane/interface.h"
#include "tree_eval.h"

namespace {

using qv::detail::KeyAt;
using qv::detail::LocalMatrix;

// Colour of a new bone (0..1 RGB): a light bone-like tan.
constexpr ccolor kDefaultBoneColour{0.82f, 0.70f, 0.45f, 1.0f};

// Re-expresses every key of the track from one parent frame to another, so the node's world
// placement is unchanged: newLocal = local × oldParentWorld × Inverse(newParentWorld).
void ReparentKeys(canim& anim, const cmatrix4& oldParentWorld, const cmatrix4& newParentWorld) {
    cmatrix4 correction = oldParentWorld * Inverse(newParentWorld);
    cquat rotCorrection = QuatFromMatrix(correction);
    for (int i = 0; i < anim.NumKeys(); ++i) {
        ckey k;
        anim.GetKeyAt(i, k);
        k.pos = k.pos * correction;
        k.rot = Normalize(k.rot * rotCorrection);  // local rotation, then the correction
        anim.SetKeyAt(i, k, 0);
    }
}

}  // namespace

cnode::cnode() {
    anim.owner_ = this;
    qv::detail::RegisterNode(this);
}

cnode::~cnode() {
    qv::detail::ForgetNode(this);
    DetachAll(1);  // while this node still sits under its parent, so children keep their place
    if (parent_) parent_->Detach(this, 0);
    qv::detail::UnregisterNode(this);
    qv::detail::DropFrameTable(this);
    qv::detail::DropRunAhead(this);
    if (qv::detail::runAhead.lastNode == this) qv::detail::runAhead.lastNode = nullptr;
    ++qv::detail::hierarchyVersion;
    qv::BumpSceneGeneration();
}

void cnode::DeleteThis() { delete this; }

int cnode::GetTypeID() const { return QV_TYPE_NODE; }
const char* cnode::GetName() const { return name_.c_str(); }
void cnode::SetName(const char* name) { name_ = name ? name : ""; }
ccolor cnode::GetColor() const { return color_; }
void cnode::SetColor(const ccolor& c) { color_ = c; }
unsigned cnode::GetFlags() const { return flags_; }

// The selected bit follows the selection; only the other bits are the caller's.
void cnode::SetFlags(unsigned flags) {
    flags_ = (flags & ~static_cast<unsigned>(QV_FLAG_SELECTED)) | (flags_ & QV_FLAG_SELECTED);
}

// --- hierarchy --------------------------------------------------------------------------------

cnode* cnode::GetParent() const { return parent_; }
int cnode::NumChildren() const { return static_cast<int>(children_.size()); }
cnode* cnode::GetChild(int i) const {
    return i >= 0 && i < NumChildren() ? children_[i] : nullptr;
}

void cnode::Attach(cnode* child, int keepWorld) {
    if (!child) return;
    for (const cnode* a = this; a; a = a->parent_) {
        if (a == child) {
            std::fprintf(stderr, "Attach: \"%s\" cannot become a child of its own descendant \"%s\"\n",
                         child->GetName(), GetName());
            return;
        }
    }
    if (child->parent_ == this) return;
    int t = GetAnimTime();
    cmatrix4 oldParentWorld = child->parent_ ? child->parent_->GetNodeTM(t) : cmatrix4{};
    cmatrix4 newParentWorld = GetNodeTM(t);
    if (child->parent_) {
        auto& sib = child->parent_->children_;
        sib.erase(std::remove(sib.begin(), sib.end(), child), sib.end());
    }
    child->parent_ = this;
    children_.push_back(child);
    ++qv::detail::hierarchyVersion;
    QvNodeAccess::InvalidateSubtree(child);
    if (keepWorld) ReparentKeys(child->anim, oldParentWorld, newParentWorld);
}

void cnode::Detach(cnode* child, int keepWorld) {
    if (!child || child->parent_ != this) return;
    cmatrix4 oldParentWorld = GetNodeTM(GetAnimTime());
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
    child->parent_ = nullptr;
    ++qv::detail::hierarchyVersion;
    QvNodeAccess::InvalidateSubtree(child);
    if (keepWorld) ReparentKeys(child->anim, oldParentWorld, cmatrix4{});
}

void cnode::DetachAll(int keepWorld) {
    while (!children_.empty()) Detach(children_.back(), keepWorld);
}

// --- evaluation -------------------------------------------------------------------------------

// world = local × parentWorld, cached for one time until the node or an ancestor changes
// (or the scene generation moves on). A node moved on to a new frame may have its whole tree
// placed there with it, when the nodes are being asked frame by frame; a node run through the
// frames on its own is evaluated some frames ahead.
cnode::EvalCache& QvNodeAccess::EvaluateAfresh(cnode* node, int t) {
    cnode::EvalCache& c = node->cache_;
    const unsigned long long gen = qv::detail::sceneGeneration;
    const bool stepped = qv::detail::NoteEvaluation(node, t);
    if (TakeFromRunAhead(node, t)) return c;
    const bool movedFrame = c.generation != 0 && c.time != t;
    if (movedFrame && qv::detail::ShouldPlaceTree(t)) {
        PlaceTree(node, t);
        c.unasked = false;
        qv::detail::NoteTreeNodeAsked();
        return c;
    }
    // Run ahead only for a node stepped on from a placement still fresh: one whose track is
    // written at every frame (a recording loop) would throw the frames ahead away each time.
    const bool freshBefore = c.valid && c.generation == gen && c.time == static_cast<long long>(t) - 1;
    if (stepped && freshBefore && t <= std::numeric_limits<int>::max() - qv::detail::kRunAheadFrames) {
        RunAheadFrom(node, t);
        return c;
    }
    const long long away = static_cast<long long>(t) - c.time;  // frames, any ints
    if (c.generation == gen && (away < -1 || away > 1)) PrefetchChildKeys(node, t);
    const ckey k = KeyAt(node->anim, t);
    c.world = node->parent_ ? qv::math::Multiply(LocalMatrix(k), ParentWorld(node->parent_, t))
                            : LocalMatrix(k);
    c.scale = k.scale;
    c.time = t;
    c.generation = gen;
    c.valid = true;
    c.haveRotation = false;
    c.haveInverse = false;
    c.unasked = false;
    return c;
}

// A node asked at a time away from its last is being scrubbed or jumped, and its children are
// usually asked next at the same time: the keys their tracks would hold there if evenly spaced
// (where the track lookup looks first) start on their way from memory now.
void QvNodeAccess::PrefetchChildKeys(const cnode* node, int t) {
    for (const cnode* child : node->children_) qv::detail::PrefetchKeysAt(child->anim, t);
}

// world = local × parentWorld of a parent at t, for a child. A parent that is fresh at another
// time keeps its own evaluation where it is and answers from its frame table, so that a child
// run through every frame after the parent was costs one evaluation of the parent per frame,
// not one of every ancestor per frame and child.
const cmatrix4& QvNodeAccess::ParentWorld(cnode* node, int t) {
    const cnode::EvalCache& c = node->cache_;
    const unsigned long long gen = qv::detail::sceneGeneration;
    if (!c.valid || c.generation != gen || c.time == t) return Evaluate(node, t).world;
    qv::detail::FrameTable& table = qv::detail::FrameTableOf(node);
    if (const cmatrix4* world = table.Find(t, gen)) return *world;
    const ckey k = KeyAt(node->anim, t);
    const cmatrix4 world = node->parent_
                               ? qv::math::Multiply(LocalMatrix(k), ParentWorld(node->parent_, t))
                               : LocalMatrix(k);
    return table.Store(t, world);
}

cmatrix4 cnode::GetNodeTM(int t, int /*mode*/) { return QvNodeAccess::Evaluate(this, t).world; }

cpoint3 cnode::GetPosition(int t) { return QvNodeAccess::Evaluate(this, t).world.GetTrans(); }

// Rotation of the world matrix with its scale taken out (rows normalised).
cquat cnode::GetRotation(int t) {
    EvalCache& c = QvNodeAccess::Evaluate(this, t);
    if (!c.haveRotation) {
        c.rotation = qv::math::RotationOf(c.world);
        c.haveRotation = true;
    }
    return c.rotation;
}

cpoint3 cnode::GetScale(int t) {
    const EvalCache& c = cache_;
    if (c.valid && c.generation == qv::detail::sceneGeneration && c.time == t) return c.scale;
    return KeyAt(anim, t).scale;
}

// Inverse(world) of the node at t, made once per evaluation.
const cmatrix4& QvNodeAccess::WorldInverse(cnode* node, int t) {
    cnode::EvalCache& c = Evaluate(node, t);
    if (!c.haveInverse) {
        c.inverse = Inverse(c.world);
        c.haveInverse = true;
    }
    return c.inverse;
}

// --- writes (world values in, parent-relative keys out) ----------------------------------------

namespace {

// Applies edit to the key at t (recording on, or a key exists there); otherwise applies
// spread(key) to every key, the same change the edit made at t. A track of one key holds the
// value at every time, so that key takes the edit itself, exactly, at its own time.
// current is the track's interpolated key at t (KeyAt), as the caller already made it.
template <class Edit, class Spread>
void WriteUnderRecordingRule(canim& anim, int t, const ckey& current, Edit edit, Spread spread) {
    ckey existing;
    if (Interface::IsAnimOn() || anim.GetKey(t, existing) || anim.NumKeys() == 0) {
        ckey k = current;
        edit(k);
        anim.SetKey(k);
        return;
    }
    if (anim.NumKeys() == 1) {
        ckey k;
        anim.GetKeyAt(0, k);
        edit(k);
        anim.SetKeyAt(0, k, 0);
        return;
    }
    for (int i = 0; i < anim.NumKeys(); ++i) {
        ckey k;
        anim.GetKeyAt(i, k);
        spread(k);
        anim.SetKeyAt(i, k, 0);
    }
}

}  // namespace

// localPos = worldPos · Inverse(parentWorld); without a key at t (recording off) every key's
// position moves by the same offset.
void cnode::SetPosition(int t, const cpoint3& p) {
    cpoint3 local = parent_ ? p * QvNodeAccess::WorldInverse(parent_, t) : p;
    const ckey current = KeyAt(anim, t);
    cpoint3 delta = local - current.pos;
    WriteUnderRecordingRule(
        anim, t, current, [&](ckey& k) { k.pos = local; }, [&](ckey& k) { k.pos += delta; });
}

// local = world × Inverse(parentWorld); without a key at t (recording off) every key's
// rotation is followed by the same change: key × (Inverse(old) × new).
void cnode::SetRotation(int t, const cquat& q) {
    cquat local = parent_ ? q * Inverse(parent_->GetRotation(t)) : q;
    local.Normalize();
    const ckey current = KeyAt(anim, t);
    cquat change = Normalize(Inverse(current.rot) * local);
    WriteUnderRecordingRule(
        anim, t, current, [&](ckey& k) { k.rot = local; },
        [&](ckey& k) { k.rot = Normalize(k.rot * change); });
}

// Scales spread to other keys as a per-axis factor (or are set outright from a zero scale).
void cnode::SetScale(int t, const cpoint3& s) {
    const ckey current = KeyAt(anim, t);
    const cpoint3 old = current.scale;
    WriteUnderRecordingRule(
        anim, t, current, [&](ckey& k) { k.scale = s; },
        [&](ckey& k) {
            for (int a = 0; a < 3; ++a) k.scale[a] = old[a] != 0.0f ? k.scale[a] * (s[a] / old[a]) : s[a];
        });
}

void cnode::SnapKey(int t) {
    ckey k;
    if (anim.GetKey(t, k)) return;
    anim.SetKey(KeyAt(anim, t));
}

void cnode::UpdateTimeIdle() { qv::BumpSceneGeneration(); }

// --- IK settings --------------------------------------------------------------------------------

void cnode::SetIKInitialRot(const cquat& q) { ik_.initial = q; }
void cnode::SetIKMinRot(const cpoint3& deg) { ik_.min = deg; }
void cnode::SetIKMaxRot(const cpoint3& deg) { ik_.max = deg; }
void cnode::EnableIKDOF(int on) { ik_.dof = on ? 1 : 0; }

// --- display defaults -------------------------------------------------------------------------

void cnode::Flash(int /*on*/) {}
void cnode::Draw(int /*t*/, CGLWindow* /*view*/, unsigned /*flags*/) {}
int cnode::GetSeeThroughFlag() const { return 0; }
int cnode::DrawsMembers(int /*t*/, int /*viewKind*/) { return 0; }
int cnode::PicksForMembers(int /*t*/) { return 0; }
int cnode::NumMembers() const { return 0; }
cnode* cnode::GetMember(int /*i*/) const { return nullptr; }
void cnode::SetSelection(int /*t*/, int /*level*/, const cbooleanarray& /*sel*/, int /*replace*/) {}

// --- bones ------------------------------------------------------------------------------------

cbone::cbone() { color_ = kDefaultBoneColour; }
cbone::~cbone() = default;
int cbone::GetTypeID() const { return QV_TYPE_BONE; }

cbone* CreateNewBone() { return new cbone(); }
