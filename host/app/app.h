// The quorvane program's command line: `run SCRIPT [--out DIR]`, `demo [DIR]`, the module to
// load (`--module PATH`), and `--help` for the program and for each command.
#pragma once

#include <string>

namespace qvapp {

class ToolManager;

// `open [SCENE] [--script S] [--screenshot F]` (or no command at all): the interactive window,
// which the program that has one passes in as openWindow.
struct OpenRequest {
    std::string scene, script, screenshot;
};
using OpenWindowFn = int (*)(const OpenRequest& request, ToolManager& tools);

// Exit status: 0 done, 1 script error, 2 usage error.
enum ExitCode : int { kExitOk = 0, kExitScriptError = 1, kExitUsage = 2 };

int Main(int argc, char** argv, OpenWindowFn openWindow = nullptr);

}  // namespace qvapp
