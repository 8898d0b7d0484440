// Automatic skin weights by envelope distance: a vertex takes its weights from the bones whose
// segments lie nearest, each weighted 1 / (d² + s²)², the largest kept and normalised.
#include "skin_bind.h"

#include <algorithm>
#include <functional>

#include "qvcore/host.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"

namespace qvapp {

std::vector<cnode*> BonesUnder(cnode* root) {
    std::vector<cnode*> bones;
    std::function<void(cnode*)> add = [&](cnode* n) {
        bones.push_back(n);
        for (int i = 0; i < n->NumChildren(); ++i)
            if (cnode* c = n->GetChild(i)) add(c);
    };
    add(root);
    return bones;
}

void BoneSegment(cnode* bone, int t, cpoint3& start, cpoint3& end) {
    start = bone->GetPosition(t);
    const int children = bone->NumChildren();
    if (children == 0) {
        end = qv::BoneTip(bone, t);
        return;
    }
    cpoint3 sum;
    for (int i = 0; i < children; ++i) sum += bone->GetChild(i)->GetPosition(t);
    end = sum * (1.0f / static_cast<float>(children));
}

float SegmentDistance(const cpoint3& p, const cpoint3& a, const cpoint3& b) {
    const cpoint3 ab = b - a;
    const float len2 = DotProd(ab, ab);
    float s = len2 > 0.0f ? DotProd(p - a, ab) / len2 : 0.0f;
    s = std::clamp(s, 0.0f, 1.0f);
    return Length(p - (a + ab * s));
}

void BindSkin(cskin& skin, const std::vector<cnode*>& bones, int t, int maxPerVertex) {
    struct Segment { cpoint3 a, b; cmatrix4 inverse; };
    std::vector<Segment> segments;
    for (cnode* bone : bones) {
        Segment s;
        BoneSegment(bone, t, s.a, s.b);
        s.inverse = Inverse(bone->GetNodeTM(t));
        segments.push_back(s);
    }
    const int keep = std::clamp(maxPerVertex, 1, static_cast<int>(QV_MAX_SKIN_WEIGHTS));
    constexpr float soft2 = kBindSoftening * kBindSoftening;
    std::vector<std::pair<float, int>> raw(bones.size());
    for (cskinvertex& v : skin.verts) {
        for (size_t b = 0; b < bones.size(); ++b) {
            const float d = SegmentDistance(v.pos, segments[b].a, segments[b].b);
            const float q = d * d + soft2;
            raw[b] = {1.0f / (q * q), static_cast<int>(b)};
        }
        // Largest first; equal weights by bone order, so that the result does not depend on
        // the sort's whims.
        const int n = std::min(keep, static_cast<int>(raw.size()));
        std::partial_sort(raw.begin(), raw.begin() + n, raw.end(), [](const auto& x, const auto& y) {
            return x.first != y.first ? x.first > y.first : x.second < y.second;
        });
        float total = 0.0f;
        for (int k = 0; k < n; ++k) total += raw[k].first;
        int kept = 0;
        for (int k = 0; k < n; ++k)
            if (raw[k].first >= kBindMinShare * total) ++kept;  // sorted: the kept come first
        float keptTotal = 0.0f;
        for (int k = 0; k < kept; ++k) keptTotal += raw[k].first;
        v.numWeights = kept;
        for (int k = 0; k < kept; ++k) {
            cskinweight& w = v.weights[k];
            w.value = raw[k].first / keptTotal;
            w.bone = bones[raw[k].second];
            w.offset = v.pos * segments[raw[k].second].inverse;
        }
    }
    skin.SetBind(t, bones);
}

}  // namespace qvapp
