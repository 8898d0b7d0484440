// Finiteness checks of scene content and of the live scene's world placement.
#include "scene_check.h"

#include <cmath>
#include <initializer_list>

#include "quorvane/node.h"
#include "scene_view.h"
#include "text_escape.h"

namespace qvapp {
namespace {

std::string NodeWhere(const std::string& name) { return "node \"" + EscapeText(name) + "\""; }

// The first of the named values that is not finite, as "WHERE WHAT is not finite".
template <typename T>
bool CheckValues(const std::string& where, std::initializer_list<std::pair<const char*, T>> values,
                 std::string& error) {
    for (const auto& [what, value] : values)
        if (!IsFinite(value)) {
            error = where + " " + what + " is not finite";
            return false;
        }
    return true;
}

bool CheckNode(const SavedNode& n, std::string& error) {
    const std::string where = NodeWhere(n.name);
    if (!CheckValues<ccolor>(where, {{"color", n.color}}, error) ||
        !CheckValues<cquat>(where, {{"ik initial", n.ik.initial}}, error) ||
        !CheckValues<cpoint3>(where, {{"ik min", n.ik.min}, {"ik max", n.ik.max}}, error))
        return false;
    for (const ckey& k : n.keys) {
        const std::string at = where + " key at frame " + std::to_string(k.time);
        if (!CheckValues<cpoint3>(at, {{"pos", k.pos}, {"scale", k.scale}}, error) ||
            !CheckValues<cquat>(at, {{"rot", k.rot}}, error))
            return false;
    }
    for (size_t i = 0; i < n.vertices.size(); ++i) {
        const SavedVertex& v = n.vertices[i];
        const std::string at = where + " vertex " + std::to_string(i);
        if (!CheckValues<cpoint3>(at, {{"pos", v.pos}}, error)) return false;
        for (const SavedWeight& w : v.weights)
            if (!std::isfinite(w.value) || !IsFinite(w.offset)) {
                error = at + " weight on \"" + EscapeText(w.bone) + "\" is not finite";
                return false;
            }
    }
    return true;
}

}  // namespace

bool CheckFinite(const SavedScene& scene, std::string& error) {
    for (const SavedNode& n : scene.nodes)
        if (!CheckNode(n, error)) return false;
    return true;
}

bool CheckWorldFinite(const std::vector<cnode*>& nodes, int t, std::string& error) {
    for (cnode* n : nodes) {
        const std::string where = NodeWhere(n->GetName() ? n->GetName() : "");
        if (!CheckValues<cpoint3>(where, {{"world position", n->GetPosition(t)},
                                          {"world scale", n->GetScale(t)}},
                                  error) ||
            !CheckValues<cquat>(where, {{"world rotation", n->GetRotation(t)}}, error))
            return false;
    }
    return true;
}

bool CheckSceneFinite(int t, std::string& error) {
    return CheckFinite(CaptureScene(), error) && CheckWorldFinite(DrawnNodes(t), t, error);
}

}  // namespace qvapp
