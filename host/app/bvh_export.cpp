// `quorvane bvh export`: the scene file loaded as the program loads any, its biped found and
// turned into BVH text, the text written through the host's whole-file write.
#include "bvh_export.h"

#include <iostream>

#include "app.h"
#include "bvh_export_text.h"
#include "export_load.h"
#include "quorvane/interface.h"
#include "qvcore/file_write.h"

namespace qvapp {
namespace {

constexpr float kSecondsPerMs = 0.001f;

}  // namespace

int BvhExport(const std::string& scenePath, const std::string& outPath,
              std::optional<std::pair<int, int>> frames, ToolManager& tools) {
    if (std::optional<int> stop = LoadSceneToExport(scenePath, frames, tools)) return *stop;
    std::string error;
    const int from = frames ? frames->first : Interface::GetAnimStart();
    const int to = frames ? frames->second : Interface::GetAnimEnd();
    const float frameTimeS = static_cast<float>(Interface::GetAnimTPF()) * kSecondsPerMs;
    std::string text;
    if (!BipedBvhText(FindBipedRoot(), from, to, frameTimeS, text, error) ||
        !qv::WriteFileReplacing(outPath, text, error)) {
        std::cerr << "quorvane: " << scenePath << ": " << error << "\n";
        return kExitScriptError;
    }
    return kExitOk;
}

}  // namespace qvapp
