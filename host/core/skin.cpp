// Skin nodes: weighted vertices deformed by their bones, their bind, and their vertex selection.
#include "quorvane/skin.h"

#include <unordered_map>

#include "core_internal.h"
#include "quorvane/interface.h"

namespace {
// The bones' world matrices at one time, each evaluated once however many weights name it.
class BoneMatrices {
public:
    explicit BoneMatrices(int t) : t_(t) {}
    // Null for a bone that is not live.
    const cmatrix4* Of(cnode* bone) {
        if (bone == last_) return lastTM_;
        auto it = tm_.find(bone);
        if (it == tm_.end()) {
            const bool live = qv::detail::IsLive(bone);
            it = tm_.emplace(bone, std::make_pair(live, live ? bone->GetNodeTM(t_) : cmatrix4{})).first;
        }
        last_ = bone;
        lastTM_ = it->second.first ? &it->second.second : nullptr;
        return lastTM_;
    }

private:
    int t_;
    std::unordered_map<cnode*, std::pair<bool, cmatrix4>> tm_;
    cnode* last_ = nullptr;
    const cmatrix4* lastTM_ = nullptr;
};

// Σ value · (offset · boneWorld(t)) over the live bones; false when the vertex has none.
bool Deform(const cskinvertex& v, BoneMatrices& bones, cpoint3& out) {
    cpoint3 sum;
    bool any = false;
    int n = v.numWeights < QV_MAX_SKIN_WEIGHTS ? v.numWeights : QV_MAX_SKIN_WEIGHTS;
    for (int w = 0; w < n; ++w) {
        const cskinweight& cw = v.weights[w];
        const cmatrix4* tm = cw.bone ? bones.Of(cw.bone) : nullptr;
        if (!tm) continue;
        sum += (cw.offset * *tm) * cw.value;
        any = true;
    }
    if (any) out = sum;
    return any;
}
}  // namespace

cskin::cskin() = default;
cskin::~cskin() = default;
int cskin::GetTypeID() const { return QV_TYPE_SKIN; }

int cskin::GetVert(int i, cskinvertex& v) const {
    if (i < 0 || i >= static_cast<int>(verts.size())) return 0;
    v = verts[i];
    return 1;
}

int cskin::SetVert(int i, const cskinvertex& v) {
    if (i < 0 || i >= static_cast<int>(verts.size())) return 0;
    const cskinvertex before = verts[i];
    verts[i] = v;
    cskinvertex& now = verts[i];
    if (now.numWeights < 0) now.numWeights = 0;
    if (now.numWeights > QV_MAX_SKIN_WEIGHTS) now.numWeights = QV_MAX_SKIN_WEIGHTS;
    // A weight that names another bone than the one in its place had keeps the old bone's
    // offset otherwise, and the vertex would fly off when the bones move. A skin never bound
    // here (one loaded from a file) is taken as bound where its weighted vertex is now; a
    // vertex given its first weights outside a bind keeps the offsets it is given.
    const bool bound = i < static_cast<int>(bindPos.size());
    if (!bound && before.numWeights <= 0) return 1;
    const cpoint3 at = bound ? bindPos[i] : before.pos;
    for (int k = 0; k < now.numWeights; ++k) {
        cskinweight& w = now.weights[k];
        const bool sameBone = k < before.numWeights && before.weights[k].bone == w.bone;
        if (sameBone || !qv::detail::IsLive(w.bone)) continue;
        w.offset = at * Inverse(bound ? BindTM(w.bone) : w.bone->GetNodeTM(GetAnimTime()));
    }
    return 1;
}

void cskin::SetBind(int t, const std::vector<cnode*>& bones) {
    bindTime = t;
    bindPos.clear();
    for (const cskinvertex& v : verts) bindPos.push_back(v.pos);
    bindBones.clear();
    for (cnode* b : bones) bindBones.emplace_back(b, b->GetNodeTM(t));
}

cmatrix4 cskin::BindTM(cnode* bone) {
    for (const auto& [node, tm] : bindBones)
        if (node == bone) return tm;
    // A bone the bind did not know: its placement at bind time, remembered from now on.
    bindBones.emplace_back(bone, bone->GetNodeTM(bindPos.empty() ? GetAnimTime() : bindTime));
    return bindBones.back().second;
}

void cskin::SelectVert(int i) {
    if (i < 0 || i >= static_cast<int>(verts.size())) return;
    if (vertSel.Count() != static_cast<int>(verts.size())) {
        cbooleanarray grown(static_cast<int>(verts.size()));
        for (int k = 0; k < vertSel.Count() && k < grown.Count(); ++k) grown.Set(k, vertSel[k]);
        vertSel = grown;
    }
    vertSel.Set(i, true);
}

void cskin::SetSelection(int /*t*/, int /*level*/, const cbooleanarray& sel, int replace) {
    int n = static_cast<int>(verts.size());
    cbooleanarray next(n);
    for (int i = 0; i < n; ++i) {
        bool was = !replace && i < vertSel.Count() && vertSel[i];
        next.Set(i, was || (i < sel.Count() && sel[i]));
    }
    vertSel = next;
}

// pos = Σ value · (offset · boneWorld(t)); a vertex without live bones keeps its position.
void cskin::UpdateDeformers(int t) {
    BoneMatrices bones(t);
    for (cskinvertex& v : verts) Deform(v, bones, v.pos);
}

void cskin::DeformedPositions(int t, std::vector<cpoint3>& out) const {
    out.resize(verts.size());
    BoneMatrices bones(t);
    for (size_t i = 0; i < verts.size(); ++i)
        if (!Deform(verts[i], bones, out[i])) out[i] = verts[i].pos;
}
