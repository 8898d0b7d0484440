// Saving the bound biped as BVH text: the 18 bones the name table knows, under the names the
// import accepts first, offsets pointing along a fixed default skeleton with the biped's own
// lengths, and one frame of motion holding the pose at time 0. Every position, offset and
// rotation leaves the biped with its y and z exchanged.
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/BipFile/BipFileBvhNames.h"
#include "quorvane/node.h"
#include "quorvane/util.h"

namespace {

constexpr int kExportFrames = 1;
constexpr float kExportFrameTimeS = 0.033333f;  // whatever the host's time per frame
constexpr int kPoseTime = 0;                    // every pose is read at frame 0
constexpr size_t kMaxIndent = 255;              // tabs
constexpr size_t kMaxLine = 1536;  // characters of one written line: the deepest indent fits

// Default joint positions by name table index k; only the directions between them are used.
const cpoint3 kDefaultJoint[kBvhNumNames] = {
    {0.0f, 0.0f, 0.0f},       {0.0f, 0.0f, 0.0f},       {-0.286f, 0.0f, 0.0f},
    {-0.286f, 0.0f, -1.567f}, {-0.286f, 0.0f, -3.031f}, {0.286f, 0.0f, 0.0f},
    {0.286f, 0.0f, -1.539f},  {0.286f, 0.0f, -3.035f},  {0.0f, 0.0f, 0.381f},
    {0.0f, 0.0f, 1.849f},     {0.0f, 0.0f, 2.282f},     {-0.088f, -0.147f, 1.659f},
    {-0.593f, -0.147f, 1.659f}, {-0.593f, -0.147f, 0.667f}, {-0.593f, -0.147f, -0.126f},
    {0.088f, -0.147f, 1.659f},  {0.572f, -0.147f, 1.659f},  {0.572f, -0.147f, 0.652f},
    {0.572f, -0.147f, -0.166f},
};

// The walk's children of each slot: the full default hierarchy with all five spine links,
// whatever the biped's own; -1 ends a list. Feet, hands and the head end in an End Site.
struct Children {
    int slot;
    int child[3];
};
constexpr Children kWalk[] = {
    {kSlotRoot, {kSlotPelvis, -1, -1}},
    {kSlotPelvis, {kSlotSpine, kSlotLThigh, kSlotRThigh}},
    {kSlotSpine, {kSlotSpine + 1, -1, -1}},
    {kSlotSpine + 1, {kSlotSpine + 2, -1, -1}},
    {kSlotSpine + 2, {kSlotSpine + 3, -1, -1}},
    {kSlotSpine + 3, {kSlotSpine + 4, -1, -1}},
    {kSlotSpine + 4, {kSlotNeck, kSlotLClavicle, kSlotRClavicle}},
    {kSlotNeck, {kSlotHead, -1, -1}},
    {kSlotRClavicle, {kSlotRUpperArm, -1, -1}},
    {kSlotRUpperArm, {kSlotRForearm, -1, -1}},
    {kSlotRForearm, {kSlotRHand, -1, -1}},
    {kSlotLClavicle, {kSlotLUpperArm, -1, -1}},
    {kSlotLUpperArm, {kSlotLForearm, -1, -1}},
    {kSlotLForearm, {kSlotLHand, -1, -1}},
    {kSlotRThigh, {kSlotRCalf, -1, -1}},
    {kSlotRCalf, {kSlotRFoot, -1, -1}},
    {kSlotLThigh, {kSlotLCalf, -1, -1}},
    {kSlotLCalf, {kSlotLFoot, -1, -1}},
};

bool EndsWithSite(int slot) {
    return slot == kSlotRFoot || slot == kSlotLFoot || slot == kSlotHead || slot == kSlotRHand ||
           slot == kSlotLHand;
}

const int* ChildrenOf(int slot) {
    for (const Children& c : kWalk)
        if (c.slot == slot) return c.child;
    return nullptr;
}

// The y and z of a rotation exchanged, then as the host's Euler angles.
cpoint3 ExportEuler(const cquat& q) { return QuatToEuler(MakeQuat(q.x, q.z, q.y, q.w)); }

class Writer {
public:
    explicit Writer(cbipanim& tool) : tool_(tool) {}
    void Hierarchy();
    void Motion();
    const std::string& Text() const { return out_; }

private:
    bool Written(int slot) const {
        return slot != kSlotPelvis && BvhSlotIndex(slot) >= 0 && tool_.bones[slot];
    }
    void Joint(int slot, int parent);
    void EndSite();
    void Angles(const cquat& local);
    template <typename... Args>
    void Print(const char* format, Args... args) {
        char line[kMaxLine];
        const int n = std::snprintf(line, sizeof line, format, args...);
        if (n > 0) out_.append(line, std::min(static_cast<size_t>(n), sizeof line - 1));
    }
    void Put(const char* text) { out_ += text; }

    std::string out_;
    cbipanim& tool_;
    std::string indent_;
    std::vector<std::pair<int, int>> order_;  // (slot, written parent) as written
};

void Writer::Hierarchy() {
    Put("HIERARCHY\nROOT Hips\n{\n");
    Print("\tOFFSET\t%.6f %.6f %.6f\n", 0.0, 0.0, 0.0);
    Put("\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n");
    indent_.assign(1, '\t');
    const int* c = ChildrenOf(kSlotRoot);
    for (int i = 0; i < 3 && c[i] >= 0; ++i) Joint(c[i], kSlotRoot);
    indent_.clear();
    Put("}\n");
}

// A written joint's offset points from its parent's default position to its own, as long as
// the biped's bones stand apart; joints not written hand their parent on to their children.
void Writer::Joint(int slot, int parent) {
    const bool written = Written(slot);
    if (written) {
        const int k = BvhSlotIndex(slot);
        const cpoint3 dir = Normalize(kDefaultJoint[k] - kDefaultJoint[BvhSlotIndex(parent)]);
        const cpoint3 o = dir * Length(tool_.bones[slot]->GetPosition(kPoseTime) -
                                       tool_.bones[parent]->GetPosition(kPoseTime));
        Print("%sJOINT %s\n%s{\n", indent_.c_str(), bvhNameTable[k].names[0],
                     indent_.c_str());
        Print("%s\tOFFSET\t%.6f %.6f %.6f\n", indent_.c_str(), o.x, o.z, o.y);
        Print("%s\tCHANNELS 3 Zrotation Xrotation Yrotation\n", indent_.c_str());
        if (indent_.size() < kMaxIndent) indent_ += '\t';
        order_.emplace_back(slot, parent);
    }
    const int below = written ? slot : parent;
    if (EndsWithSite(slot)) {
        EndSite();
    } else if (const int* c = ChildrenOf(slot)) {
        for (int i = 0; i < 3 && c[i] >= 0; ++i) Joint(c[i], below);
    }
    if (written) {
        if (!indent_.empty()) indent_.pop_back();
        Print("%s}\n", indent_.c_str());
    }
}

void Writer::EndSite() {
    const char* in = indent_.c_str();
    Print("%sEnd Site\n%s{\n%s\tOFFSET\t%.6f %.6f %.6f\n%s}\n", in, in, in, 0.0, 0.0,
                 0.0, in);
}

void Writer::Angles(const cquat& local) {
    const cpoint3 e = ExportEuler(local);
    Print("%.6f\t%.6f\t%.6f\t", e.z, e.x, e.y);
}

void Writer::Motion() {
    Print("MOTION\nFrames:\t%d\nFrame Time:\t%.6f\n", kExportFrames, kExportFrameTimeS);
    cnode* root = tool_.bones[kSlotRoot];
    const cpoint3 p = root->GetPosition(kPoseTime);
    Print("%.6f\t%.6f\t%.6f\t", p.x, p.z, p.y);
    Angles(root->GetRotation(kPoseTime));
    // local = world × Inverse(parentWorld)
    for (const auto& [slot, parent] : order_) {
        cnode* bone = tool_.bones[slot];
        Angles(bone->GetRotation(kPoseTime) * Inverse(tool_.bones[parent]->GetRotation(kPoseTime)));
    }
    Put("\n");
}

}  // namespace

int cbipanim::SaveBVH(char* path) {
    if (!path || !bones[kSlotRoot]) return 0;
    Writer w(*this);
    w.Hierarchy();
    w.Motion();
    return WriteWholeFile(path, w.Text().data(), w.Text().size());
}
