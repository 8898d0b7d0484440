// Fuzz entry: scene file text loaded over an empty scene as `load` does; a refused file must
// leave the scene empty.
#include <cstdlib>

#include "fuzz_entries.h"
#include "qvcore/host.h"
#include "quorvane/interface.h"
#include "scene_file.h"
#include "tools.h"

namespace qvfuzz {

void SceneFile(std::string_view bytes) {
    static qvapp::ToolManager tools;
    qv::ResetScene();
    std::string error;
    if (!qvapp::LoadSceneText(std::string(bytes), "fuzz.qscene", tools, error) &&
        (error.empty() || Interface::NumNodes() != 0))
        std::abort();
    qv::ResetScene();
}

}  // namespace qvfuzz
