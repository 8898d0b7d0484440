// Reading a glTF accessor's elements as floats, whatever their component type.
#pragma once

#include <string>
#include <vector>

#include <tiny_gltf.h>

namespace qvapp {

// The accessor's elements, `width` components each, as floats: float data as it is, integers
// as their values (or, for normalised integers, scaled to 0..1 as glTF means them). False with
// an error naming the accessor when it does not exist, has another width, is sparse or reaches
// past its buffer.
bool ReadGltfAccessor(const tinygltf::Model& model, int index, int width, std::vector<float>& out,
                      std::string& error);

}  // namespace qvapp
