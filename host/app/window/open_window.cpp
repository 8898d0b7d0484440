// The window's entry from the command line: a window over the tools, a scene to open, a
// script to replay and the screenshot to save.
#include "window/open_window.h"

#include <iostream>

#include "window/host_window.h"

namespace qvapp::window {

int OpenWindow(const OpenRequest& request, ToolManager& tools) {
    WindowOptions options;
    options.scene = request.scene;
    options.script = request.script;
    options.screenshot = request.screenshot;
    HostWindow window(tools, options);
    if (!window.Open()) {
        std::cerr << "quorvane: " << window.Error() << "\n";
        return kExitScriptError;
    }
    return window.Run();
}

}  // namespace qvapp::window
