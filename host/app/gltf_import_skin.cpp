// Reads a mesh node's primitives, joints, weights and inverse bind matrices into a skin node.
#include "gltf_import_skin.h"

#include <array>

#include "gltf_accessor.h"
#include "gltf_axes.h"
#include "quorvane/skin.h"

namespace qvapp {
namespace {

constexpr int kWeightsPerSet = 4;  // JOINTS_n and WEIGHTS_n hold four each
constexpr int kMatrixFloats = 16;

// m × p for a glTF matrix (column-major, column vectors).
cpoint3 TransformColumn(const float* m, const cpoint3& p) {
    cpoint3 out;
    for (int row = 0; row < 3; ++row)
        out[row] = m[row] * p.x + m[4 + row] * p.y + m[8 + row] * p.z + m[12 + row];
    return out;
}

bool AttributeAccessor(const tinygltf::Primitive& p, const std::string& name, int& index) {
    auto it = p.attributes.find(name);
    if (it == p.attributes.end()) return false;
    index = it->second;
    return true;
}

// The primitive's vertices appended to out, weighted through the skin's joints.
bool ReadPrimitive(const tinygltf::Model& model, const tinygltf::Primitive& p,
                   const tinygltf::Skin* skin, const std::vector<float>& inverseBinds,
                   const std::map<int, std::string>& boneNames, SavedNode& out,
                   std::string& error) {
    int positionsAt = -1;
    std::vector<float> positions;
    if (!AttributeAccessor(p, "POSITION", positionsAt)) {
        error = "a primitive without positions";
        return false;
    }
    if (!ReadGltfAccessor(model, positionsAt, 3, positions, error)) return false;
    const size_t count = positions.size() / 3, base = out.vertices.size();
    std::vector<std::vector<SavedWeight>> weights(count);
    for (int set = 0; skin; ++set) {
        int jointsAt = -1, weightsAt = -1;
        const std::string n = std::to_string(set);
        if (!AttributeAccessor(p, "JOINTS_" + n, jointsAt) ||
            !AttributeAccessor(p, "WEIGHTS_" + n, weightsAt))
            break;
        std::vector<float> joints, values;
        if (!ReadGltfAccessor(model, jointsAt, kWeightsPerSet, joints, error) ||
            !ReadGltfAccessor(model, weightsAt, kWeightsPerSet, values, error))
            return false;
        if (joints.size() != count * kWeightsPerSet || values.size() != joints.size()) {
            error = "JOINTS_" + n + " and WEIGHTS_" + n + " do not cover the vertices";
            return false;
        }
        for (size_t v = 0; v < count; ++v)
            for (int k = 0; k < kWeightsPerSet; ++k) {
                const float value = values[v * kWeightsPerSet + k];
                const size_t j = static_cast<size_t>(joints[v * kWeightsPerSet + k]);
                if (value <= 0.0f || j >= skin->joints.size() || !boneNames.count(skin->joints[j]))
                    continue;
                const cpoint3 g{positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]};
                const cpoint3 offset =
                    j * kMatrixFloats < inverseBinds.size()
                        ? TransformColumn(&inverseBinds[j * kMatrixFloats], g)
                        : g;
                weights[v].push_back({value, HostFromGltfPoint(offset), boneNames.at(skin->joints[j])});
            }
    }
    for (size_t v = 0; v < count; ++v) {
        if (weights[v].size() > QV_MAX_SKIN_WEIGHTS) {
            error = "vertex " + std::to_string(v) + " has more than " +
                    std::to_string(QV_MAX_SKIN_WEIGHTS) + " weights";
            return false;
        }
        const cpoint3 g{positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]};
        out.vertices.push_back({HostFromGltfPoint(g), std::move(weights[v])});
    }
    std::vector<float> indices;
    if (p.indices >= 0) {
        if (!ReadGltfAccessor(model, p.indices, 1, indices, error)) return false;
    } else {
        for (size_t v = 0; v < count; ++v) indices.push_back(static_cast<float>(v));
    }
    const bool triangles = p.mode == TINYGLTF_MODE_TRIANGLES || p.mode < 0;
    for (size_t i = 0; triangles && i + 2 < indices.size(); i += 3)
        for (int k = 0; k < 3; ++k) {
            const size_t index = static_cast<size_t>(indices[i + k]);
            if (index >= count) {
                error = "a triangle names vertex " + std::to_string(index) + " of " +
                        std::to_string(count);
                return false;
            }
            out.triangles.push_back(static_cast<int>(base + index));
        }
    return true;
}

}  // namespace

bool GltfMeshToSavedSkin(const tinygltf::Model& model, int node,
                         const std::map<int, std::string>& boneNames, SavedNode& out,
                         std::string& error) {
    const tinygltf::Node& n = model.nodes[node];
    out.type = QV_TYPE_SKIN;
    const std::string where = "mesh node " + std::to_string(node) + " (\"" + n.name + "\"): ";
    if (n.mesh < 0 || n.mesh >= static_cast<int>(model.meshes.size())) {
        error = where + "its mesh does not exist";
        return false;
    }
    const tinygltf::Skin* skin =
        n.skin >= 0 && n.skin < static_cast<int>(model.skins.size()) ? &model.skins[n.skin] : nullptr;
    std::vector<float> inverseBinds;
    if (skin && skin->inverseBindMatrices >= 0 &&
        !ReadGltfAccessor(model, skin->inverseBindMatrices, kMatrixFloats, inverseBinds, error)) {
        error = where + error;
        return false;
    }
    for (const tinygltf::Primitive& p : model.meshes[n.mesh].primitives)
        if (!ReadPrimitive(model, p, skin, inverseBinds, boneNames, out, error)) {
            error = where + error;
            return false;
        }
    return true;
}

}  // namespace qvapp
