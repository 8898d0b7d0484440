// Whole-file writes: new content replaces the old in one step; a failed write leaves the old
// file as it was and no temporary file beside it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "quorvane/util.h"
#include "qvcore/file_write.h"

namespace fs = std::filesystem;

namespace {

class FileWrite : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("qvfile-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::set<std::string> Entries() {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename());
        return names;
    }
    fs::path dir_;
};

TEST_F(FileWrite, ReplacesTheContentKeepsPermissionsAndLinksAndLeavesNoTemporaryFile) {
    const fs::path file = dir_ / "scene.qscene";
    std::ofstream(file) << "old content that is longer than the new";
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string error;
    ASSERT_TRUE(qv::WriteFileReplacing(file.string(), "new", error)) << error;
    EXPECT_EQ(Read(file), "new");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Through a link the linked file is replaced and the link stays.
    fs::create_symlink(file, dir_ / "link");
    const std::string bytes("with\0nul\xff", 9);
    ASSERT_EQ(WriteWholeFile((dir_ / "link").c_str(), bytes.data(), bytes.size()), 1);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link"));
    EXPECT_EQ(Read(file), bytes);
    EXPECT_EQ(Entries(), (std::set<std::string>{"scene.qscene", "link"}));
}

TEST_F(FileWrite, RefusedWriteLeavesWhatWasThereAndNamesThePath) {
    fs::create_directories(dir_ / "folder" / "inside");
    std::ofstream(dir_ / "keep.txt") << "kept";
    const std::set<std::string> before = Entries();
    for (const fs::path& target : {dir_ / "folder", dir_ / "missing" / "a.json", dir_ / ""}) {
        std::string error;
        EXPECT_FALSE(qv::WriteFileReplacing(target.string(), "x", error)) << target;
        EXPECT_NE(error.find(target.string()), std::string::npos) << error;
        EXPECT_EQ(WriteWholeFile(target.c_str(), "x", 1), 0) << target;
    }
    EXPECT_EQ(Entries(), before);
    EXPECT_TRUE(fs::is_directory(dir_ / "folder" / "inside"));
    EXPECT_EQ(Read(dir_ / "keep.txt"), "kept");
}

}  // namespace
