// The panel number fields: reading the leading number of an edit and writing numbers back.
#include <climits>

#include <quorvane/util.h>

#include "ui_support.h"

namespace {

using namespace uitest;

class EditFields : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        panel = qv::ui::CreatePanel(TestModule(), IDD_PANEL, IgnoreAll);
    }
    void TearDown() override {
        qv::ui::DestroyPanel(panel);
        UiTest::TearDown();
    }
    void Set(const char* text) { SetDlgItemTextA(panel, IDC_HEIGHT, text); }
    std::string Text() {
        char buf[64];
        GetDlgItemTextA(panel, IDC_HEIGHT, buf, sizeof buf);
        return buf;
    }
    HWND panel = nullptr;
};

TEST_F(EditFields, IntReadsTheLeadingNumberAndStopsAtTheEndsOfItsRange) {
    const std::pair<const char*, int> cases[] = {{"12", 12}, {"-12.5", -12}, {"  7 loops", 7},
                                                 {"99999999999", INT_MAX}, {"-99999999999", INT_MIN}};
    for (const auto& [text, expected] : cases) {
        int v = 77;
        Set(text);
        EXPECT_EQ(winGetEditInt(panel, IDC_HEIGHT, v), 1) << text;
        EXPECT_EQ(v, expected) << text;
    }
    int v = 77;
    for (const char* text : {"abc", "", "-", "+x1"}) {  // no digit: the value stays
        Set(text);
        EXPECT_EQ(winGetEditInt(panel, IDC_HEIGHT, v), 0) << text;
    }
    EXPECT_EQ(winGetEditInt(panel, 9999, v), 0);  // no such edit
    EXPECT_EQ(v, 77);
}

TEST_F(EditFields, FloatReadsSignFractionAndExponent) {
    const std::pair<const char*, float> cases[] = {{"-12.5", -12.5f}, {"12", 12.0f}, {".25m", 0.25f},
                                                   {"1.5e2", 150.0f}};  // all exact in floats
    float v = 8.0f;
    for (const auto& [text, expected] : cases) {
        Set(text);
        EXPECT_EQ(winGetEditFloat(panel, IDC_HEIGHT, v), 1) << text;
        EXPECT_EQ(v, expected) << text;
    }
    for (const char* text : {"abc", "-."}) {
        Set(text);
        EXPECT_EQ(winGetEditFloat(panel, IDC_HEIGHT, v), 0) << text;
    }
    EXPECT_EQ(v, 150.0f);
}

TEST_F(EditFields, SettersWriteWithTheGivenDecimalsAndReadBack) {
    winSetEditFloat(panel, IDC_HEIGHT, 12.5f, 3);
    EXPECT_EQ(Text(), "12.500");
    winSetEditFloat(panel, IDC_HEIGHT, 8.0f, 0);
    EXPECT_EQ(Text(), "8");
    winSetEditInt(panel, IDC_HEIGHT, -42);
    EXPECT_EQ(Text(), "-42");
    winSetEditFloat(panel, IDC_HEIGHT, 9999.0f, 3);
    float v = 0;
    ASSERT_EQ(winGetEditFloat(panel, IDC_HEIGHT, v), 1);
    EXPECT_EQ(v, 9999.0f);
}

}  // namespace
