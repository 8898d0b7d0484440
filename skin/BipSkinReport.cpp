// The asymmetry report of a mirror run: per bone pair the largest weight difference between
// mirrored vertices before the copy, and the unmatched source vertices by nearest bone.
#include "skin/BipSkinReport.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <tuple>

#include "quorvane/node.h"

namespace {

std::string NameOf(const cnode* node) {
    return node && node->GetName() ? node->GetName() : "";
}

float WeightOf(const cskinvertex& v, const cnode* bone) {
    float sum = 0.0f;
    for (int k = 0; k < v.numWeights && k < QV_MAX_SKIN_WEIGHTS; ++k)
        if (v.weights[k].bone == bone) sum += v.weights[k].value;
    return sum;
}

float SegmentDistance(const cpoint3& p, const cpoint3& a, const cpoint3& b) {
    const cpoint3 ab = b - a;
    const float len2 = DotProd(ab, ab);
    const float s = len2 > 0.0f ? std::clamp(DotProd(p - a, ab) / len2, 0.0f, 1.0f) : 0.0f;
    return Length(p - (a + ab * s));
}

}  // namespace

void SkinMirrorReportFill(const SkinRecordArray& records, const SkinMirrorRun& run,
                          const cskin& skin, int matched, int t, cskinmirrorreport& report) {
    report = cskinmirrorreport{};
    report.valid = true;
    report.matched = matched;
    report.sources = run.sourceCount;

    std::map<const cnode*, int> order;  // record order of the source bones
    for (int r = 0; r < records.count; ++r) order.emplace(records.data[r]->node, r);
    // By record order, then (bones outside the records) by name, the node only telling apart
    // bones of one name: the report reads the same from run to run, wherever the bones live.
    std::map<std::tuple<int, std::string, const cnode*>, cskinmirrorpair> pairs;
    cskinvertex before;
    for (const SkinMirrorRun::Write& w : run.writes) {
        const cskinvertex& src = run.verts[w.source];
        const cskinvertex& after = run.verts[w.dest];
        if (!skin.GetVert(w.dest, before)) continue;
        for (int k = 0; k < src.numWeights && k < QV_MAX_SKIN_WEIGHTS; ++k) {
            const cnode* bone = src.weights[k].bone;
            auto at = order.find(bone);
            const int rank = at == order.end() ? records.count : at->second;
            cskinmirrorpair& p = pairs[{rank, rank < records.count ? std::string() : NameOf(bone), bone}];
            if (p.pairs == 0) {
                p.bone = NameOf(bone);
                p.mirror = NameOf(after.weights[k].bone);
            }
            ++p.pairs;
            const float diff =
                std::fabs(src.weights[k].value - WeightOf(before, after.weights[k].bone));
            if (p.worstVertex < 0 || diff > p.maxDiff) {
                p.maxDiff = diff;
                p.worstVertex = w.source;
            }
        }
    }
    for (auto& [key, p] : pairs) report.pairs.push_back(p);

    if (records.count == 0) return;
    std::vector<cpoint3> from(records.count), to(records.count);
    for (int r = 0; r < records.count; ++r) {
        cnode* node = records.data[r]->node;
        from[r] = node->GetPosition(t);
        to[r] = node->NumChildren() > 0 ? node->GetChild(0)->GetPosition(t) : from[r];
    }
    std::vector<std::vector<int>> groups(records.count);
    for (int v = 0; v < static_cast<int>(run.verts.size()); ++v) {
        if (!run.source[v] || run.pair[v] != 0) continue;
        int nearest = 0;
        float best = std::numeric_limits<float>::infinity();
        for (int r = 0; r < records.count; ++r) {
            const float d = SegmentDistance(run.verts[v].pos, from[r], to[r]);
            if (d < best) {
                best = d;
                nearest = r;
            }
        }
        groups[nearest].push_back(v);
    }
    for (int r = 0; r < records.count; ++r)
        if (!groups[r].empty())
            report.unmatched.push_back({NameOf(records.data[r]->node), std::move(groups[r])});
}
