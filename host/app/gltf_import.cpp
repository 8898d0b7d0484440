// Reads glTF nodes and animation channels back into scene file content and writes it.
#include "gltf_import.h"

#include <cmath>
#include <map>
#include <set>

#include "gltf_accessor.h"
#include "gltf_axes.h"
#include "gltf_export.h"
#include "gltf_import_skin.h"
#include "qvcore/file_write.h"
#include "text_escape.h"

#include <tiny_gltf.h>

namespace qvapp {
namespace {

constexpr double kMsPerSecond = 1000.0;

int IntOr(const tinygltf::Value& v, int fallback) {
    return v.IsInt() ? v.Get<int>() : (v.IsNumber() ? static_cast<int>(v.GetNumberAsDouble()) : fallback);
}

// The time base: the host's own extras when the file carries them.
int ReadTimeBase(const tinygltf::Model& model, SavedScene& scene) {
    int firstFrame = 0;
    const int sceneIndex = model.defaultScene >= 0 ? model.defaultScene : 0;
    if (sceneIndex >= static_cast<int>(model.scenes.size())) return firstFrame;
    const tinygltf::Value& extras = model.scenes[sceneIndex].extras;
    if (!extras.IsObject() || !extras.Has(kGltfTimeExtras)) return firstFrame;
    const tinygltf::Value& time = extras.Get(kGltfTimeExtras);
    firstFrame = IntOr(time.Get("firstFrame"), firstFrame);
    const int tpf = IntOr(time.Get("tpf"), scene.tpf);
    if (tpf > 0) scene.tpf = tpf;
    const tinygltf::Value& range = time.Get("range");
    if (range.IsArray() && range.ArrayLen() == 2) {
        scene.start = IntOr(range.Get(0), scene.start);
        scene.end = IntOr(range.Get(1), scene.end);
    }
    return firstFrame;
}

// A channel of one node: its times (seconds) and values (width floats each).
struct Channel {
    std::vector<float> times, values;
    int width = 0;
};
struct NodeChannels {
    std::map<std::string, Channel> byPath;  // "translation", "rotation", "scale"
};

// The channel's value at time t: held before the first and after the last time, linear
// between (for rotations slerp along the shorter arc, as glTF plays them).
std::vector<float> Sample(const Channel& c, float t) {
    const size_t n = c.times.size();
    size_t i = 0;
    while (i + 1 < n && c.times[i + 1] <= t) ++i;
    std::vector<float> a(c.values.begin() + i * c.width, c.values.begin() + (i + 1) * c.width);
    if (i + 1 >= n || t <= c.times[i]) return a;
    const float s = (t - c.times[i]) / (c.times[i + 1] - c.times[i]);
    std::vector<float> b(c.values.begin() + (i + 1) * c.width,
                         c.values.begin() + (i + 2) * c.width);
    if (c.width == 4) {
        const cquat q = Slerp({a[0], a[1], a[2], a[3]}, {b[0], b[1], b[2], b[3]}, s);
        return {q.x, q.y, q.z, q.w};
    }
    for (int k = 0; k < c.width; ++k) a[k] += (b[k] - a[k]) * s;
    return a;
}

bool ReadChannels(const tinygltf::Model& model, std::map<int, NodeChannels>& out,
                  std::string& error) {
    if (model.animations.empty()) return true;
    const tinygltf::Animation& anim = model.animations[0];  // the host keeps one take
    for (const tinygltf::AnimationChannel& ch : anim.channels) {
        const int width = ch.target_path == "rotation" ? 4 : 3;
        if (ch.target_path != "translation" && ch.target_path != "rotation" &&
            ch.target_path != "scale")
            continue;  // morph weights have no place in the host
        if (ch.sampler < 0 || ch.sampler >= static_cast<int>(anim.samplers.size())) {
            error = "animation channel with a sampler that does not exist";
            return false;
        }
        const tinygltf::AnimationSampler& s = anim.samplers[ch.sampler];
        if (s.interpolation != "LINEAR") {
            error = "animation sampler " + std::to_string(ch.sampler) + ": interpolation " +
                    s.interpolation + " (the host reads LINEAR only)";
            return false;
        }
        Channel c;
        c.width = width;
        if (!ReadGltfAccessor(model, s.input, 1, c.times, error) ||
            !ReadGltfAccessor(model, s.output, width, c.values, error))
            return false;
        if (c.times.empty() || c.values.size() != c.times.size() * width) {
            error = "animation sampler " + std::to_string(ch.sampler) +
                    ": times and values differ in number";
            return false;
        }
        out[ch.target_node].byPath[ch.target_path] = std::move(c);
    }
    return true;
}

// The node's own transform as a host key (before axes are changed back, glTF's values).
bool RestKey(const tinygltf::Node& n, int index, ckey& key, std::string& error) {
    if (!n.matrix.empty()) {
        error = "node " + std::to_string(index) + " (\"" + n.name +
                "\") is placed by a matrix; the host reads translation, rotation and scale";
        return false;
    }
    cpoint3 t, s{1.0f, 1.0f, 1.0f};
    cquat r;
    if (n.translation.size() == 3) t = MakePt3(n.translation[0], n.translation[1], n.translation[2]);
    if (n.scale.size() == 3) s = MakePt3(n.scale[0], n.scale[1], n.scale[2]);
    if (n.rotation.size() == 4)
        r = MakeQuat(n.rotation[0], n.rotation[1], n.rotation[2], n.rotation[3]);
    key.pos = HostFromGltfPoint(t);
    key.rot = HostFromGltfRotation(r);
    key.scale = HostFromGltfScale(s);
    return true;
}

// Keys at every time any channel of the node has, on the nearest frame.
std::vector<ckey> AnimatedKeys(const NodeChannels& channels, const ckey& rest, int firstFrame,
                               int tpfMs) {
    std::set<float> times;
    for (const auto& [path, c] : channels.byPath) times.insert(c.times.begin(), c.times.end());
    std::map<int, ckey> keys;  // a later time rounding to the same frame wins
    for (float t : times) {
        ckey k = rest;
        k.time = firstFrame + static_cast<int>(std::lround(t * kMsPerSecond / tpfMs));
        for (const auto& [path, c] : channels.byPath) {
            const std::vector<float> v = Sample(c, t);
            if (path == "translation") k.pos = HostFromGltfPoint({v[0], v[1], v[2]});
            if (path == "scale") k.scale = HostFromGltfScale({v[0], v[1], v[2]});
            if (path == "rotation") k.rot = HostFromGltfRotation({v[0], v[1], v[2], v[3]});
        }
        keys[k.time] = k;
    }
    std::vector<ckey> out;
    for (const auto& [time, k] : keys) out.push_back(k);
    return out;
}

std::string NodeName(const tinygltf::Node& n, int index) {
    if (n.name.empty()) return (n.mesh >= 0 ? "Mesh " : "Node ") + std::to_string(index);
    std::string bytes;
    return UnescapeText(n.name, bytes) ? bytes : n.name;
}

ccolor NewBoneColour() {
    cbone probe;
    return probe.GetColor();
}

}  // namespace

bool GltfToSavedScene(const std::string& path, SavedScene& scene, std::string& error) {
    tinygltf::Model model;
    tinygltf::TinyGLTF reader;
    std::string warning;
    const bool binary = path.size() >= 4 && path.compare(path.size() - 4, 4, ".glb") == 0;
    const bool read = binary ? reader.LoadBinaryFromFile(&model, &error, &warning, path)
                             : reader.LoadASCIIFromFile(&model, &error, &warning, path);
    if (!read) {
        error = path + ": " + (error.empty() ? "not a glTF file" : error);
        return false;
    }
    scene = SavedScene();
    const int firstFrame = ReadTimeBase(model, scene);
    std::map<int, NodeChannels> channels;
    if (!ReadChannels(model, channels, error)) {
        error = path + ": " + error;
        return false;
    }
    // Every node is kept: those with a mesh as skin nodes, the others as bones.
    std::map<int, std::string> boneNames;
    for (int i = 0; i < static_cast<int>(model.nodes.size()); ++i)
        if (model.nodes[i].mesh < 0) boneNames[i] = NodeName(model.nodes[i], i);
    scene.nodes.resize(model.nodes.size());
    const ccolor colour = NewBoneColour();
    for (int i = 0; i < static_cast<int>(model.nodes.size()); ++i) {
        const tinygltf::Node& n = model.nodes[i];
        SavedNode& node = scene.nodes[i];
        if (n.mesh >= 0 && !GltfMeshToSavedSkin(model, i, boneNames, node, error)) {
            error = path + ": " + error;
            return false;
        }
        node.name = NodeName(n, i);
        node.color = colour;
        ckey rest;
        if (!RestKey(n, i, rest, error)) {
            error = path + ": " + error;
            return false;
        }
        auto animated = channels.find(i);
        node.keys = animated == channels.end()
                        ? std::vector<ckey>{rest}
                        : AnimatedKeys(animated->second, rest, firstFrame, scene.tpf);
        for (int child : n.children) {
            if (child < 0 || child >= static_cast<int>(model.nodes.size()) ||
                scene.nodes[child].parent >= 0) {
                error = path + ": node " + std::to_string(i) + " names child " +
                        std::to_string(child) + ", which does not exist or has a parent already";
                return false;
            }
            node.children.push_back(child);
            scene.nodes[child].parent = i;
        }
    }
    if (!CheckSavable(scene, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool ImportGltfFile(const std::string& inPath, const std::string& outPath, std::string& error) {
    SavedScene scene;
    if (!GltfToSavedScene(inPath, scene, error)) return false;
    return qv::WriteFileReplacing(outPath, SceneToJson(scene).dump(1) + "\n", error);
}

}  // namespace qvapp
