// The program's glTF commands: the scene file loaded as `load` loads it and exported, or a glTF
// file read back into a scene file.
#include "gltf_program.h"

#include <iostream>

#include "app.h"
#include "gltf_export.h"
#include "gltf_import.h"
#include "qvcore/host.h"
#include "scene_file.h"
#include "tools.h"

namespace qvapp {

int GltfExportProgram(const std::string& scenePath, const std::string& outPath,
                      std::optional<std::pair<int, int>> frames, ToolManager& tools) {
    if (frames && frames->first > frames->second) {
        std::cerr << "quorvane: --frames " << frames->first << " " << frames->second
                  << ": the first frame comes after the last\n";
        return kExitUsage;
    }
    qv::ResetScene();
    tools.InstallHooks();
    std::string error;
    if (!LoadSceneFile(scenePath, tools, error)) {
        std::cerr << "quorvane: " << error << "\n";
        return kExitScriptError;
    }
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
