// `quorvane bvh info FILE`: what a BVH file holds as the plug-in's reader sees it (joints with
// their channels, frames, frame time) and which joints the import maps onto which biped bones.
#include "bvh_info.h"

#include <fstream>
#include <iomanip>
#include <iterator>

#include "Skeleton/Bip/BipBones.h"
#include "Skeleton/BipFile/BipFileBvh.h"
#include "Skeleton/BipFile/BipFileBvhNames.h"

namespace qvapp {
namespace {

// The biped bone a name table entry feeds, as its scene name on a biped "Bip01".
std::string BoneName(int k) {
    const int slot = bvhNameTable[k].slot;
    return slot == kSlotRoot ? "Bip01" : std::string("Bip01 ") + BipBaseName(slot);
}

int Depth(const BVHBone* joint) {
    int d = 0;
    for (const BVHBone* p = joint->parent; p && p->parent; p = p->parent) ++d;
    return d;
}

}  // namespace

int BvhInfo(const std::string& path, std::ostream& out, std::ostream& err) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err << "quorvane: cannot read " << path << "\n";
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    BVHBone container;
    const BvhReadResult r = ReadBvhText(text, container);
    if (!r.ok) {
        err << path << ": refused by the reader: " << r.message << "\n";
        return 1;
    }
    std::vector<BVHBone*> joints;
    for (auto& root : container.children)
        for (BVHBone* j : BvhPreOrder(root.get())) joints.push_back(j);
    const BVHBone* first = joints.empty() ? nullptr : joints.front();
    out << path << "\n";
    out << "frames: " << (first ? static_cast<int>(first->frameCount) : 0)
        << ", frame time: " << (first ? first->frameTime : 0.0f) << " s\n";
    out << "joints: " << joints.size() << " (End Sites included)\n";
    std::vector<std::string> unmapped;
    for (const BVHBone* j : joints) {
        const int k = BvhNameIndex(j->name);
        const bool endSite = j->children.empty() && j->layout == BvhLayout::None;
        out << std::string(2 * Depth(j) + 2, ' ') << std::left << std::setw(24)
            << (endSite ? "End Site" : j->name) << " channels " << BvhChannelCount(j->layout);
        if (k >= 0) out << "  -> " << BoneName(k);
        out << "\n";
        if (k < 0 && !endSite) unmapped.push_back(j->name);
    }
    out << "not mapped:";
    for (const std::string& name : unmapped) out << " " << name;
    out << (unmapped.empty() ? " none\n" : "\n");
    return 0;
}

}  // namespace qvapp
