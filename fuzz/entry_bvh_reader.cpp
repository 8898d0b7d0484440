// Fuzz entry: BVH text through the module's reader, then every frame posed as an import does.
#include <cstdlib>

#include "Skeleton/BipFile/BipFileBvh.h"
#include "fuzz_entries.h"

namespace qvfuzz {

// At most this many frames are posed per input, so that one input stays fast.
constexpr int kMaxPosedFrames = 64;

void BvhReader(std::string_view bytes) {
    BVHBone container;
    const BvhReadResult r = ReadBvhText(bytes, container);
    if (r.ok != r.message.empty()) std::abort();  // a refusal always says why
    if (r.ok && !container.children.empty()) {
        BVHBone* root = container.children.front().get();
        const std::vector<BVHBone*> joints = BvhPreOrder(root);
        const int frames = static_cast<int>(root->frameCount);
        for (int f = 0; f < frames && f < kMaxPosedFrames; ++f)
            for (BVHBone* j : joints) SetBvhPose(*j, f);
        BvhWorldPositions(root);
        AdvanceBvh(container, 1.0f, 1);
    }
    FreeBvh(container);
}

}  // namespace qvfuzz
