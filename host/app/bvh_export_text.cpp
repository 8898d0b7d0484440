// Writing the biped as BVH text. The file's frame is the host's with y and z exchanged (the
// file stands on its Y axis), as in the plug-in's own export; positions are written × 12, which
// the reader divides back. Rotations are written so that the reader's forward kinematics
// (column vectors, world = parentWorld ⊗ local) puts every joint where the host puts its bone:
// a host rotation q {x, y, z, w} is written as {x, z, y, w} through QuatToEuler.
#include "bvh_export_text.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "Skeleton/Bip/BipBones.h"
#include "Skeleton/BipFile/BipFileBvh.h"
#include "Skeleton/BipFile/BipFileBvhNames.h"
#include "quorvane/interface.h"
#include "quorvane/math.h"
#include "quorvane/node.h"

namespace qvapp {
namespace {

constexpr const char* kRootJointName = "Hips";
constexpr const char* kBipedRootName = "Bip01";

// Host placement into the file's frame: y and z exchanged.
cpoint3 ToFile(const cpoint3& p) { return MakePt3(p.x, p.z, p.y); }
cquat ToFile(const cquat& q) { return MakeQuat(q.x, q.z, q.y, q.w); }

bool IsBipedRootName(const char* name) {
    return std::strlen(name) == 5 && std::strncmp(name, "Bip", 3) == 0 &&
           name[3] >= '0' && name[3] <= '9' && name[4] >= '0' && name[4] <= '9';
}

struct Joint {
    cnode* bone;
    int parent;      // index into the joint list, -1 for the root
    int depth;       // nesting, the root 0
    std::string name;
};

void Collect(cnode* bone, int parent, int depth, const std::string& rootName,
             std::vector<Joint>& out) {
    const int self = static_cast<int>(out.size());
    out.push_back({bone, parent, depth, BvhJointName(rootName, bone->GetName())});
    for (int i = 0; i < bone->NumChildren(); ++i) {
        cnode* child = bone->GetChild(i);
        if (child && child->GetTypeID() == QV_TYPE_BONE) Collect(child, self, depth + 1, rootName, out);
    }
}

class Writer {
public:
    Writer(const std::vector<Joint>& joints, int from) : joints_(joints), from_(from) {}
    void Hierarchy();
    void Motion(int to, float frameTimeS);
    std::string& Text() { return out_; }

private:
    template <typename... Args>
    void Print(const char* format, Args... args) {
        char line[256];
        const int n = std::snprintf(line, sizeof line, format, args...);
        if (n > 0) out_.append(line, std::min(static_cast<size_t>(n), sizeof line - 1));
    }
    void Indent(int depth) { out_.append(static_cast<size_t>(depth), '\t'); }
    bool HasChildren(size_t i) const {
        return i + 1 < joints_.size() && joints_[i + 1].parent == static_cast<int>(i);
    }
    void Angles(const cquat& q);

    const std::vector<Joint>& joints_;
    int from_;
    std::string out_;
};

// Joints in pre-order: each opens its block, a joint without children closes with an End Site,
// and the blocks the next joint is not inside are closed.
void Writer::Hierarchy() {
    out_ += "HIERARCHY\n";
    for (size_t i = 0; i < joints_.size(); ++i) {
        const Joint& j = joints_[i];
        cpoint3 offset = j.bone->GetPosition(from_);
        if (j.parent >= 0) {
            // offset = (world - parentWorld) ⊗ Inverse(parentWorldRotation): the parent-relative rest offset
            cnode* parent = joints_[j.parent].bone;
            offset = (offset - parent->GetPosition(from_)) * Inverse(parent->GetRotation(from_));
        }
        const cpoint3 o = ToFile(offset) * kBvhUnitsPerHost;
        Indent(j.depth);
        Print("%s %s\n", j.parent < 0 ? "ROOT" : "JOINT", j.name.c_str());
        Indent(j.depth);
        Print("{\n");
        Indent(j.depth + 1);
        Print("OFFSET %.6f %.6f %.6f\n", o.x, o.y, o.z);
        Indent(j.depth + 1);
        Print(j.parent < 0 ? "CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
                           : "CHANNELS 3 Zrotation Xrotation Yrotation\n");
        if (!HasChildren(i)) {
            Indent(j.depth + 1);
            Print("End Site\n");
            Indent(j.depth + 1);
            Print("{\n");
            Indent(j.depth + 2);
            Print("OFFSET %.6f %.6f %.6f\n", 0.0, 0.0, 0.0);
            Indent(j.depth + 1);
            Print("}\n");
        }
        const int nextDepth = i + 1 < joints_.size() ? joints_[i + 1].depth : 0;
        for (int d = j.depth; d >= nextDepth; --d) {
            Indent(d);
            Print("}\n");
        }
    }
}

void Writer::Angles(const cquat& q) {
    const cpoint3 e = QuatToEuler(ToFile(q));
    Print(" %.6f %.6f %.6f", e.z, e.x, e.y);  // the channels read Z, X, Y
}

void Writer::Motion(int to, float frameTimeS) {
    Print("MOTION\nFrames: %d\nFrame Time: %.6f\n", to - from_ + 1, frameTimeS);
    for (int t = from_; t <= to; ++t) {
        const cpoint3 p = ToFile(joints_[0].bone->GetPosition(t)) * kBvhUnitsPerHost;
        Print("%.6f %.6f %.6f", p.x, p.y, p.z);
        for (const Joint& j : joints_) {
            const cquat world = j.bone->GetRotation(t);
            // local = world × Inverse(parentWorld); the root's is its world rotation
            Angles(j.parent < 0 ? world : world * Inverse(joints_[j.parent].bone->GetRotation(t)));
        }
        out_ += "\n";
    }
}

}  // namespace

cnode* FindBipedRoot() {
    if (cnode* root = Interface::FindNode(kBipedRootName)) return root;
    for (int i = 0; i < Interface::NumNodes(); ++i) {
        cnode* n = Interface::GetNodeAt(i);
        if (n && IsBipedRootName(n->GetName())) return n;
    }
    return nullptr;
}

std::string BvhJointName(const std::string& rootName, const std::string& boneName) {
    if (boneName == rootName) return kRootJointName;
    const std::string prefix = rootName + " ";
    if (boneName.compare(0, prefix.size(), prefix) == 0) {
        const std::string base = boneName.substr(prefix.size());
        for (int slot = kSlotRoot + 1; slot < kSlotLast; ++slot) {
            if (base != BipBaseName(slot)) continue;
            const int k = BvhSlotIndex(slot);
            if (k >= 0 && bvhNameTable[k].names[0]) return bvhNameTable[k].names[0];
            break;
        }
    }
    std::string name = boneName.empty() ? "Bone" : boneName;
    for (char& c : name)
        if (c == ' ' || c == '\t') c = '_';
    return name;
}

bool BipedBvhText(cnode* root, int from, int to, float frameTimeS, std::string& text,
                  std::string& error) {
    if (!root) {
        error = "no biped in the scene (no node named Bip01 or BipNN)";
        return false;
    }
    if (from > to) {
        error = "the first frame " + std::to_string(from) + " comes after the last " +
                std::to_string(to);
        return false;
    }
    std::vector<Joint> joints;
    Collect(root, -1, 0, root->GetName(), joints);
    Writer w(joints, from);
    w.Hierarchy();
    w.Motion(to, frameTimeS);
    text = std::move(w.Text());
    return true;
}

}  // namespace qvapp
