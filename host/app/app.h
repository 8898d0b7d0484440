// The quorvane program's command line: `run SCRIPT [--out DIR]`, `demo [DIR]`, the module to
// load (`--module PATH`), and `--help` for the program and for each command.
#pragma once

namespace qvapp {

// Exit status: 0 done, 1 script error, 2 usage error.
enum ExitCode : int { kExitOk = 0, kExitScriptError = 1, kExitUsage = 2 };

int Main(int argc, char** argv);

}  // namespace qvapp
