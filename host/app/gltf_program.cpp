// The program's glTF commands: the scene file loaded as `load` loads it and exported, or a glTF
// file read back into a scene file.
#include "gltf_program.h"

#include <iostream>

#include "app.h"
#include "export_load.h"
#include "gltf_export.h"
#include "gltf_import.h"

namespace qvapp {

int GltfExportProgram(const std::string& scenePath, const std::string& outPath,
                      std::optional<std::pair<int, int>> frames, ToolManager& tools) {
    if (std::optional<int> stop = LoadSceneToExport(scenePath, frames, tools)) return *stop;
    std::string error;
    if (!WriteSceneGltf(outPath, frames, error)) {
        std::cerr << "quorvane: " << scenePath << ": " << error << "\n";
        return kExitScriptError;
    }
    return kExitOk;
}

int GltfImportProgram(const std::string& inPath, const std::string& outPath) {
    std::string error;
    if (!ImportGltfFile(inPath, outPath, error)) {
        std::cerr << "quorvane: " << error << "\n";
        return kExitScriptError;
    }
    return kExitOk;
}

}  // namespace qvapp
