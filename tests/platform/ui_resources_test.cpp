// The resources the build embeds into the test program: registering the blob, the bitmap
// handle, cursors, the mouse button, and refusing damaged blobs.
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
    ASSERT_TRUE(qv::res::RegisterModule(h, qv_resource_blob, qv_resource_blob_size, error)) << error;
    qv::res::UnregisterModule(h);
    EXPECT_EQ(qv::ui::CreatePanel(h, IDD_PANEL, nullptr), nullptr);
    EXPECT_EQ(qv::ui::TakeError(), "the module has no dialog 300");
}

TEST(CursorsAndMouse, CursorHandlesAreStableAndTheLeftButtonFollowsTheHost) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    ASSERT_NE(arrow, nullptr);
    EXPECT_NE(arrow, wait);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    HCURSOR before = SetCursor(wait);
    EXPECT_EQ(GetCursor(), wait);
    EXPECT_EQ(SetCursor(before), wait);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCE(5)), nullptr);  // not a system cursor
    qv::ui::SetLeftButtonDown(true);
    EXPECT_TRUE(GetAsyncKeyState(VK_LBUTTON) & 0x8000);
    EXPECT_FALSE(GetAsyncKeyState(VK_RBUTTON) & 0x8000);
    qv::ui::SetLeftButtonDown(false);
    EXPECT_FALSE(GetAsyncKeyState(VK_LBUTTON) & 0x8000);
}

}  // namespace
