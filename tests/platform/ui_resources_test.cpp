// Resources: the blob the build embeds into the test program (its script, header and bitmap;
// damaged blobs refused), and the messages malformed scripts read from disk give.
#include <filesystem>
#include <fstream>

#include "ui_support.h"

namespace {

using namespace uitest;

TEST(EmbeddedResources, HoldTheScriptItsHeaderAndTheBitmap) {
    EXPECT_EQ(qv::res::DialogIds(TestModule()), (std::vector<int>{IDD_OPTIONS, IDD_PANEL}));
    HBITMAP b = LoadBitmapA(TestModule(), MAKEINTRESOURCE(IDB_BUTTON));
    HBITMAP other = LoadBitmapA(TestModule(), MAKEINTRESOURCE(IDB_BUTTON));
    ASSERT_NE(b, nullptr);
    EXPECT_NE(other, b);  // each load is its own object
    EXPECT_TRUE(DeleteObject(other));
    qv::res::BitmapInfo info;
    ASSERT_TRUE(qv::res::GetBitmapInfo(b, info));
    EXPECT_EQ(info.width, 4);
    EXPECT_EQ(info.height, 3);
    EXPECT_EQ(info.bitsPerPixel, 8);
    EXPECT_EQ(info.paletteSize, 4);
    EXPECT_EQ(qv::res::GetBitmapPixel(b, 0, 0), 0xFF0000u);  // top row: palette entry 1, red
    EXPECT_EQ(qv::res::GetBitmapPixel(b, 1, 2), 0x000000u);  // bottom row alternates 3, 0
    EXPECT_EQ(qv::res::GetBitmapPixel(b, 0, 2), 0x0000FFu);
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_FALSE(DeleteObject(b));  // already freed
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(qv::res::GetBitmapInfo(b, info));
    EXPECT_EQ(LoadBitmapA(TestModule(), MAKEINTRESOURCE(107)), nullptr);
}

TEST(EmbeddedResources, DamagedBlobsAreRefusedAndUnregisteredModulesHaveNoDialogs) {
    HINSTANCE h = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x5150));
    std::string error;
    const unsigned char notBlob[] = "hello";
    EXPECT_FALSE(qv::res::RegisterModule(h, notBlob, sizeof notBlob, error));
    EXPECT_EQ(error, "resource blob is empty or not a resource blob");
    // The real blob cut short inside its first file.
    EXPECT_FALSE(qv::res::RegisterModule(h, qv_resource_blob, 40, error));
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
    EXPECT_FALSE(qv::res::RegisterModule(h, nullptr, 0, error));
    EXPECT_FALSE(qv::res::IsRegistered(h));
    ASSERT_TRUE(qv::res::RegisterModule(h, qv_resource_blob, qv_resource_blob_size, error))
        << error;
    qv::res::UnregisterModule(h);
    EXPECT_EQ(qv::ui::CreatePanel(h, IDD_PANEL, nullptr), nullptr);
    EXPECT_EQ(qv::ui::TakeError(), "the module has no dialog 300");
}

namespace fs = std::filesystem;

// Writes scripts (and headers) into a fresh folder and registers them from disk.
class RcScript : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("qv_rc_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        qv::res::UnregisterModule(Module());
        fs::remove_all(dir);
    }
    static HINSTANCE Module() {
        static char tag;
        return reinterpret_cast<HINSTANCE>(&tag);
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    bool Load(const std::string& script, std::string& error) {
        Write("t.rc", script);
        return qv::res::RegisterModuleFile(Module(), (dir / "t.rc").string(), error);
    }
    // Error text without the folder, e.g. "t.rc:3: ...".
    std::string LoadError(const std::string& script) {
        std::string error;
        EXPECT_FALSE(Load(script, error));
        std::string prefix = (dir / "").string();
        if (error.rfind(prefix, 0) == 0) error = error.substr(prefix.size());
        return error;
    }
    fs::path dir;
};

TEST_F(RcScript, MalformedScriptsGiveTheLineAndKeepTheRegisteredScript) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  EDITTEXT IDC_NOPE, 0, 0, 5, 5\nEND\n",
         "t.rc:3: unknown symbol IDC_NOPE"},
        {"1 DIALOG 0, 0, 10, 10\nBEGIN\n  PUSHBUTTON \"OK\", 1, 0, 0, 5, 5\n",
         "t.rc:3: expected END to close dialog 1, found end of script"},
        {"#include \"nothere.h\"\n", "t.rc:1: cannot open include file nothere.h"},
    };
    for (const auto& [script, message] : cases) EXPECT_EQ(LoadError(script), message);
    EXPECT_FALSE(qv::res::IsRegistered(Module()));
    std::string error;
    ASSERT_TRUE(Load("5 DIALOG 0, 0, 10, 10 {}\n", error)) << error;
    EXPECT_FALSE(Load("5 DIALOG 0, 0, 10, 10 {\n", error));
    EXPECT_EQ(qv::res::DialogIds(Module()), std::vector<int>{5});
}

}  // namespace
