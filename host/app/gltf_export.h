// Binary glTF 2.0 out of the present scene: its bones as a node hierarchy with their rest
// transforms, its skins as skinned meshes, and its keys as linear animation channels.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include <tiny_gltf.h>

namespace qvapp {

// What a file exported by the host says about its time base, in the scene's extras under
// kGltfTimeExtras: "firstFrame" (the frame at time 0 of the animation), "tpf" (milliseconds per
// frame) and "range" (the scene's animation range), so that the import puts keys back on their
// frames.
inline constexpr const char* kGltfTimeExtras = "quorvane";

// The model of the scene from frame first to last (default: from the first key of any bone to
// the last). Bones hold their transforms at the first frame; each bone with more than one key
// gets translation, rotation and scale channels sampled at its keys from first to last (and
// at first and last where its track goes on past them), which linear interpolation (slerp for
// rotations) plays back exactly as the host evaluates its tracks. False with an error when the scene has no bone or the frames
// are out of order.
bool SceneToGltf(std::optional<std::pair<int, int>> frames, tinygltf::Model& model,
                 std::string& error);

// The same, written as a .glb file that replaces the file at path only whole.
bool WriteSceneGltf(const std::string& path, std::optional<std::pair<int, int>> frames,
                    std::string& error);

}  // namespace qvapp
