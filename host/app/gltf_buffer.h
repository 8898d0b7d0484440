// The binary part of a glTF model as it is built: one buffer that every accessor's data is
// appended to, each in a buffer view of its own, aligned to four bytes.
#pragma once

#include <cstdint>
#include <vector>

#include <tiny_gltf.h>

namespace qvapp {

class GltfBufferBuilder {
public:
    explicit GltfBufferBuilder(tinygltf::Model& model);

    // An accessor of count elements of the given type (TINYGLTF_TYPE_VEC3 ...) holding the
    // floats in order; with bounds, min and max per component are recorded (glTF requires them
    // on positions and animation times). target is the buffer view's target (0: none, as for
    // animation data and inverse bind matrices). Answers the accessor's index.
    int AddFloats(const std::vector<float>& values, int type, bool bounds, int target = 0);
    // An accessor of unsigned shorts (joint indices) or unsigned ints (triangle indices).
    int AddUnsignedShorts(const std::vector<uint16_t>& values, int type, int target);
    int AddUnsignedInts(const std::vector<uint32_t>& values, int type, int target);

private:
    int AddView(const void* data, size_t bytes, int target);
    int AddAccessor(int view, int componentType, int type, size_t count);
    template <typename T>
    int AddIntegers(const std::vector<T>& values, int componentType, int type, int target);

    tinygltf::Model& model_;
};

}  // namespace qvapp
