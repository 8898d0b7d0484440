// Keeping non-finite values out of the scene: checks of saved content and of the live scene,
// so that commands that would overflow are refused and save writes only what load reads.
#pragma once

#include <string>
#include <vector>

#include "finite.h"
#include "scene_file.h"

class cnode;

namespace qvapp {

// Every float of the content (keys, colours, IK settings, skin vertices and weights) is finite.
// False with an error naming the first one that is not.
bool CheckFinite(const SavedScene& scene, std::string& error);

// The world placement at time t of each node. False with an error naming the first node
// placed where a float cannot reach.
bool CheckWorldFinite(const std::vector<cnode*>& nodes, int t, std::string& error);

// The live scene: CheckFinite of its content, and the world placement at time t of every node
// the viewport draws (finite keys can still overflow through a parent's scale).
bool CheckSceneFinite(int t, std::string& error);

}  // namespace qvapp
