// The independent reader's view of a BVH file: world positions of every node that assimp makes
// of it, for comparing with our own reader's forward kinematics.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <assimp/scene.h>

// World positions of every node below `node` in pre-order, with their names, at animation key
// `key` (nodes without a channel keep their own transformation), in the file's units.
inline void AssimpPositions(const aiNode* node, const aiMatrix4x4& parent, const aiAnimation* anim,
                            unsigned key, std::vector<std::pair<std::string, aiVector3D>>& out) {
    aiMatrix4x4 local = node->mTransformation;
    for (unsigned c = 0; anim && c < anim->mNumChannels; ++c) {
        const aiNodeAnim* ch = anim->mChannels[c];
        if (ch->mNodeName != node->mName) continue;
        const aiVector3D p = ch->mPositionKeys[std::min(key, ch->mNumPositionKeys - 1)].mValue;
        const aiQuaternion q = ch->mRotationKeys[std::min(key, ch->mNumRotationKeys - 1)].mValue;
        local = aiMatrix4x4(aiVector3D(1, 1, 1), q, p);
    }
    const aiMatrix4x4 world = parent * local;  // column vectors: the parent applies last
    out.emplace_back(node->mName.C_Str(), aiVector3D(world.a4, world.b4, world.c4));
    for (unsigned i = 0; i < node->mNumChildren; ++i)
        AssimpPositions(node->mChildren[i], world, anim, key, out);
}
