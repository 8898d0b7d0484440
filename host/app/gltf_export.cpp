// Builds the glTF model of the scene's bones and keys, and writes it as a .glb file.
#include "gltf_export.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "gltf_axes.h"
#include "gltf_buffer.h"
#include "gltf_skin.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"
#include "qvcore/file_write.h"
#include "text_escape.h"

namespace qvapp {
namespace {

constexpr double kSecondsPerMs = 0.001;

struct ExportedBone {
    cnode* node;
    bool parentExported;  // false for a bone at the top or under a node that is not exported
};

// The bone's placement relative to its exported parent at frame t, in host axes. A bone under
// a node that is not exported stands on its own: its world position and rotation.
ckey LocalKey(const ExportedBone& bone, int t) {
    ckey key;
    if (bone.parentExported || !bone.node->GetParent()) {
        bone.node->anim.GetInterpolateKey(t, key);
    } else {
        key.pos = bone.node->GetPosition(t);
        key.rot = bone.node->GetRotation(t);
        key.scale = bone.node->GetScale(t);
    }
    key.time = t;
    return key;
}

std::vector<double> Doubles(const cpoint3& p) { return {p.x, p.y, p.z}; }
std::vector<double> Doubles(const cquat& q) { return {q.x, q.y, q.z, q.w}; }

std::pair<int, int> KeySpan(const std::vector<ExportedBone>& bones) {
    int first = std::numeric_limits<int>::max(), last = std::numeric_limits<int>::min();
    for (const ExportedBone& b : bones)
        for (const ckey& k : b.node->anim.Keys()) {
            first = std::min(first, k.time);
            last = std::max(last, k.time);
        }
    if (first > last) first = last = 0;  // no keys at all: the scene as it stands at frame 0
    return {first, last};
}

// The frames a bone's channels are sampled at: its keys from first to last, and first and last
// themselves where the track goes on past them (elsewhere the track holds its end key, as glTF
// holds its end sample), so that a file of the whole span gives the keys back one for one.
std::vector<int> SampleFrames(const cnode* node, int first, int last) {
    std::set<int> frames;
    for (const ckey& k : node->anim.Keys()) {
        if (k.time < first) frames.insert(first);
        else if (k.time > last) frames.insert(last);
        else frames.insert(k.time);
    }
    return {frames.begin(), frames.end()};
}

// The bone's translation, rotation and scale channels from first to last, sharing one
// accessor of times (seconds from the first frame).
void AddBoneChannels(const ExportedBone& bone, int gltfNode, int first, int last, int tpfMs,
                     GltfBufferBuilder& buffer, tinygltf::Animation& animation) {
    const std::vector<int> frames = SampleFrames(bone.node, first, last);
    std::vector<float> times, translations, rotations, scales;
    cquat previous;
    for (size_t i = 0; i < frames.size(); ++i) {
        const ckey key = LocalKey(bone, frames[i]);
        times.push_back(static_cast<float>((frames[i] - first) * tpfMs * kSecondsPerMs));
        const cpoint3 t = GltfFromHostPoint(key.pos);
        const cpoint3 s = GltfFromHostScale(key.scale);
        cquat r = GltfFromHostRotation(Normalize(key.rot));
        // The host slerps along the shorter arc; glTF's linear rotation slerps between the
        // stored quaternions, so neighbours are kept in one hemisphere.
        if (i > 0 && DotProd(previous, r) < 0.0f) r = {-r.x, -r.y, -r.z, -r.w};
        previous = r;
        translations.insert(translations.end(), {t.x, t.y, t.z});
        rotations.insert(rotations.end(), {r.x, r.y, r.z, r.w});
        scales.insert(scales.end(), {s.x, s.y, s.z});
    }
    const int input = buffer.AddFloats(times, TINYGLTF_TYPE_SCALAR, true);
    const std::pair<const char*, int> outputs[] = {
        {"translation", buffer.AddFloats(translations, TINYGLTF_TYPE_VEC3, false)},
        {"rotation", buffer.AddFloats(rotations, TINYGLTF_TYPE_VEC4, false)},
        {"scale", buffer.AddFloats(scales, TINYGLTF_TYPE_VEC3, false)},
    };
    for (const auto& [path, output] : outputs) {
        tinygltf::AnimationSampler sampler;
        sampler.input = input;
        sampler.output = output;
        sampler.interpolation = "LINEAR";
        animation.samplers.push_back(sampler);
        tinygltf::AnimationChannel channel;
        channel.sampler = static_cast<int>(animation.samplers.size()) - 1;
        channel.target_node = gltfNode;
        channel.target_path = path;
        animation.channels.push_back(channel);
    }
}

tinygltf::Value TimeExtras(int first) {
    tinygltf::Value::Object time;
    time["firstFrame"] = tinygltf::Value(first);
    time["tpf"] = tinygltf::Value(Interface::GetAnimTPF());
    time["range"] = tinygltf::Value(tinygltf::Value::Array{
        tinygltf::Value(Interface::GetAnimStart()), tinygltf::Value(Interface::GetAnimEnd())});
    tinygltf::Value::Object extras;
    extras[kGltfTimeExtras] = tinygltf::Value(std::move(time));
    return tinygltf::Value(std::move(extras));
}

}  // namespace

bool SceneToGltf(std::optional<std::pair<int, int>> frames, tinygltf::Model& model,
                 std::string& error) {
    if (frames && frames->first > frames->second) {
        error = "frames " + std::to_string(frames->first) + " " + std::to_string(frames->second) +
                ": the first frame comes after the last";
        return false;
    }
    std::vector<ExportedBone> bones;
    std::vector<cskin*> skins;
    std::map<const cnode*, int> index;  // bone -> glTF node
    for (int i = 0; i < Interface::NumNodes(); ++i) {
        cnode* node = Interface::GetNodeAt(i);
        if (node->GetTypeID() == QV_TYPE_SKIN) skins.push_back(static_cast<cskin*>(node));
        if (node->GetTypeID() != QV_TYPE_BONE) continue;
        index[node] = static_cast<int>(bones.size());
        bones.push_back({node, false});
    }
    if (bones.empty()) {
        error = "the scene has no bones to export";
        return false;
    }
    const auto [first, last] = frames ? *frames : KeySpan(bones);

    model = tinygltf::Model();
    model.asset.version = "2.0";
    model.asset.generator = "quorvane";
    GltfBufferBuilder buffer(model);
    tinygltf::Scene scene;
    scene.extras = TimeExtras(first);
    for (ExportedBone& bone : bones) {
        tinygltf::Node node;
        node.name = EscapeText(bone.node->GetName());
        for (int c = 0; c < bone.node->NumChildren(); ++c) {
            auto child = index.find(bone.node->GetChild(c));
            if (child != index.end()) node.children.push_back(child->second);
        }
        bone.parentExported = bone.node->GetParent() && index.count(bone.node->GetParent());
        if (!bone.parentExported) scene.nodes.push_back(index[bone.node]);
        const ckey rest = LocalKey(bone, first);
        node.translation = Doubles(GltfFromHostPoint(rest.pos));
        node.rotation = Doubles(GltfFromHostRotation(Normalize(rest.rot)));
        node.scale = Doubles(GltfFromHostScale(rest.scale));
        model.nodes.push_back(node);
    }
    tinygltf::Animation animation;
    animation.name = "Keys";
    for (const ExportedBone& bone : bones)
        if (first < last && bone.node->anim.NumKeys() > 1)
            AddBoneChannels(bone, index[bone.node], first, last, Interface::GetAnimTPF(), buffer,
                            animation);
    if (!animation.channels.empty()) model.animations.push_back(animation);
    for (int skinNode : AddGltfSkins(skins, index, first, model, buffer))
        scene.nodes.push_back(skinNode);
    model.scenes.push_back(scene);
    model.defaultScene = 0;
    if (model.buffers[0].data.empty()) model.buffers.clear();
    else model.buffers[0].name = "data";
    return true;
}

bool WriteSceneGltf(const std::string& path, std::optional<std::pair<int, int>> frames,
                    std::string& error) {
    tinygltf::Model model;
    if (!SceneToGltf(frames, model, error)) return false;
    std::ostringstream bytes;
    tinygltf::TinyGLTF writer;
    if (!writer.WriteGltfSceneToStream(&model, bytes, false, true)) {
        error = path + ": the glTF writer failed";
        return false;
    }
    return qv::WriteFileReplacing(path, bytes.str(), error);
}

}  // namespace qvapp
