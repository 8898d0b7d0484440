// Skinned meshes: vertices with up to 10 bone weights, deformed by their bones.
#pragma once

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

// A skin node (type 6): deformed positions = Σ weight · (offset · boneWorld(t)).
class QVAPI cskin : public cnode {
public:
    cskin();
    ~cskin() override;
    int GetTypeID() const override;
    void Draw(int t, CGLWindow* view, unsigned flags) override;
    void SetSelection(int t, int level, const cbooleanarray& sel, int replace) override;

    int GetVert(int i, cskinvertex& v) const;   // 1, or 0 out of range
    int SetVert(int i, const cskinvertex& v);   // 1, or 0 out of range
    void SelectVert(int i);
    void UpdateDeformers(int t);

    int numVerts = 0;
    std::vector<cskinvertex> verts;
    std::vector<int> triangles;     // 3 vertex indices per face, for drawing
    cbooleanarray vertSel;
};
