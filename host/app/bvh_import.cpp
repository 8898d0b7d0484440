// `quorvane bvh import FILE --out DIR`: a default biped made with the creation tool, the take
// keyed on it (straight back when `bvh export` wrote it, else through the modify panel's
// "Load BVH" as a person would), then the scene file, its dump and a GIF of the take written
// into DIR, named after the file.
#include "bvh_import.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "Skeleton/BipFile/BipFileBvh.h"
#include "app.h"
#include "bvh_export_text.h"
#include "bvh_import_direct.h"
#include "qvcore/host.h"
#include "script_runner.h"

namespace qvapp {
namespace {

constexpr int kBipedHeight = 8;     // host units, the creation tool's default
constexpr int kMaxGifFrames = 100;  // frames a GIF shows at the most: longer takes are stepped

// Reads the take into the container; false with the reason printed when it cannot.
bool ReadTake(const std::string& path, BVHBone& container) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "quorvane: cannot read " << path << "\n";
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const BvhReadResult r = ReadBvhText(text, container);
    if (!r.ok) std::cerr << path << ": refused by the reader: " << r.message << "\n";
    return r.ok;
}

// A share of a bone's length beyond which a take's skeleton is not the biped's.
constexpr float kProportionTolerance = 0.01f;

// The session that makes the biped, standing on the ground at the origin, the animation bar as
// long as the take (so that a load asks nothing).
std::string BipedScript(int frames) {
    return "new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 " + std::to_string(kBipedHeight) +
           " ground\nclose\nselect \"Bip01\"\nmodify \"Biped\"\nrange 0 " + std::to_string(std::max(frames, 1)) + "\n";
}

// The session that writes the results: scene, dump and GIF.
std::string OutputScript(const std::string& name, int frames) {
    const int last = std::max(frames - 1, 0);
    const int step = last / kMaxGifFrames + 1;
    return "save \"" + name + ".qscene\"\ndump \"" + name + ".json\"\n"
           "render \"" + name + ".gif\" view left size 320 240 frames 0 " + std::to_string(last) +
           " step " + std::to_string(step) + "\n";
}

// Keys an exported take straight back; false with the reason printed.
bool KeyBack(BVHBone& container, const std::string& path) {
    float mismatch = 0;
    std::string error;
    if (!KeyBvhOntoBiped(container, FindBipedRoot(), 0, mismatch, error)) {
        std::cerr << path << ": " << error << "\n";
        return false;
    }
    std::cout << path << ": its joints are the biped's bones: keyed straight back\n";
    if (mismatch > kProportionTolerance)
        std::cerr << path << ": the take's bones differ from the biped's by up to "
                  << static_cast<int>(mismatch * 100 + 0.5f) << "%: joints will not fall where the take has them\n";
    return true;
}

}  // namespace

int BvhImport(const std::string& path, const std::string& outDir, ToolManager& tools) {
    if (path.find('"') != std::string::npos) {
        std::cerr << "quorvane: a path with a double quote cannot go into a session\n";
        return kExitUsage;
    }
    BVHBone container;
    if (!ReadTake(path, container)) return kExitScriptError;
    const int frames = container.children.empty() ? 0 : static_cast<int>(container.children[0]->frameCount);
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
    if (runner.Run(BipedScript(frames)) != 0) {
        std::cerr << runner.Error() << "\n";
        return kExitScriptError;
    }
    if (BvhNamesBipedBones(container, FindBipedRoot())) {
        if (!KeyBack(container, path)) return kExitScriptError;
    } else if (runner.Run("press \"Load BVH\"\nfile \"" + absolute + "\"\n") != 0) {
        std::cerr << runner.Error() << "\n";
        return kExitScriptError;
    }
    if (runner.Run(OutputScript(name, frames)) != 0) {
        std::cerr << runner.Error() << "\n";
        return kExitScriptError;
    }
    return kExitOk;
}

}  // namespace qvapp
