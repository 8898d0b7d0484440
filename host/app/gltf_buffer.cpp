// Appends accessor data to the single buffer of a glTF model.
#include "gltf_buffer.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace qvapp {
namespace {

// glTF wants every buffer view (and so every accessor) to start on a multiple of the
// component size; four bytes covers floats, unsigned ints and unsigned shorts.
constexpr size_t kViewAlignmentBytes = 4;

}  // namespace

GltfBufferBuilder::GltfBufferBuilder(tinygltf::Model& model) : model_(model) {
    if (model_.buffers.empty()) model_.buffers.emplace_back();
}

int GltfBufferBuilder::AddView(const void* data, size_t bytes, int target) {
    std::vector<unsigned char>& buffer = model_.buffers[0].data;
    buffer.resize((buffer.size() + kViewAlignmentBytes - 1) / kViewAlignmentBytes *
                  kViewAlignmentBytes);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = buffer.size();
    view.byteLength = bytes;
    view.target = target;
    buffer.resize(buffer.size() + bytes);
    std::memcpy(buffer.data() + view.byteOffset, data, bytes);
    model_.bufferViews.push_back(view);
    return static_cast<int>(model_.bufferViews.size()) - 1;
}

int GltfBufferBuilder::AddAccessor(int view, int componentType, int type, size_t count) {
    tinygltf::Accessor accessor;
    accessor.bufferView = view;
    accessor.byteOffset = 0;
    accessor.componentType = componentType;
    accessor.type = type;
    accessor.count = count;
    model_.accessors.push_back(accessor);
    return static_cast<int>(model_.accessors.size()) - 1;
}

int GltfBufferBuilder::AddFloats(const std::vector<float>& values, int type, bool bounds,
                                 int target) {
    const size_t width = static_cast<size_t>(tinygltf::GetNumComponentsInType(type));
    const int view = AddView(values.data(), values.size() * sizeof(float), target);
    const int index =
        AddAccessor(view, TINYGLTF_COMPONENT_TYPE_FLOAT, type, values.size() / width);
    if (bounds && !values.empty()) {
        tinygltf::Accessor& accessor = model_.accessors[index];
        accessor.minValues.assign(width, std::numeric_limits<double>::infinity());
        accessor.maxValues.assign(width, -std::numeric_limits<double>::infinity());
        for (size_t i = 0; i < values.size(); ++i) {
            accessor.minValues[i % width] = std::min<double>(accessor.minValues[i % width], values[i]);
            accessor.maxValues[i % width] = std::max<double>(accessor.maxValues[i % width], values[i]);
        }
    }
    return index;
}

template <typename T>
int GltfBufferBuilder::AddIntegers(const std::vector<T>& values, int componentType, int type,
                                   int target) {
    const size_t width = static_cast<size_t>(tinygltf::GetNumComponentsInType(type));
    const int view = AddView(values.data(), values.size() * sizeof(T), target);
    return AddAccessor(view, componentType, type, values.size() / width);
}

int GltfBufferBuilder::AddUnsignedShorts(const std::vector<uint16_t>& values, int type,
                                         int target) {
    return AddIntegers(values, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, type, target);
}

int GltfBufferBuilder::AddUnsignedInts(const std::vector<uint32_t>& values, int type,
                                       int target) {
    return AddIntegers(values, TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, type, target);
}

}  // namespace qvapp
