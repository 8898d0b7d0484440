// `quorvane bvh normalize`: a take from any pipeline read tolerantly, its joints renamed through
// the map chosen (a file, a preset, or the best preset), the joints the import does not map
// folded away, and the result written in the plug-in reader's layout through the host's
// whole-file write.
#include "bvh_normalize.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "Skeleton/BipFile/BipFileBvhNames.h"
#include "bvh_fold.h"
#include "bvh_rename.h"
#include "qvcore/file_write.h"

namespace qvapp {
namespace {

constexpr const char* kMapExtension = ".map";

bool ReadWhole(const std::string& path, std::string& text) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool LoadMap(const std::string& path, BvhNameMap& map, std::string& error) {
    std::string text;
    if (!ReadWhole(path, text)) {
        error = "cannot read map " + path;
        return false;
    }
    if (!ParseBvhNameMap(text, map, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

// The map files to try: the one named (a path, else a preset), or every preset by name.
std::set<std::string> Candidates(const std::optional<std::string>& map, const std::string& mapsDir) {
    std::error_code ec;
    if (map) {
        if (std::filesystem::is_regular_file(*map, ec)) return {*map};
        return {(std::filesystem::path(mapsDir) / (*map + kMapExtension)).string()};
    }
    std::set<std::string> all;
    for (const auto& e : std::filesystem::directory_iterator(mapsDir, ec))
        if (e.path().extension() == kMapExtension) all.insert(e.path().string());
    return all;
}

}  // namespace

std::string BvhMapsDir() { return QV_BVH_MAPS_DIR; }

int BvhNormalize(const std::string& in, const std::string& outPath,
                 const std::optional<std::string>& map, const std::string& mapsDir,
                 std::ostream& out, std::ostream& err) {
    std::string text;
    if (!ReadWhole(in, text)) {
        err << "quorvane: cannot read " << in << "\n";
        return 1;
    }
    BvhTake take;
    const BvhTakeResult read = ReadBvhTake(text, take);
    if (!read.ok) {
        err << in << ": " << read.message << "\n";
        return 1;
    }
    for (const std::string& note : read.notes) err << in << ": " << note << "\n";
    const std::set<std::string> candidates = Candidates(map, mapsDir);
    if (candidates.empty()) {
        err << "quorvane: no map presets in " << mapsDir << "\n";
        return 1;
    }
    std::optional<BvhTake> best;
    std::string bestName, error;
    int bestCount = -1;
    for (const std::string& path : candidates) {
        BvhNameMap names;
        BvhTake renamed = take;
        int count = 0;
        if (!LoadMap(path, names, error) || !RenameBvhJoints(renamed, names, count, error)) {
            if (map) {
                err << "quorvane: " << error << "\n";
                return 1;
            }
            continue;  // a preset that does not fit this file is passed over
        }
        if (count > bestCount) {
            bestCount = count;
            best = std::move(renamed);
            bestName = std::filesystem::path(path).stem().string();
        }
    }
    if (!best) {
        err << "quorvane: no preset renames " << in << " without two joints sharing a name\n";
        return 1;
    }
    const BvhTake folded = FoldBvhTake(*best, [](const std::string& name) {
        return BvhNameIndex(name.c_str()) >= 0;
    });
    if (!qv::WriteFileReplacing(outPath, WriteBvhTake(folded), error)) {
        err << "quorvane: " << error << "\n";
        return 1;
    }
    out << in << ": " << bestCount << " joints renamed by the map " << bestName << "; "
        << folded.joints.size() << " of " << take.joints.size() << " joints kept, the others folded "
        << "into them; " << folded.Frames() << " frames\n";
    return 0;
}

}  // namespace qvapp
