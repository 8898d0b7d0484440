// The mirror report of a skin as quorvane prints it and as the dump carries it.
#pragma once

#include <string>

#include "json_values.h"

struct cskinmirrorreport;

namespace qvapp {

// "mirror \"NAME\": M of S source vertices matched" and a line per bone pair and per group of
// unmatched vertices.
std::string MirrorReportText(const std::string& skinName, const cskinmirrorreport& report);
// {"matched", "sources", "pairs": [{"bone", "mirror", "pairs", "max_diff", "worst_vertex"}],
//  "unmatched": [{"bone", "verts": [...]}]}, or null before a mirror.
Json MirrorReportJson(const cskinmirrorreport& report);

}  // namespace qvapp
