// Loads the scene file a program export starts from.
#include "export_load.h"

#include <iostream>

#include "app.h"
#include "qvcore/host.h"
#include "scene_file.h"
#include "tools.h"

namespace qvapp {

std::optional<int> LoadSceneToExport(const std::string& scenePath,
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
    return std::nullopt;
}

}  // namespace qvapp
