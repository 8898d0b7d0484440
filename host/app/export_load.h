// The first steps of the program's file exports (BVH, glTF): the frames checked and the scene
// file loaded as the `load` command loads it.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace qvapp {

class ToolManager;

// The exit status when the export stops here, the reason on standard error: 2 for frames out of
// order, 1 when the scene file cannot be loaded. Nothing when the scene is loaded.
std::optional<int> LoadSceneToExport(const std::string& scenePath,
                                     std::optional<std::pair<int, int>> frames, ToolManager& tools);

}  // namespace qvapp
