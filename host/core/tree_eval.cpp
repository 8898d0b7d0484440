// Placing a whole tree of nodes at one time: the world matrices parent before child, then the
// rotations four at a time; and the watch that decides when a caller is asking frame by frame.
#include "tree_eval.h"

#include <algorithm>
#include <vector>

#include "core_internal.h"
#include "key_eval.h"
#include "rotation_block.h"

namespace qv::detail {

unsigned long long hierarchyVersion = 1;
TreeWatch treeWatch;

namespace {

// Nodes moved to one new frame in a row before their tree is placed whole: a caller asking
// several nodes at one frame is taken to want them all.
constexpr int kMovesBeforeTree = 3;
// The fewest nodes a placement must have placed for being mostly asked to count.
constexpr int kMinTreeNodes = 4;

}  // namespace

bool ShouldPlaceTree(int t) {
    TreeWatch& w = treeWatch;
    if (t == w.missTime) {
        ++w.missCount;
    } else {
        w.missTime = t;
        w.missCount = 1;
    }
    const bool lastTreeUsed = w.treeNodes >= kMinTreeNodes && 2 * w.treeAsked >= w.treeNodes;
    // After a tree placed in vain (a caller asking a few nodes of a big tree at each frame),
    // as many moves as half that tree before the next.
    const int movesNeeded = std::max(kMovesBeforeTree, w.treeNodes / 2);
    return lastTreeUsed || w.missCount >= movesNeeded;
}

}  // namespace qv::detail

namespace {

// The nodes of root's tree, every parent before its children; remade when the hierarchy
// changes or another tree is asked.
const std::vector<cnode*>& TreeOrder(cnode* root) {
    static const cnode* orderRoot = nullptr;
    static unsigned long long orderVersion = 0;
    static std::vector<cnode*> order;
    if (root == orderRoot && orderVersion == qv::detail::hierarchyVersion) return order;
    order.clear();
    order.push_back(root);
    for (size_t i = 0; i < order.size(); ++i)
        for (int c = 0; c < order[i]->NumChildren(); ++c) order.push_back(order[i]->GetChild(c));
    orderRoot = root;
    orderVersion = qv::detail::hierarchyVersion;
    return order;
}

// One node's evaluation on its way through the steps of a tree's placement.
struct Placing {
    cnode* node;
    canim::Segment segment;
    qv::math::SlerpWeights weights;
    ckey key;
};

// The keys at t of the nodes being placed: first where t falls in each track (the lookups, whose
// reads from memory overlap), then the slerp weights (the sines), then the keys themselves.
void KeysAt(std::vector<Placing>& placing, int t) {
    for (Placing& p : placing) {
        if (!p.node->anim.SegmentAt(t, p.segment)) p.segment = canim::Segment{};
        else if (p.segment.b) qv::detail::PrefetchKeysAhead(p.segment.b);
    }
    for (Placing& p : placing)
        if (p.segment.b) p.weights = qv::math::ArcWeights(*p.segment.arc, p.segment.u);
    for (Placing& p : placing) {
        const canim::Segment& s = p.segment;
        if (!s.a) {
            p.key = ckey{};
        } else if (!s.b) {
            p.key = *s.a;
        } else {
            p.key.pos = qv::math::Lerp(s.a->pos, s.b->pos, s.u);
            p.key.scale = qv::math::Lerp(s.a->scale, s.b->scale, s.u);
            p.key.rot = qv::math::BlendAlong(*s.arc, p.weights);
        }
        p.key.time = t;
    }
}

}  // namespace

// world = local × parentWorld for every node of the tree that is not fresh at t, parents first
// (a parent is fresh by the time its children are worked out), then their rotations. Each step
// runs over all the nodes before the next, so that the nodes' work overlaps instead of waiting
// on one node's chain of roots, quotients and sines at a time.
void QvNodeAccess::PlaceTree(cnode* node, int t) {
    cnode* root = node;
    while (root->parent_) root = root->parent_;
    const std::vector<cnode*>& nodes = TreeOrder(root);
    qv::detail::TreeWatch& watch = qv::detail::treeWatch;
    const long long away = static_cast<long long>(t) - watch.treeTime;  // frames, any ints
    const bool jumped = away < -1 || away > 1;
    if (jumped)  // a far frame: every track's keys there start on their way at once
        for (const cnode* n : nodes) qv::detail::PrefetchKeysAt(n->anim, t);

    static std::vector<Placing> placing;
    static std::vector<const cmatrix4*> worlds;
    static std::vector<cquat> rotations;
    placing.clear();
    const unsigned long long gen = qv::detail::sceneGeneration;
    for (cnode* n : nodes) {
        const cnode::EvalCache& c = n->cache_;
        if (!(c.valid && c.generation == gen && c.time == t)) placing.push_back(Placing{n, {}, {}, {}});
    }
    KeysAt(placing, t);

    worlds.clear();
    for (Placing& p : placing) {
        cnode::EvalCache& c = p.node->cache_;
        const cmatrix4 local = qv::detail::LocalMatrix(p.key);
        c.world = p.node->parent_ ? qv::math::Multiply(local, p.node->parent_->cache_.world) : local;
        c.scale = p.key.scale;
        c.time = t;
        c.generation = gen;
        c.valid = true;
        c.haveInverse = false;
        c.unasked = true;
        worlds.push_back(&c.world);
    }
    rotations.resize(worlds.size());
    qv::math::RotationsOf(worlds.data(), rotations.data(), static_cast<int>(worlds.size()));
    for (size_t i = 0; i < placing.size(); ++i) {
        placing[i].node->cache_.rotation = rotations[i];
        placing[i].node->cache_.haveRotation = true;
    }
    watch.treeTime = t;
    watch.treeNodes = static_cast<int>(placing.size());
    watch.treeAsked = 0;
}
