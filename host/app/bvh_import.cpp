// `quorvane bvh import FILE --out DIR`: a default biped made with the creation tool, the take
// loaded through the modify panel's "Load BVH" as a person would, then the scene file, its dump
// and a GIF of the take written into DIR, named after the file.
#include "bvh_import.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "Skeleton/BipFile/BipFileBvh.h"
#include "app.h"
#include "qvcore/host.h"
#include "script_runner.h"

namespace qvapp {
namespace {

constexpr int kBipedHeight = 8;     // host units, the creation tool's default
constexpr int kMaxGifFrames = 100;  // frames a GIF shows at the most: longer takes are stepped

// The take's frame count as the reader sees it; -1 with the reason printed when it refuses.
int FramesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "quorvane: cannot read " << path << "\n";
        return -1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    BVHBone container;
    const BvhReadResult r = ReadBvhText(text, container);
    if (!r.ok) {
        std::cerr << path << ": refused by the reader: " << r.message << "\n";
        return -1;
    }
    return container.children.empty() ? 0 : static_cast<int>(container.children[0]->frameCount);
}

// The session: the animation bar as long as the take, so that the load asks nothing.
std::string ImportScript(const std::string& path, const std::string& name, int frames) {
    const int last = std::max(frames - 1, 0);
    const int step = last / kMaxGifFrames + 1;
    const std::string h = std::to_string(kBipedHeight);
    return "new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 " + h + "\nclose\nselect \"Bip01\"\n"
           "modify \"Biped\"\nrange 0 " + std::to_string(std::max(frames, 1)) + "\n"
           "press \"Load BVH\"\nfile \"" + path + "\"\n"
           "save \"" + name + ".qscene\"\ndump \"" + name + ".json\"\n"
           "render \"" + name + ".gif\" view left size 320 240 frames 0 " + std::to_string(last) +
           " step " + std::to_string(step) + "\n";
}

}  // namespace

int BvhImport(const std::string& path, const std::string& outDir, ToolManager& tools) {
    if (path.find('"') != std::string::npos) {
        std::cerr << "quorvane: a path with a double quote cannot go into a session\n";
        return kExitUsage;
    }
    const int frames = FramesOf(path);
    if (frames < 0) return kExitScriptError;
    RunOptions options;
    options.scriptName = "bvh import";
    options.outDir = outDir;
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    const std::string absolute = std::filesystem::absolute(path, ec).string();
    const std::string name = std::filesystem::path(path).stem().string();
    qv::ResetScene();
    tools.InstallHooks();
    ScriptRunner runner(tools, options);
    if (runner.Run(ImportScript(absolute, name, frames)) != 0) {
        std::cerr << runner.Error() << "\n";
        return kExitScriptError;
    }
    return kExitOk;
}

}  // namespace qvapp
