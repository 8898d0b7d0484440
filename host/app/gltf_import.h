// glTF 2.0 into the host's scene file: nodes become bones with their hierarchy, meshes skin
// nodes with their weights, linear animation channels keys on the frames they were sampled at.
#pragma once

#include <string>

#include "scene_file.h"

namespace qvapp {

// Reads a .glb (or .gltf) file into scene file content. Every node without a mesh becomes a
// bone, every node with one a skin node (gltf_import_skin.h), each keyed at every time of its
// channels (or once at frame 0 with its own transform); a
// file the host exported gives back its time per frame, range and frames (its scene's
// extras), any other file is read at the host's default 33 ms per frame from frame 0.
// False with an error naming what the host cannot take: a node placed by a matrix, an
// interpolation other than LINEAR, data it cannot read, a node with two parents.
bool GltfToSavedScene(const std::string& path, SavedScene& scene, std::string& error);

// `quorvane import-gltf IN OUT.qscene`: the scene file written whole, or not at all.
bool ImportGltfFile(const std::string& inPath, const std::string& outPath, std::string& error);

}  // namespace qvapp
