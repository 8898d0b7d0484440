// Skinned meshes: vertices with up to 10 bone weights, deformed by their bones.
#pragma once

#include <string>
#include <vector>

#include "quorvane/api.h"
#include "quorvane/node.h"

// Growable arrays of flags and of unsigned values, one per vertex.
class QVAPI cbooleanarray {
public:
    cbooleanarray() = default;
    explicit cbooleanarray(int n, bool value = false) : v_(n, value ? 1 : 0) {}
    int Count() const { return static_cast<int>(v_.size()); }
    void SetCount(int n, bool value = false) { v_.assign(n, value ? 1 : 0); }
    bool operator[](int i) const { return v_[i] != 0; }
    void Set(int i, bool value) { v_[i] = value ? 1 : 0; }
private:
    std::vector<unsigned char> v_;
};

class QVAPI culongarray {
public:
    culongarray() = default;
    explicit culongarray(int n, unsigned long value = 0) : v_(n, value) {}
    int Count() const { return static_cast<int>(v_.size()); }
    void SetCount(int n, unsigned long value = 0) { v_.assign(n, value); }
    unsigned long& operator[](int i) { return v_[i]; }
    unsigned long operator[](int i) const { return v_[i]; }
private:
    std::vector<unsigned long> v_;
};

struct cskinweight {
    float value = 0.0f;
    cpoint3 offset;          // the vertex in the bone's frame at bind time
    cnode* bone = nullptr;
};

enum : int { QV_MAX_SKIN_WEIGHTS = 10 };

struct cskinvertex {
    cpoint3 pos;             // deformed position
    int numWeights = 0;
    cskinweight weights[QV_MAX_SKIN_WEIGHTS];
};

// What a weight-mirroring tool found beyond its own report, for the host to print and dump:
// per pair of bones the largest weight difference between a source vertex and its mirrored
// vertex before the copy, and the source vertices left unmatched grouped by their nearest bone.
struct cskinmirrorpair {
    std::string bone, mirror;   // source bone and the bone it became
    int pairs = 0;              // matched vertices weighted to the source bone
    float maxDiff = 0.0f;       // largest |w(source, bone) - w(destination before, mirror)|
    int worstVertex = -1;       // the source vertex of that difference
};
struct cskinunmatched {
    std::string bone;           // the nearest bone of the vertices
    std::vector<int> verts;     // source vertex indices, ascending
};
struct cskinmirrorreport {
    bool valid = false;         // false until a tool has mirrored this skin
    int matched = 0, sources = 0;
    std::vector<cskinmirrorpair> pairs;
    std::vector<cskinunmatched> unmatched;
};

// A skin node (type 6): deformed positions = Σ weight · (offset · boneWorld(t)).
class QVAPI cskin : public cnode {
public:
    cskin();
    ~cskin() override;
    int GetTypeID() const override;
    void Draw(int t, CGLWindow* view, unsigned flags) override;
    void SetSelection(int t, int level, const cbooleanarray& sel, int replace) override;

    int GetVert(int i, cskinvertex& v) const;   // 1, or 0 out of range
    // 1, or 0 out of range. A weight whose bone differs from the bone the vertex had in that
    // place gets its offset recomputed from the bind: offset = bindPos · Inverse(bindTM(bone)),
    // so that a copied weight deforms the vertex from where it was bound. Without a bind, a
    // vertex that had weights is taken as bound where it is now (offset = pos · Inverse(boneWorld
    // at the current time)); one that had none keeps the offsets given.
    int SetVert(int i, const cskinvertex& v);
    void SelectVert(int i);
    void UpdateDeformers(int t);
    // The deformed positions at time t, without changing the stored ones.
    void DeformedPositions(int t, std::vector<cpoint3>& out) const;

    // The bind: every vertex's position and every bone's world matrix at bind time.
    // Bones bound later (a weight given a bone the bind did not know) take their matrix at
    // bindTime when first used.
    void SetBind(int t, const std::vector<cnode*>& bones);
    cmatrix4 BindTM(cnode* bone);

    int numVerts = 0;
    std::vector<cskinvertex> verts;
    std::vector<int> triangles;     // 3 vertex indices per face, for drawing
    cbooleanarray vertSel;
    std::vector<cpoint3> bindPos;   // one per vertex, empty before a bind
    std::vector<std::pair<cnode*, cmatrix4>> bindBones;
    int bindTime = 0;
    cskinmirrorreport mirrorReport;  // set by a weight-mirroring tool, read by the host
};
