// The independent reader's view of an exported file (BVH, glTF): world positions of every node
// that assimp makes of it, for comparing with the host's own forward kinematics.
#pragma once

#include <algorithm>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <assimp/scene.h>

// The animation's channel of the node, or null.
inline const aiNodeAnim* AssimpChannel(const aiAnimation* anim, const aiNode* node) {
    for (unsigned c = 0; anim && c < anim->mNumChannels; ++c)
        if (anim->mChannels[c]->mNodeName == node->mName) return anim->mChannels[c];
    return nullptr;
}

// World positions of every node below `node` in pre-order, with their names, at animation key
// `key` (nodes without a channel keep their own transformation), in the file's units.
inline void AssimpPositions(const aiNode* node, const aiMatrix4x4& parent, const aiAnimation* anim,
                            unsigned key, std::vector<std::pair<std::string, aiVector3D>>& out) {
    aiMatrix4x4 local = node->mTransformation;
    if (const aiNodeAnim* ch = AssimpChannel(anim, node)) {
        const aiVector3D p = ch->mPositionKeys[std::min(key, ch->mNumPositionKeys - 1)].mValue;
        const aiQuaternion q = ch->mRotationKeys[std::min(key, ch->mNumRotationKeys - 1)].mValue;
        local = aiMatrix4x4(aiVector3D(1, 1, 1), q, p);
    }
    const aiMatrix4x4 world = parent * local;  // column vectors: the parent applies last
    out.emplace_back(node->mName.C_Str(), aiVector3D(world.a4, world.b4, world.c4));
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        AssimpPositions(node->mChildren[i], world, anim, key, out);
}

// The channel's value at `ticks`: held before the first key and after the last, linear
// between (quaternions by assimp's own slerp).
template <typename Key, typename Value>
Value AssimpSample(const Key* keys, unsigned count, double ticks) {
    unsigned i = 0;
    while (i + 1 < count && keys[i + 1].mTime <= ticks) ++i;
    if (i + 1 >= count || ticks <= keys[i].mTime) return keys[i].mValue;
    const float s = static_cast<float>((ticks - keys[i].mTime) / (keys[i + 1].mTime - keys[i].mTime));
    Value out;
    if constexpr (std::is_same_v<Value, aiQuaternion>)
        aiQuaternion::Interpolate(out, keys[i].mValue, keys[i + 1].mValue, s);
    else
        out = keys[i].mValue + (keys[i + 1].mValue - keys[i].mValue) * s;
    return out;
}

// World matrices of every node below `node` in pre-order at animation time `ticks`, with
// translation, rotation and scale interpolated between the channel's keys.
inline void AssimpWorldsAt(const aiNode* node, const aiMatrix4x4& parent, const aiAnimation* anim,
                           double ticks, std::vector<std::pair<std::string, aiMatrix4x4>>& out) {
    aiMatrix4x4 local = node->mTransformation;
    if (const aiNodeAnim* ch = AssimpChannel(anim, node)) {
        aiVector3D s(1, 1, 1), p;
        aiQuaternion q;
        local.Decompose(s, q, p);
        if (ch->mNumPositionKeys)
            p = AssimpSample<aiVectorKey, aiVector3D>(ch->mPositionKeys, ch->mNumPositionKeys, ticks);
        if (ch->mNumRotationKeys)
            q = AssimpSample<aiQuatKey, aiQuaternion>(ch->mRotationKeys, ch->mNumRotationKeys, ticks);
        if (ch->mNumScalingKeys)
            s = AssimpSample<aiVectorKey, aiVector3D>(ch->mScalingKeys, ch->mNumScalingKeys, ticks);
        local = aiMatrix4x4(s, q, p);
    }
    const aiMatrix4x4 world = parent * local;  // column vectors: the parent applies last
    out.emplace_back(node->mName.C_Str(), world);
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        AssimpWorldsAt(node->mChildren[i], world, anim, ticks, out);
}
