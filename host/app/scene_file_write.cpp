// Capturing the scene and writing it as .qscene JSON.
#include <fstream>
#include <map>

#include "qvcore/host.h"
#include "quorvane/interface.h"
#include "quorvane/skin.h"
#include "scene_file.h"

namespace qvapp {
namespace {

void CaptureSkin(cskin& skin, SavedNode& out) {
    for (const cskinvertex& v : skin.verts) {
        SavedVertex sv;
        sv.pos = v.pos;
        for (int w = 0; w < v.numWeights && w < QV_MAX_SKIN_WEIGHTS; ++w) {
            const cskinweight& weight = v.weights[w];
            const char* bone = weight.bone ? weight.bone->GetName() : nullptr;
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
                {{"value", JsonFloat(w.value)}, {"offset", JsonPoint(w.offset)}, {"bone", w.bone}});
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
        if (s.type == QV_TYPE_SKIN) CaptureSkin(*static_cast<cskin*>(n), s);
        scene.nodes.push_back(std::move(s));
    }
    return scene;
}

Json SceneToJson(const SavedScene& scene) {
    Json nodes = Json::array();
    for (const SavedNode& n : scene.nodes) {
        Json j = {{"name", n.name},
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

bool SaveSceneFile(const std::string& path, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot write scene file " + path;
        return false;
    }
    out << SceneToJson(CaptureScene()).dump(1) << "\n";
    if (!out.flush()) {
        error = "cannot write scene file " + path;
        return false;
    }
    return true;
}

}  // namespace qvapp
