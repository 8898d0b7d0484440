// `quorvane bvh import FILE --out DIR`: a take loaded onto a default biped through the modify
// panel, for batch work over a folder of captures.
#pragma once

#include <string>

#include "tools.h"

namespace qvapp {

// Writes NAME.qscene, NAME.json and NAME.gif into outDir (NAME the file's stem). The exit
// status: 0, 1 when the reader or the import refuses the file (the reason on standard error),
// 2 for a path that cannot go into a session.
int BvhImport(const std::string& path, const std::string& outDir, ToolManager& tools);

}  // namespace qvapp
