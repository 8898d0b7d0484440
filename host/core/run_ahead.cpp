// A node run through the frames on its own: the frames ahead evaluated together and kept until
// asked, dropped when the node or an ancestor changes (or the scene generation moves on).
#include "run_ahead.h"

#include "core_internal.h"
#include "key_eval.h"
#include "rotation_block.h"

namespace qv::detail {

RunAhead runAhead;

}  // namespace qv::detail

// world = local × parentWorld at t .. t + kRunAheadFrames - 1; frame t goes to the node's cache,
// the others are kept. The parent's worlds come from its evaluation or its frame table.
void QvNodeAccess::RunAheadFrom(cnode* node, int t) {
    qv::detail::RunAhead& ahead = qv::detail::runAhead;
    constexpr int kFrames = qv::detail::kRunAheadFrames;
    ahead.node = nullptr;
    for (int k = 0; k < kFrames; ++k) {
        const ckey key = qv::detail::KeyAt(node->anim, t + k);
        const cmatrix4 local = qv::detail::LocalMatrix(key);
        // ParentWorld answers a reference into a table the next call may move: used at once.
        ahead.world[k] = node->parent_ ? qv::math::Multiply(local, ParentWorld(node->parent_, t + k))
                                       : local;
        ahead.scale[k] = key.scale;
    }
    const cmatrix4* worlds[kFrames];
    for (int k = 0; k < kFrames; ++k) worlds[k] = &ahead.world[k];
    qv::math::RotationsOf(worlds, ahead.rotation, kFrames);
    ahead.node = node;
    ahead.generation = qv::detail::sceneGeneration;
    ahead.from = t;
    TakeFromRunAhead(node, t);
}

bool QvNodeAccess::TakeFromRunAhead(cnode* node, int t) {
    const qv::detail::RunAhead& ahead = qv::detail::runAhead;
    if (ahead.node != node || ahead.generation != qv::detail::sceneGeneration) return false;
    const long long k = static_cast<long long>(t) - ahead.from;
    if (k < 0 || k >= qv::detail::kRunAheadFrames) return false;
    cnode::EvalCache& c = node->cache_;
    c.world = ahead.world[k];
    c.rotation = ahead.rotation[k];
    c.scale = ahead.scale[k];
    c.time = t;
    c.generation = ahead.generation;
    c.valid = true;
    c.haveRotation = true;
    c.haveInverse = false;
    c.unasked = false;
    return true;
}
