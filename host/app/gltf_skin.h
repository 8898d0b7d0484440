// Skinned meshes in a glTF model: a skin node's triangles, its bind positions, its weights as
// joint and weight sets, and the inverse bind matrices of its bones.
#pragma once

#include <map>
#include <vector>

#include <tiny_gltf.h>

class cnode;
class cskin;

namespace qvapp {

class GltfBufferBuilder;

// Adds a mesh, and a skin when its vertices are weighted to exported bones, for every skin
// node; answers the glTF nodes that carry them (scene roots without a transform of their own,
// as glTF places a skinned mesh by its joints alone). nodeIndex maps the exported bones to
// their glTF nodes; first is the export's first frame.
//
// The inverse bind matrices and the mesh's positions come from the skin's bind when it has
// one. A skin without (read from a scene file) is taken as bound at the frame, of the scene's
// current one and the export's first, where its weighted offsets agree best on where each
// vertex is.
std::vector<int> AddGltfSkins(const std::vector<cskin*>& skins,
                              const std::map<const cnode*, int>& nodeIndex, int first,
                              tinygltf::Model& model, GltfBufferBuilder& buffer);

}  // namespace qvapp
