// A biped of the scene as BVH text: its own hierarchy, bone offsets and keyed motion, under the
// joint names the plug-in's import maps, read back by the plug-in's reader as it stands.
#pragma once

#include <string>

class cnode;

namespace qvapp {

// The biped's root: the node named "Bip01", else the first node in scene order named "Bip"
// and two digits; null when the scene holds neither.
cnode* FindBipedRoot();

// The BVH name of a bone of the biped under `rootName`: the root is "Hips", a bone the name
// table holds gets the name the import maps first ("RightHip", "Chest", ...), any other its
// scene name with spaces as underscores ("Bip01_Pelvis").
std::string BvhJointName(const std::string& rootName, const std::string& boneName);

// BVH text of the biped under root for every frame from..to (from <= to): offsets from the pose
// at `from`, the time per frame frameTimeS seconds. False with the reason in error.
bool BipedBvhText(cnode* root, int from, int to, float frameTimeS, std::string& text,
                  std::string& error);

}  // namespace qvapp
