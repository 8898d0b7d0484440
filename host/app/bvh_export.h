// `quorvane bvh export SCENE OUT [--frames A B]`: the biped of a scene file written as a BVH
// take the plug-in's reader reads back to the same joint places.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "tools.h"

namespace qvapp {

// Loads the scene, writes the biped's frames A..B (default: the scene's animation range) to
// outPath whole. The exit status: 0; 1 when the scene cannot be loaded, holds no biped or the
// file cannot be written (the reason on standard error); 2 for frames out of order.
int BvhExport(const std::string& scenePath, const std::string& outPath,
              std::optional<std::pair<int, int>> frames, ToolManager& tools);

}  // namespace qvapp
