// The panel number fields: reading the leading number of an edit and writing numbers back.
#include <quorvane/util.h>

#include "ui_support.h"

namespace {

using namespace uitest;

class EditFields : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        panel = qv::ui::CreatePanel(TestModule(), IDD_PANEL,
                                    [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return 0; });
    }
    void TearDown() override {
        qv::ui::DestroyPanel(panel);
        UiTest::TearDown();
    }
    std::string Text() {
        char buf[64];
        GetDlgItemTextA(panel, IDC_HEIGHT, buf, sizeof buf);
        return buf;
    }
    HWND panel = nullptr;
};

TEST_F(EditFields, IntReadsTheLeadingNumber) {
    int v = 77;
    SetDlgItemTextA(panel, IDC_HEIGHT, "12");
    EXPECT_EQ(winGetEditInt(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, 12);
    SetDlgItemTextA(panel, IDC_HEIGHT, "-12.5");
    EXPECT_EQ(winGetEditInt(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, -12);
    SetDlgItemTextA(panel, IDC_HEIGHT, "  7 loops");
    EXPECT_EQ(winGetEditInt(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, 7);
}

TEST_F(EditFields, IntLeavesTheValueWithoutADigit) {
    int v = 77;
    for (const char* text : {"abc", "", "-", "+x1"}) {
        SetDlgItemTextA(panel, IDC_HEIGHT, text);
        EXPECT_EQ(winGetEditInt(panel, IDC_HEIGHT, v), 0) << text;
        EXPECT_EQ(v, 77) << text;
    }
    EXPECT_EQ(winGetEditInt(panel, 9999, v), 0);  // no such edit
    EXPECT_EQ(v, 77);
}

TEST_F(EditFields, IntBeyondItsRangeStopsAtTheEnds) {
    int v = 0;
    SetDlgItemTextA(panel, IDC_HEIGHT, "99999999999");
    EXPECT_EQ(winGetEditInt(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, INT_MAX);
    SetDlgItemTextA(panel, IDC_HEIGHT, "-99999999999");
    EXPECT_EQ(winGetEditInt(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, INT_MIN);
}

TEST_F(EditFields, FloatReadsSignAndFraction) {
    float v = 8.0f;
    SetDlgItemTextA(panel, IDC_HEIGHT, "-12.5");
    EXPECT_EQ(winGetEditFloat(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, -12.5f);  // exactly representable
    SetDlgItemTextA(panel, IDC_HEIGHT, "12");
    EXPECT_EQ(winGetEditFloat(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, 12.0f);
    SetDlgItemTextA(panel, IDC_HEIGHT, ".25m");
    EXPECT_EQ(winGetEditFloat(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, 0.25f);
    SetDlgItemTextA(panel, IDC_HEIGHT, "1.5e2");
    EXPECT_EQ(winGetEditFloat(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, 150.0f);
    SetDlgItemTextA(panel, IDC_HEIGHT, "abc");
    EXPECT_EQ(winGetEditFloat(panel, IDC_HEIGHT, v), 0);
    EXPECT_EQ(v, 150.0f);
    SetDlgItemTextA(panel, IDC_HEIGHT, "-.");
    EXPECT_EQ(winGetEditFloat(panel, IDC_HEIGHT, v), 0);
}

TEST_F(EditFields, SettersWriteWithTheGivenDecimals) {
    winSetEditFloat(panel, IDC_HEIGHT, 12.5f, 3);
    EXPECT_EQ(Text(), "12.500");
    winSetEditFloat(panel, IDC_HEIGHT, 8.0f, 0);
    EXPECT_EQ(Text(), "8");
    winSetEditInt(panel, IDC_HEIGHT, -42);
    EXPECT_EQ(Text(), "-42");
    // What is written reads back as the same number.
    winSetEditFloat(panel, IDC_HEIGHT, 9999.0f, 3);
    float v = 0;
    ASSERT_EQ(winGetEditFloat(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, 9999.0f);
}

TEST_F(EditFields, DlgItemIntNeedsTheWholeText) {
    BOOL ok = TRUE;
    SetDlgItemTextA(panel, IDC_HEIGHT, " 42 ");
    EXPECT_EQ(GetDlgItemInt(panel, IDC_HEIGHT, &ok, FALSE), 42u);
    EXPECT_TRUE(ok);
    SetDlgItemTextA(panel, IDC_HEIGHT, "42x");
    GetDlgItemInt(panel, IDC_HEIGHT, &ok, FALSE);
    EXPECT_FALSE(ok);
    SetDlgItemInt(panel, IDC_HEIGHT, static_cast<UINT>(-5), TRUE);
    EXPECT_EQ(Text(), "-5");
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(panel, IDC_HEIGHT, &ok, TRUE)), -5);
    EXPECT_TRUE(ok);
}

}  // namespace
