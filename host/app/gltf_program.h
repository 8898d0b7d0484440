// `quorvane export-gltf SCENE OUT.glb [--frames A B]` and `quorvane import-gltf IN OUT.qscene`.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace qvapp {

class ToolManager;

// Exit status as the program's (0 written, 1 the scene or file refused, 2 usage).
int GltfExportProgram(const std::string& scenePath, const std::string& outPath,
                      std::optional<std::pair<int, int>> frames, ToolManager& tools);
int GltfImportProgram(const std::string& inPath, const std::string& outPath);

}  // namespace qvapp
