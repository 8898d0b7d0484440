// Reading .qscene JSON: validation of the whole file first, then replacing the scene.
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include "file_budget.h"
#include "qvcore/host.h"
#include "qvplatform/ui.h"
#include "quorvane/interface.h"
#include "quorvane/skin.h"
#include "quorvane/undo.h"
#include "scene_check.h"
#include "scene_file.h"
#include "text_escape.h"
#include "tools.h"

namespace qvapp {
namespace {

constexpr long long kIntMin = std::numeric_limits<int>::min();
constexpr long long kIntMax = std::numeric_limits<int>::max();

// Reading helpers: each answers false with `error` set.

// Keeps the more precise error a helper set already; answers false.
bool Refuse(std::string& error, const std::string& text) {
    if (error.empty()) error = text;
    return false;
}

bool ReadInt(const Json& j, const std::string& what, int& out, std::string& error) {
    if (!j.is_number_integer()) {
        error = what + " must be a whole number";
        return false;
    }
    // Non-negative integers are held unsigned, up to 2^64 - 1.
    const bool inRange =
        j.is_number_unsigned()
            ? j.get<unsigned long long>() <= static_cast<unsigned long long>(kIntMax)
            : j.get<long long>() >= kIntMin && j.get<long long>() <= kIntMax;
    if (!inRange) {
        error = what + " is out of range";
        return false;
    }
    out = j.get<int>();
    return true;
}

// Node flags: every bit pattern of an unsigned 32-bit word, written as its non-negative value.
bool ReadFlags(const Json& j, const std::string& what, unsigned& out, std::string& error) {
    if (!j.is_number_unsigned() || j.get<unsigned long long>() > 0xFFFFFFFFull) {
        error = what + " must be a whole number from 0 to 4294967295";
        return false;
    }
    out = static_cast<unsigned>(j.get<unsigned long long>());
    return true;
}

const Json* Member(const Json& obj, const char* key, const std::string& where,
                   std::string& error) {
    auto it = obj.find(key);
    if (it == obj.end()) {
        error = where + ": \"" + key + "\" is missing";
        return nullptr;
    }
    return &*it;
}

bool ReadKeys(const Json& j, const std::string& where, std::vector<ckey>& keys,
              std::string& error) {
    // An empty track is a node that was never keyed; it evaluates as the fresh key.
    if (!j.is_array()) {
        error = where + ": \"keys\" must be an array";
        return false;
    }
    std::set<int> times;
    for (size_t i = 0; i < j.size(); ++i) {
        std::string w = where + " key " + std::to_string(i);
        const Json& k = j[i];
        if (!k.is_object()) {
            error = w + " must be an object";
            return false;
        }
        ckey key;
        const Json *t, *pos, *rot, *scale;
        if (!(t = Member(k, "t", w, error)) || !ReadInt(*t, w + " t", key.time, error)) return false;
        if (!(pos = Member(k, "pos", w, error)) || !ReadPoint(*pos, w + " pos", key.pos, error))
            return false;
        if (!(rot = Member(k, "rot", w, error)) || !ReadQuat(*rot, w + " rot", key.rot, error))
            return false;
        if (!(scale = Member(k, "scale", w, error)) ||
            !ReadPoint(*scale, w + " scale", key.scale, error))
            return false;
        if (!times.insert(key.time).second) {
            error = w + ": a second key at frame " + std::to_string(key.time);
            return false;
        }
        keys.push_back(key);
    }
    return true;
}

bool ReadIK(const Json& j, const std::string& where, cikinfo& ik, std::string& error) {
    const Json *a, *b, *c, *d;
    return j.is_object() && (a = Member(j, "initial", where, error)) &&
           ReadQuat(*a, where + " ik initial", ik.initial, error) &&
           (b = Member(j, "min", where, error)) && ReadPoint(*b, where + " ik min", ik.min, error) &&
           (c = Member(j, "max", where, error)) && ReadPoint(*c, where + " ik max", ik.max, error) &&
           (d = Member(j, "dof", where, error)) && ReadInt(*d, where + " ik dof", ik.dof, error);
}

bool ReadSkin(const Json& j, const std::string& where, bool escaped, SavedNode& n,
              std::string& error) {
    const Json *verts, *tris;
    if (!j.is_object() || !(verts = Member(j, "vertices", where, error)) ||
        !(tris = Member(j, "triangles", where, error)))
        return Refuse(error, where + ": \"skin\" must be an object");
    if (!verts->is_array() || !tris->is_array()) {
        error = where + ": skin vertices and triangles must be arrays";
        return false;
    }
    for (size_t i = 0; i < verts->size(); ++i) {
        std::string w = where + " vertex " + std::to_string(i);
        const Json& v = (*verts)[i];
        SavedVertex sv;
        const Json *pos, *weights;
        if (!v.is_object() || !(pos = Member(v, "pos", w, error)) ||
            !ReadPoint(*pos, w + " pos", sv.pos, error) ||
            !(weights = Member(v, "weights", w, error)))
            return Refuse(error, w + " must be an object");
        if (!weights->is_array() || weights->size() > QV_MAX_SKIN_WEIGHTS) {
            error = w + ": weights must be an array of at most " +
                    std::to_string(QV_MAX_SKIN_WEIGHTS);
            return false;
        }
        for (const Json& wj : *weights) {
            SavedWeight sw;
            const Json *value, *offset, *bone;
            if (!wj.is_object() || !(value = Member(wj, "value", w, error)) ||
                !ReadFloat(*value, w + " weight value", sw.value, error) ||
                !(offset = Member(wj, "offset", w, error)) ||
                !ReadPoint(*offset, w + " weight offset", sw.offset, error) ||
                !(bone = Member(wj, "bone", w, error)))
                return Refuse(error, w + ": a weight must be an object");
            if (!ReadText(*bone, w + " weight bone", escaped, sw.bone, error)) return false;
            sv.weights.push_back(std::move(sw));
        }
        n.vertices.push_back(std::move(sv));
    }
    if (tris->size() % 3 != 0) {
        error = where + ": triangles must hold three vertex indices each";
        return false;
    }
    for (const Json& t : *tris) {
        int v = 0;
        if (!ReadInt(t, where + " triangle index", v, error)) return false;
        if (v < 0 || v >= static_cast<int>(n.vertices.size())) {
            error = where + ": triangle index " + std::to_string(v) + " is out of range";
            return false;
        }
        n.triangles.push_back(v);
    }
    return true;
}

bool ReadNode(const Json& j, const std::string& where, bool escaped, SavedNode& n,
              std::string& error) {
    if (!j.is_object()) {
        error = where + " must be an object";
        return false;
    }
    const Json *name, *type, *parent, *children, *color, *flags, *ik, *keys;
    if (!(name = Member(j, "name", where, error)) || !(type = Member(j, "type", where, error)) ||
        !(parent = Member(j, "parent", where, error)) ||
        !(children = Member(j, "children", where, error)) ||
        !(color = Member(j, "color", where, error)) || !(flags = Member(j, "flags", where, error)) ||
        !(ik = Member(j, "ik", where, error)) || !(keys = Member(j, "keys", where, error)))
        return false;
    if (!ReadText(*name, where + " name", escaped, n.name, error)) return false;
    std::string w = where + " (\"" + EscapeText(n.name) + "\")";
    if (!ReadInt(*type, w + " type", n.type, error) ||
        !(parent->is_null() || ReadInt(*parent, w + " parent", n.parent, error)) ||
        !ReadColour(*color, w + " color", n.color, error) ||
        !ReadFlags(*flags, w + " flags", n.flags, error) || !ReadIK(*ik, w, n.ik, error) ||
        !ReadKeys(*keys, w, n.keys, error))
        return Refuse(error, w + ": \"ik\" must be an object");
    if (n.type != QV_TYPE_NODE && n.type != QV_TYPE_BONE && n.type != QV_TYPE_SKIN) {
        error = w + ": unknown node type " + std::to_string(n.type);
        return false;
    }
    if (!children->is_array()) {
        error = w + ": \"children\" must be an array";
        return false;
    }
    for (const Json& c : *children) {
        int index = 0;
        if (!ReadInt(c, w + " child", index, error)) return false;
        n.children.push_back(index);
    }
    if (n.type == QV_TYPE_SKIN) {
        const Json* skin = Member(j, "skin", w, error);
        if (!skin || !ReadSkin(*skin, w, escaped, n, error)) return false;
    }
    return true;
}

// Parent and child indices agree, stay in range and form no cycle; weights name saved nodes.
bool CheckHierarchy(const SavedScene& scene, std::string& error) {
    const int count = static_cast<int>(scene.nodes.size());
    std::set<std::string> names;
    for (const SavedNode& n : scene.nodes) names.insert(n.name);
    for (int i = 0; i < count; ++i) {
        const SavedNode& n = scene.nodes[i];
        std::string w = "node " + std::to_string(i) + " (\"" + EscapeText(n.name) + "\")";
        if (n.parent < -1 || n.parent >= count || n.parent == i) {
            error = w + ": parent index " + std::to_string(n.parent) + " is invalid";
            return false;
        }
        for (int c : n.children)
            if (c < 0 || c >= count || scene.nodes[c].parent != i) {
                error = w + ": child index " + std::to_string(c) + " does not name a child of it";
                return false;
            }
        if (n.parent >= 0) {
            const auto& siblings = scene.nodes[n.parent].children;
            if (std::find(siblings.begin(), siblings.end(), i) == siblings.end()) {
                error = w + ": its parent does not list it as a child";
                return false;
            }
        }
        int steps = 0;
        for (int p = n.parent; p >= 0; p = scene.nodes[p].parent)
            if (++steps > count) {
                error = w + ": the hierarchy has a cycle";
                return false;
            }
        for (const SavedVertex& v : n.vertices)
            for (const SavedWeight& sw : v.weights)
                if (!names.count(sw.bone)) {
                    error = w + ": a weight names the bone \"" + EscapeText(sw.bone) +
                            "\" that is not saved";
                    return false;
                }
    }
    return true;
}

cnode* MakeNode(int type) {
    if (type == QV_TYPE_BONE) return CreateNewBone();
    if (type == QV_TYPE_SKIN) return new cskin();
    return new cnode();
}

void SetKeys(cnode* node, const std::vector<ckey>& keys) {
    node->anim.SetNumKeys(static_cast<int>(keys.size()), 0);
    for (size_t i = 0; i < keys.size(); ++i) node->anim.SetKeyAt(static_cast<int>(i), keys[i], 0);
}

void SetSkin(cskin* skin, const SavedNode& n, const std::vector<cnode*>& made,
             const SavedScene& scene) {
    auto byName = [&](const std::string& name) -> cnode* {
        for (size_t i = 0; i < made.size(); ++i)
            if (scene.nodes[i].name == name) return made[i];
        return nullptr;
    };
    skin->verts.clear();
    for (const SavedVertex& v : n.vertices) {
        cskinvertex sv;
        sv.pos = v.pos;
        sv.numWeights = static_cast<int>(v.weights.size());
        for (size_t w = 0; w < v.weights.size(); ++w)
            sv.weights[w] = {v.weights[w].value, v.weights[w].offset, byName(v.weights[w].bone)};
        skin->verts.push_back(sv);
    }
    skin->numVerts = static_cast<int>(skin->verts.size());
    skin->triangles = n.triangles;
    skin->vertSel.SetCount(skin->numVerts);
}

}  // namespace

bool SceneFromJson(const Json& j, SavedScene& scene, std::string& error) {
    error.clear();
    const Json* format = j.is_object() ? Member(j, "format", "scene", error) : nullptr;
    if (!format || !format->is_string() || format->get_ref<const std::string&>() != kSceneFormat) {
        error = "not a scene file (\"format\" must be the text \"" + std::string(kSceneFormat) +
                "\")";
        return false;
    }
    SavedScene s;
    int version = 0;
    const Json* v = Member(j, "version", "scene", error);
    if (!v || !ReadInt(*v, "version", version, error)) return false;
    if (version < kOldestSceneVersion || version > kSceneVersion) {
        error = "unsupported scene file version " + std::to_string(version);
        return false;
    }
    const bool escaped = version >= kFirstEscapedSceneVersion;
    const Json* time = Member(j, "time", "scene", error);
    if (!time || !ReadInt(*time, "time", s.time, error)) return false;
    const Json* tpf = Member(j, "tpf", "scene", error);
    if (!tpf || !ReadInt(*tpf, "tpf", s.tpf, error)) return false;
    const Json* range = Member(j, "range", "scene", error);
    const Json* anim = Member(j, "anim", "scene", error);
    const Json* nodes = Member(j, "nodes", "scene", error);
    if (!range || !anim || !nodes) return false;
    if (!range->is_array() || range->size() != 2 ||
        !ReadInt((*range)[0], "range start", s.start, error) ||
        !ReadInt((*range)[1], "range end", s.end, error) || s.start > s.end) {
        if (error.empty()) error = "range must be [start, end] with start <= end";
        return false;
    }
    if (s.tpf <= 0) error = "tpf must be positive";
    else if (!anim->is_boolean()) error = "anim must be true or false";
    else if (!nodes->is_array()) error = "nodes must be an array";
    if (!error.empty()) return false;
    s.anim = anim->get<bool>();
    for (size_t i = 0; i < nodes->size(); ++i) {
        SavedNode n;
        if (!ReadNode((*nodes)[i], "node " + std::to_string(i), escaped, n, error)) return false;
        s.nodes.push_back(std::move(n));
    }
    if (!CheckHierarchy(s, error)) return false;
    scene = std::move(s);
    return true;
}

std::vector<cnode*> MakeNodes(const SavedScene& scene) {
    std::vector<cnode*> made;
    for (const SavedNode& n : scene.nodes) {
        cnode* node = MakeNode(n.type);
        node->SetName(n.name.c_str());
        node->SetColor(n.color);
        node->SetFlags(n.flags & ~QV_FLAG_SELECTED);
        node->SetIKInfo(n.ik);
        SetKeys(node, n.keys);
        made.push_back(node);
    }
    for (size_t i = 0; i < made.size(); ++i)
        for (int c : scene.nodes[i].children) made[i]->Attach(made[c], 0);
    return made;
}

void RestoreScene(const SavedScene& scene, const std::vector<cnode*>& made, ToolManager& tools) {
    tools.Close();
    qv::ResetScene();
    qv::ui::ClearMessages();
    for (cnode* node : made) Interface::AddToScene(node, 0);
    for (size_t i = 0; i < made.size(); ++i)
        if (scene.nodes[i].type == QV_TYPE_SKIN)
            SetSkin(static_cast<cskin*>(made[i]), scene.nodes[i], made, scene);

    Interface::SetAnimStart(scene.start);
    Interface::SetAnimEnd(scene.end);
    Interface::SetAnimTPF(scene.tpf);
    Interface::SetAnimOn(scene.anim ? 1 : 0);
    Interface::SetAnimTime(scene.time);
    qv::BumpSceneGeneration();  // skins keep the deformed positions as saved

    std::vector<cnode*> selected;
    for (size_t i = 0; i < made.size(); ++i)
        if (scene.nodes[i].flags & QV_FLAG_SELECTED) selected.push_back(made[i]);
    qv::SetSelectionQuietly(selected);
    theUndo.Clear();  // a loaded scene starts a fresh history
}

bool LoadSceneFile(const std::string& path, ToolManager& tools, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open scene file " + path;
        return false;
    }
    if (!FitsFileBudget(path, kSceneFileMaxBytes, "a scene file", error)) return false;
    std::stringstream text;
    text << in.rdbuf();
    return LoadSceneText(text.str(), path, tools, error);
}

bool LoadSceneText(const std::string& text, const std::string& path, ToolManager& tools,
                   std::string& error) {
    Json j = Json::parse(text, nullptr, false);
    if (j.is_discarded()) {
        error = path + ": not valid JSON";
        return false;
    }
    SavedScene scene;
    if (!SceneFromJson(j, scene, error)) {
        error = path + ": " + error;
        return false;
    }
    // Finite keys can still overflow through a parent's scale: the nodes are put together
    // outside the scene and placed at the file's time before they replace it.
    std::vector<cnode*> made = MakeNodes(scene);
    if (!CheckWorldFinite(made, scene.time, error)) {
        for (cnode* node : made) node->DeleteThis();
        error = path + ": " + error;
        return false;
    }
    RestoreScene(scene, made, tools);
    return true;
}

}  // namespace qvapp
