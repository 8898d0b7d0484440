// Common file dialogs answered by the driver: existing-file and folder checks, buffers,
// cancelling.
#include <cstring>
#include <filesystem>
#include <fstream>

#include "ui_support.h"

namespace {

using namespace uitest;
namespace fs = std::filesystem;

constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                             OFN_FILEMUSTEXIST;  // the plug-in passes must-exist to saves too

class FileDialog : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        dir = fs::temp_directory_path() /
              ("qv_ui_files_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        existing = (dir / "walk.bpd").string();
        std::ofstream(existing) << "BPDZ";
        std::memset(path, 0, sizeof path);
        std::memset(&ofn, 0, sizeof ofn);
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = "Biped Files (*.BPD)\0*.BPD\0All Files (*.*)\0*.*\0";
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = path;
        ofn.nMaxFile = sizeof path;
        ofn.lpstrTitle = "Load Biped Animation";
        ofn.Flags = kOpenFlags;
    }
    void TearDown() override {
        fs::remove_all(dir);
        UiTest::TearDown();
    }
    fs::path dir;
    std::string existing;
    char path[256];
    OPENFILENAMEA ofn;
};

TEST_F(FileDialog, OpenOfAMissingFileSaysSoAndAsksAgain) {
    std::string missing = (dir / "run.bpd").string();
    driver.Push(File(missing));
    driver.Push(File(existing));
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(path, existing.c_str());
    EXPECT_STREQ(path + ofn.nFileOffset, "walk.bpd");
    EXPECT_STREQ(path + ofn.nFileExtension, "bpd");
    ASSERT_EQ(driver.seen.size(), 2u);
    EXPECT_EQ(driver.seen[0].kind, qv::ui::Modal::Kind::FileDialog);
    EXPECT_EQ(driver.seen[0].title, "Load Biped Animation");
    ASSERT_EQ(qv::ui::Messages().size(), 1u);
    EXPECT_EQ(qv::ui::Messages()[0].caption, "Load Biped Animation");
    EXPECT_EQ(qv::ui::Messages()[0].text, missing + "\nFile not found.");
}

TEST_F(FileDialog, SaveTakesNewAndExistingFilesButNotAMissingFolder) {
    ofn.Flags = kSaveFlags;
    std::string fresh = (dir / "new.bpd").string();
    std::string nowhere = (dir / "no_such_folder" / "x.bpd").string();
    driver.Push(File(fresh));
    driver.Push(File(existing));  // no question before overwriting
    driver.Push(File(nowhere));
    driver.Push(Act(Kind::FileCancel, ""));
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_STREQ(path, fresh.c_str());
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_STREQ(path, existing.c_str());
    EXPECT_TRUE(qv::ui::Messages().empty());
    path[0] = '\0';
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_STREQ(path, "");
    ASSERT_EQ(qv::ui::Messages().size(), 1u);
    EXPECT_EQ(qv::ui::Messages()[0].text, nowhere + "\nPath does not exist.");
    EXPECT_EQ(qv::ui::TakeError(), "");  // cancelling is a normal answer
}

TEST_F(FileDialog, LeftOpenTooLongPathAndPressAreErrors) {
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(qv::ui::TakeError(), "file dialog \"Load Biped Animation\" left open");
    driver.Push(Press("OK"));
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(qv::ui::TakeError(), "file dialog \"Load Biped Animation\" needs a file or cancel");
    ofn.nMaxFile = 8;
    driver.Push(File(existing));
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(path[0], '\0');
    EXPECT_NE(qv::ui::TakeError().find("does not fit the buffer"), std::string::npos);
}

}  // namespace
