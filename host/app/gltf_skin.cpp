// Writes skin nodes as skinned glTF meshes: the mesh at its bind, joints and weights in sets of
// four, and each joint's inverse bind matrix, all carried into glTF's axes.
#include "gltf_skin.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "gltf_axes.h"
#include "gltf_buffer.h"
#include "quorvane/interface.h"
#include "quorvane/skin.h"
#include "text_escape.h"

namespace qvapp {
namespace {

constexpr int kWeightsPerSet = 4;  // JOINTS_n and WEIGHTS_n hold four each

// The skin's bind as glTF wants it: a position per vertex and a world matrix per bone.
struct Bind {
    std::vector<cpoint3> pos;
    std::vector<cmatrix4> boneWorld;  // per joint, in joint order
};

// The weights of a vertex on exported bones, with the joint each one names.
struct JointWeight {
    int joint;
    float value;
    cpoint3 offset;
};

std::vector<JointWeight> VertexWeights(const cskinvertex& v, const std::map<const cnode*, int>& joint) {
    std::vector<JointWeight> out;
    for (int w = 0; w < std::min(v.numWeights, static_cast<int>(QV_MAX_SKIN_WEIGHTS)); ++w) {
        const cskinweight& cw = v.weights[w];
        auto it = joint.find(cw.bone);
        if (it != joint.end() && cw.value > 0.0f) out.push_back({it->second, cw.value, cw.offset});
    }
    return out;
}

// How far apart the weighted offsets of any vertex put it with the bones as they stand at t.
float Disagreement(const cskin& skin, const std::map<const cnode*, int>& joint,
                   const std::vector<cnode*>& joints, int t) {
    std::vector<cmatrix4> world;
    for (cnode* bone : joints) world.push_back(bone->GetNodeTM(t));
    float worst = 0.0f;
    for (const cskinvertex& v : skin.verts) {
        const std::vector<JointWeight> ws = VertexWeights(v, joint);
        for (size_t i = 1; i < ws.size(); ++i)
            worst = std::max(worst, Length(ws[i].offset * world[ws[i].joint] -
                                           ws[0].offset * world[ws[0].joint]));
    }
    return worst;
}

// The bone's world matrix at the skin's bind, read without recording it (cskin::BindTM would
// remember a bone it did not know, and an export leaves the scene as it was).
cmatrix4 BoundWorld(const cskin& skin, cnode* bone) {
    for (const auto& [node, world] : skin.bindBones)
        if (node == bone) return world;
    return bone->GetNodeTM(skin.bindTime);
}

// The bind recorded by the skin, or else the frame where the offsets agree best: every vertex
// where its weights put it at that frame.
Bind FindBind(cskin& skin, const std::map<const cnode*, int>& joint,
              const std::vector<cnode*>& joints, int first) {
    Bind bind;
    if (skin.bindPos.size() == skin.verts.size()) {
        bind.pos = skin.bindPos;
        for (cnode* bone : joints) bind.boneWorld.push_back(BoundWorld(skin, bone));
        return bind;
    }
    int frame = GetAnimTime();
    if (Disagreement(skin, joint, joints, first) < Disagreement(skin, joint, joints, frame))
        frame = first;
    for (cnode* bone : joints) bind.boneWorld.push_back(bone->GetNodeTM(frame));
    for (const cskinvertex& v : skin.verts) {
        const std::vector<JointWeight> ws = VertexWeights(v, joint);
        cpoint3 sum;
        float total = 0.0f;
        for (const JointWeight& w : ws) {
            sum += (w.offset * bind.boneWorld[w.joint]) * w.value;
            total += w.value;
        }
        bind.pos.push_back(total > 0.0f ? sum / total : v.pos);
    }
    return bind;
}

tinygltf::Primitive Triangles(const cskin& skin, GltfBufferBuilder& buffer, const Bind& bind) {
    tinygltf::Primitive primitive;
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    std::vector<float> positions;
    for (const cpoint3& p : bind.pos) {
        const cpoint3 g = GltfFromHostPoint(p);
        positions.insert(positions.end(), {g.x, g.y, g.z});
    }
    primitive.attributes["POSITION"] =
        buffer.AddFloats(positions, TINYGLTF_TYPE_VEC3, true, TINYGLTF_TARGET_ARRAY_BUFFER);
    std::vector<uint32_t> indices;
    for (size_t i = 0; i + 2 < skin.triangles.size(); i += 3)
        for (int k = 0; k < 3; ++k) indices.push_back(static_cast<uint32_t>(skin.triangles[i + k]));
    if (!indices.empty())
        primitive.indices = buffer.AddUnsignedInts(indices, TINYGLTF_TYPE_SCALAR,
                                                   TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    else
        primitive.mode = TINYGLTF_MODE_POINTS;
    return primitive;
}

// JOINTS_n and WEIGHTS_n: each vertex's weights, largest first, normalised to sum to one as
// glTF requires. A vertex without weights on exported bones follows the first joint.
void AddWeights(const cskin& skin, const std::map<const cnode*, int>& joint,
                GltfBufferBuilder& buffer, tinygltf::Primitive& primitive) {
    std::vector<std::vector<JointWeight>> perVertex;
    size_t widest = 1;
    for (const cskinvertex& v : skin.verts) {
        std::vector<JointWeight> ws = VertexWeights(v, joint);
        std::stable_sort(ws.begin(), ws.end(),
                         [](const JointWeight& a, const JointWeight& b) { return a.value > b.value; });
        if (ws.empty()) ws.push_back({0, 1.0f, {}});
        widest = std::max(widest, ws.size());
        perVertex.push_back(std::move(ws));
    }
    const size_t sets = (widest + kWeightsPerSet - 1) / kWeightsPerSet;
    for (size_t set = 0; set < sets; ++set) {
        std::vector<uint16_t> joints;
        std::vector<float> weights;
        for (const std::vector<JointWeight>& ws : perVertex) {
            float total = 0.0f;
            for (const JointWeight& w : ws) total += w.value;
            for (size_t k = set * kWeightsPerSet; k < (set + 1) * kWeightsPerSet; ++k) {
                joints.push_back(k < ws.size() ? static_cast<uint16_t>(ws[k].joint) : 0);
                weights.push_back(k < ws.size() ? ws[k].value / total : 0.0f);
            }
        }
        const std::string n = std::to_string(set);
        primitive.attributes["JOINTS_" + n] = buffer.AddUnsignedShorts(
            joints, TINYGLTF_TYPE_VEC4, TINYGLTF_TARGET_ARRAY_BUFFER);
        primitive.attributes["WEIGHTS_" + n] =
            buffer.AddFloats(weights, TINYGLTF_TYPE_VEC4, false, TINYGLTF_TARGET_ARRAY_BUFFER);
    }
}

// glTF's inverse bind matrix of a joint: the inverse of its world matrix at the bind, in
// glTF's axes (GltfFromHostMatrix), so that jointWorld(t) × inverseBind carries a bind
// position to where the bone has taken it.
std::vector<float> InverseBindMatrices(const Bind& bind) {
    std::vector<float> out;
    for (const cmatrix4& world : bind.boneWorld) {
        std::array<float, 16> m = GltfFromHostMatrix(Inverse(world));
        m[3] = m[7] = m[11] = 0.0f;  // an affine matrix: the inverse leaves rounding here
        m[15] = 1.0f;
        out.insert(out.end(), m.begin(), m.end());
    }
    return out;
}

}  // namespace

std::vector<int> AddGltfSkins(const std::vector<cskin*>& skins,
                              const std::map<const cnode*, int>& nodeIndex, int first,
                              tinygltf::Model& model, GltfBufferBuilder& buffer) {
    std::vector<int> out;
    for (cskin* skin : skins) {
        // The skin's joints: the exported bones its weights name, in the order of the nodes.
        std::set<std::pair<int, cnode*>> used;
        for (const cskinvertex& v : skin->verts)
            for (int w = 0; w < std::min(v.numWeights, static_cast<int>(QV_MAX_SKIN_WEIGHTS)); ++w) {
                auto it = nodeIndex.find(v.weights[w].bone);
                if (it != nodeIndex.end()) used.insert({it->second, v.weights[w].bone});
            }
        std::vector<cnode*> joints;
        std::map<const cnode*, int> joint;  // bone -> its place among the joints
        tinygltf::Skin gltfSkin;
        for (const auto& [node, bone] : used) {
            joint[bone] = static_cast<int>(joints.size());
            joints.push_back(bone);
            gltfSkin.joints.push_back(node);
        }
        const Bind bind = FindBind(*skin, joint, joints, first);
        tinygltf::Mesh mesh;
        mesh.name = EscapeText(skin->GetName());
        mesh.primitives.push_back(Triangles(*skin, buffer, bind));
        tinygltf::Node node;
        node.name = mesh.name;
        if (!joints.empty()) {
            AddWeights(*skin, joint, buffer, mesh.primitives.back());
            gltfSkin.name = mesh.name;
            gltfSkin.inverseBindMatrices =
                buffer.AddFloats(InverseBindMatrices(bind), TINYGLTF_TYPE_MAT4, false);
            model.skins.push_back(gltfSkin);
            node.skin = static_cast<int>(model.skins.size()) - 1;
        }
        model.meshes.push_back(mesh);
        node.mesh = static_cast<int>(model.meshes.size()) - 1;
        model.nodes.push_back(node);
        out.push_back(static_cast<int>(model.nodes.size()) - 1);
    }
    return out;
}

}  // namespace qvapp
