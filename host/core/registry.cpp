// The registry of live nodes and the scene generation counter.
#include <unordered_set>

#include "core_internal.h"
#include "qvcore/host.h"

namespace {

std::unordered_set<const cnode*>& Live() {
    // Never destroyed: nodes held in static storage of modules may outlive this library's
    // own statics at exit.
    static auto* live = new std::unordered_set<const cnode*>();
    return *live;
}

}  // namespace

namespace qv::detail {
unsigned long long sceneGeneration = 1;  // 0 marks an empty evaluation cache
}

namespace qv {

unsigned long long SceneGeneration() { return detail::sceneGeneration; }
void BumpSceneGeneration() { ++detail::sceneGeneration; }

namespace detail {

void RegisterNode(cnode* node) { Live().insert(node); }
void UnregisterNode(cnode* node) { Live().erase(node); }
bool IsLive(const cnode* node) { return node && Live().count(node) != 0; }
const std::unordered_set<const cnode*>& LiveNodes() { return Live(); }

}  // namespace detail
}  // namespace qv
