// The host's own scene file (.qscene, JSON): every scene node with hierarchy, keys, colour,
// flags, IK settings and skin data, and the time settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "json_values.h"
#include "quorvane/anim.h"
#include "quorvane/node.h"

namespace qvapp {

class ToolManager;

inline constexpr const char* kSceneFormat = "qscene";
// Version 2 writes names escaped (text_escape.h); version 1 files hold them as plain UTF-8.
inline constexpr int kSceneVersion = 2;
inline constexpr int kOldestSceneVersion = 1;
inline constexpr int kFirstEscapedSceneVersion = 2;

// The file's content, read and checked before the scene is touched.
struct SavedWeight {
    float value = 0.0f;
    cpoint3 offset;
    std::string bone;  // the bone's name
};
struct SavedVertex {
    cpoint3 pos;
    std::vector<SavedWeight> weights;
};
struct SavedNode {
    std::string name;
    int type = QV_TYPE_BONE;
    int parent = -1;            // index into the node list, -1 for none
    std::vector<int> children;  // indices, in child order
    ccolor color;
    unsigned flags = 0;
    cikinfo ik;
    std::vector<ckey> keys;
    std::vector<SavedVertex> vertices;  // skin nodes only
    std::vector<int> triangles;
};
struct SavedScene {
    int time = 0, start = 0, end = 100, tpf = 33;
    bool anim = false;
    std::vector<SavedNode> nodes;
};

// The present scene as file content, and as JSON.
SavedScene CaptureScene();
Json SceneToJson(const SavedScene& scene);
// Whether the reader takes back what the writer would write: every float finite and the range
// in order. False with an error naming the first value that is not.
bool CheckSavable(const SavedScene& scene, std::string& error);
// Reads and validates; false with an error naming the bad entry.
bool SceneFromJson(const Json& j, SavedScene& scene, std::string& error);
// The scene's nodes with their keys and hierarchy, not yet in the scene.
std::vector<cnode*> MakeNodes(const SavedScene& scene);
// Replaces the scene with the nodes MakeNodes made of it (the open tool is closed first; the
// undo history ends up empty).
void RestoreScene(const SavedScene& scene, const std::vector<cnode*>& made, ToolManager& tools);

// Larger files are refused before they are read: their JSON would take up to 8 bytes of
// memory for each byte of the file (a value for every two characters), 1 GB for this size.
inline constexpr std::uintmax_t kSceneFileMaxBytes = std::uintmax_t{128} << 20;

// Writes the scene unless CheckSavable refuses it; the file at path is replaced only whole.
bool SaveSceneFile(const std::string& path, std::string& error);
// The scene is replaced only when the whole file reads and checks out.
bool LoadSceneFile(const std::string& path, ToolManager& tools, std::string& error);
// The same from the file's text; path only names the file in the error.
bool LoadSceneText(const std::string& text, const std::string& path, ToolManager& tools,
                   std::string& error);

}  // namespace qvapp
