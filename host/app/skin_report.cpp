// The mirror report of a skin: the asymmetry a weight-mirroring tool found, printed and dumped.
#include "skin_report.h"

#include <cstdio>

#include "quorvane/skin.h"

namespace qvapp {
namespace {
// Vertex indices listed in a printed line before "..." (the dump lists them all).
constexpr size_t kPrintedVertices = 12;
}  // namespace

std::string MirrorReportText(const std::string& skinName, const cskinmirrorreport& report) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "mirror \"%s\": %d of %d source vertices matched\n",
                  skinName.c_str(), report.matched, report.sources);
    std::string out = buf;
    for (const cskinmirrorpair& p : report.pairs) {
        std::snprintf(buf, sizeof buf,
                      "  %s -> %s: %d vertices, largest weight difference %.4f (vertex %d)\n",
                      p.bone.c_str(), p.mirror.c_str(), p.pairs, p.maxDiff, p.worstVertex);
        out += buf;
    }
    for (const cskinunmatched& u : report.unmatched) {
        std::snprintf(buf, sizeof buf, "  unmatched near %s: %zu vertices (", u.bone.c_str(),
                      u.verts.size());
        out += buf;
        for (size_t i = 0; i < u.verts.size() && i < kPrintedVertices; ++i)
            out += (i ? " " : "") + std::to_string(u.verts[i]);
        out += u.verts.size() > kPrintedVertices ? " ...)\n" : ")\n";
    }
    return out;
}

Json MirrorReportJson(const cskinmirrorreport& report) {
    if (!report.valid) return nullptr;
    Json pairs = Json::array(), unmatched = Json::array();
    for (const cskinmirrorpair& p : report.pairs)
        pairs.push_back({{"bone", JsonText(p.bone)},
                         {"mirror", JsonText(p.mirror)},
                         {"pairs", p.pairs},
                         {"max_diff", JsonFloat(p.maxDiff)},
                         {"worst_vertex", p.worstVertex}});
    for (const cskinunmatched& u : report.unmatched)
        unmatched.push_back({{"bone", JsonText(u.bone)}, {"verts", u.verts}});
    return {{"matched", report.matched},
            {"sources", report.sources},
            {"pairs", pairs},
            {"unmatched", unmatched}};
}

}  // namespace qvapp
