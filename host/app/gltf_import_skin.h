// A glTF mesh node read back as a host skin node: its triangles, its vertices at the mesh's
// positions and their joint weights with the offsets the inverse bind matrices give.
#pragma once

#include <map>
#include <string>

#include <tiny_gltf.h>

#include "scene_file.h"

namespace qvapp {

// The mesh of glTF node `node` as a skin node (type 6); `boneNames` gives the
// scene name of every glTF node read as a bone. A weight's offset is its vertex in its joint's
// frame at the bind: inverseBind × position, carried back into the host's axes. Weights on a
// joint that is not read as a bone are dropped. False with an error naming the mesh when its
// data cannot be read or it has more than the host's ten weights on a vertex.
bool GltfMeshToSavedSkin(const tinygltf::Model& model, int node,
                         const std::map<int, std::string>& boneNames, SavedNode& out,
                         std::string& error);

}  // namespace qvapp
