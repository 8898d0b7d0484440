// `quorvane open`: the interactive window over the loaded module's tools.
#pragma once

#include "app.h"

namespace qvapp::window {

// Opens the window and runs it until it closes: the program's exit status.
int OpenWindow(const OpenRequest& request, ToolManager& tools);

}  // namespace qvapp::window
