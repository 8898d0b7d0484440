// The scene dump: the scene, selection, open tool, panel, undo history and messages as JSON,
// in the shape session scripts and tests read. Every text is written escaped (text_escape.h).
#pragma once

#include <string>

#include "json_values.h"

class cnode;

namespace qvapp {

class ToolManager;

// One node with its placement at time t, keys, IK settings and (for nodes that draw members)
// its members as full node objects.
Json DumpNode(cnode* node, int t);
Json DumpScene(const ToolManager& tools);
// Indented text of DumpScene, ending with a newline.
std::string DumpSceneText(const ToolManager& tools);

}  // namespace qvapp
