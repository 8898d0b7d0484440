// Reads accessor data out of a glTF model's buffers, honouring views' strides.
#include "gltf_accessor.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

namespace qvapp {
namespace {

// One component at p, as a float.
template <typename T>
float Component(const unsigned char* p, bool normalized) {
    T v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::is_integral_v<T>)
        if (normalized) return static_cast<float>(v) / static_cast<float>(std::numeric_limits<T>::max());
    return static_cast<float>(v);
}

float ReadComponent(int componentType, const unsigned char* p, bool normalized) {
    switch (componentType) {
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return Component<uint8_t>(p, normalized);
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: return Component<uint16_t>(p, normalized);
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: return Component<uint32_t>(p, normalized);
        default: return Component<float>(p, false);
    }
}

}  // namespace

bool ReadGltfAccessor(const tinygltf::Model& model, int index, int width, std::vector<float>& out,
                      std::string& error) {
    const std::string where = "accessor " + std::to_string(index);
    if (index < 0 || index >= static_cast<int>(model.accessors.size())) {
        error = where + " does not exist";
        return false;
    }
    const tinygltf::Accessor& a = model.accessors[index];
    const int componentBytes = tinygltf::GetComponentSizeInBytes(a.componentType);
    const bool known = a.componentType == TINYGLTF_COMPONENT_TYPE_FLOAT ||
                       a.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE ||
                       a.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT ||
                       a.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    if (!known || tinygltf::GetNumComponentsInType(a.type) != width || a.sparse.isSparse ||
        a.bufferView < 0 || a.bufferView >= static_cast<int>(model.bufferViews.size())) {
        error = where + ": expected " + std::to_string(width) +
                " float or unsigned components per element, not sparse";
        return false;
    }
    const tinygltf::BufferView& view = model.bufferViews[a.bufferView];
    const size_t elementBytes = static_cast<size_t>(componentBytes) * width;
    const size_t stride = view.byteStride ? view.byteStride : elementBytes;
    const size_t start = view.byteOffset + a.byteOffset;
    if (view.buffer < 0 || view.buffer >= static_cast<int>(model.buffers.size()) ||
        view.byteOffset + view.byteLength > model.buffers[view.buffer].data.size() ||
        (a.count > 0 && start + stride * (a.count - 1) + elementBytes >
                            view.byteOffset + view.byteLength)) {
        error = where + " reaches past its buffer";
        return false;
    }
    const unsigned char* data = model.buffers[view.buffer].data.data();
    out.resize(a.count * width);
    for (size_t i = 0; i < a.count; ++i)
        for (int k = 0; k < width; ++k)
            out[i * width + k] =
                ReadComponent(a.componentType, data + start + i * stride + k * componentBytes,
                              a.normalized);
    return true;
}

}  // namespace qvapp
