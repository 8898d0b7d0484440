// Every input a fuzz target once failed on (fuzz/regressions/TARGET/) and every file of the
// malformed corpus, handed to the same entry the fuzz target calls: none may crash, leak or
// give an answer that contradicts itself (the entries abort on that).
#include <filesystem>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include "fuzz_entries.h"

namespace {

const std::filesystem::path kTop = BIPED_SOURCE_DIR;

using Entry = void (*)(std::string_view);

const std::map<std::string, Entry> kEntries = {
    {"bvh_reader", qvfuzz::BvhReader},     {"bvh_take", qvfuzz::BvhTake},
    {"bpd", qvfuzz::BpdFile},              {"bph", qvfuzz::BphFile},
    {"scene_file", qvfuzz::SceneFile},     {"resource_script", qvfuzz::ResourceScript},
    {"session_script", qvfuzz::SessionScript}, {"obj_mesh", qvfuzz::ObjMesh},
};

// The malformed corpus's folders and the entries that read their formats.
const std::multimap<std::string, std::string> kCorpusReaders = {
    {"bvh", "bvh_reader"}, {"bvh", "bvh_take"}, {"bpd", "bpd"},           {"bpd", "bph"},
    {"bph", "bph"},        {"bph", "bpd"},      {"qscene", "scene_file"}, {"qvs", "session_script"},
    {"obj", "obj_mesh"},
};

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int ReplayFolder(const std::filesystem::path& folder, Entry entry) {
    int files = 0;
    if (!std::filesystem::exists(folder)) return 0;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        if (!e.is_regular_file() || e.path().filename().string().front() == '.') continue;
        SCOPED_TRACE(e.path().string());
        entry(ReadAll(e.path()));
        ++files;
    }
    return files;
}

TEST(FuzzReplay, EveryTargetHasARegressionFolderAndItsInputsPass) {
    for (const auto& [target, entry] : kEntries) {
        const std::filesystem::path folder = kTop / "fuzz/regressions" / target;
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
        ReplayFolder(folder, entry);
    }
}

TEST(FuzzReplay, MalformedCorpusPassesThroughTheReadersOfItsFormat) {
    for (const auto& [folder, target] : kCorpusReaders)
        EXPECT_GT(ReplayFolder(kTop / "tests/data/malformed" / folder, kEntries.at(target)), 0)
            << folder;
}

}  // namespace
