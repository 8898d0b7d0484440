// Capturing the scene and writing it as .qscene JSON.
#include <map>

#include "qvcore/file_write.h"
#include "qvcore/host.h"
#include "quorvane/interface.h"
#include "quorvane/skin.h"
#include "scene_check.h"
#include "scene_file.h"

namespace qvapp {
namespace {

// Weights name their bones; like a parent, a bone outside the scene is not saved, and neither
// is its weight.
void CaptureSkin(cskin& skin, const std::map<const cnode*, int>& saved, SavedNode& out) {
    for (const cskinvertex& v : skin.verts) {
        SavedVertex sv;
        sv.pos = v.pos;
        for (int w = 0; w < v.numWeights && w < QV_MAX_SKIN_WEIGHTS; ++w) {
            const cskinweight& weight = v.weights[w];
            if (!saved.count(weight.bone)) continue;
            const char* bone = weight.bone->GetName();
            sv.weights.push_back({weight.value, weight.offset, bone ? bone : ""});
        }
        out.vertices.push_back(std::move(sv));
    }
    out.triangles = skin.triangles;
}

Json KeysToJson(const std::vector<ckey>& keys) {
    Json out = Json::array();
    for (const ckey& k : keys) out.push_back(JsonKey(k));
    return out;
}

Json SkinToJson(const SavedNode& n) {
    Json verts = Json::array();
    for (const SavedVertex& v : n.vertices) {
        Json weights = Json::array();
        for (const SavedWeight& w : v.weights)
            weights.push_back(
                {{"value", JsonFloat(w.value)}, {"offset", JsonPoint(w.offset)},
                 {"bone", JsonText(w.bone)}});
        verts.push_back({{"pos", JsonPoint(v.pos)}, {"weights", weights}});
    }
    return {{"vertices", verts}, {"triangles", n.triangles}};
}

}  // namespace

SavedScene CaptureScene() {
    SavedScene scene;
    scene.time = GetAnimTime();
    scene.start = Interface::GetAnimStart();
    scene.end = Interface::GetAnimEnd();
    scene.tpf = Interface::GetAnimTPF();
    scene.anim = Interface::IsAnimOn() != 0;

    std::map<const cnode*, int> index;
    std::vector<cnode*> nodes;
    for (int i = 0; i < Interface::NumNodes(); ++i)
        if (cnode* n = Interface::GetNodeAt(i)) {
            index[n] = static_cast<int>(nodes.size());
            nodes.push_back(n);
        }
    for (cnode* n : nodes) {
        SavedNode s;
        s.name = n->GetName() ? n->GetName() : "";
        s.type = n->GetTypeID() == QV_TYPE_SKIN ? QV_TYPE_SKIN
                 : n->GetTypeID() == QV_TYPE_BONE ? QV_TYPE_BONE : QV_TYPE_NODE;
        // A parent outside the scene is not saved; the node then loads without one.
        if (auto it = index.find(n->GetParent()); it != index.end()) s.parent = it->second;
        for (int c = 0; c < n->NumChildren(); ++c)
            if (auto it = index.find(n->GetChild(c)); it != index.end())
                s.children.push_back(it->second);
        s.color = n->GetColor();
        s.flags = n->GetFlags();
        s.ik = n->GetIKInfo();
        for (int k = 0; k < n->anim.NumKeys(); ++k) {
            ckey key;
            if (n->anim.GetKeyAt(k, key)) s.keys.push_back(key);
        }
        if (s.type == QV_TYPE_SKIN) CaptureSkin(*static_cast<cskin*>(n), index, s);
        scene.nodes.push_back(std::move(s));
    }
    return scene;
}

Json SceneToJson(const SavedScene& scene) {
    Json nodes = Json::array();
    for (const SavedNode& n : scene.nodes) {
        Json j = {{"name", JsonText(n.name)},
                  {"type", n.type},
                  {"parent", n.parent < 0 ? Json(nullptr) : Json(n.parent)},
                  {"children", n.children},
                  {"color", JsonColour(n.color)},
                  {"flags", n.flags},
                  {"ik",
                   {{"initial", JsonQuat(n.ik.initial)},
                    {"min", JsonPoint(n.ik.min)},
                    {"max", JsonPoint(n.ik.max)},
                    {"dof", n.ik.dof}}},
                  {"keys", KeysToJson(n.keys)}};
        if (n.type == QV_TYPE_SKIN) j["skin"] = SkinToJson(n);
        nodes.push_back(std::move(j));
    }
    return {{"format", kSceneFormat},
            {"version", kSceneVersion},
            {"time", scene.time},
            {"range", {scene.start, scene.end}},
            {"tpf", scene.tpf},
            {"anim", scene.anim},
            {"nodes", nodes}};
}

bool CheckSavable(const SavedScene& scene, std::string& error) {
    if (scene.start > scene.end) {
        error = "the range " + std::to_string(scene.start) + ".." + std::to_string(scene.end) +
                " is reversed";
        return false;
    }
    return CheckFinite(scene, error);
}

bool SaveSceneFile(const std::string& path, std::string& error) {
    const SavedScene scene = CaptureScene();
    if (!CheckSavable(scene, error)) {
        error = "cannot save " + path + ": " + error;
        return false;
    }
    return qv::WriteFileReplacing(path, SceneToJson(scene).dump(1) + "\n", error);
}

}  // namespace qvapp
