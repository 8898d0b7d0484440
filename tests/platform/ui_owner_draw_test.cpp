// Owner-drawn buttons: the paint request the procedure receives and the colour it fills.
#include "ui_support.h"

namespace {

using namespace uitest;

// Inset of the swatch fill inside the button, as the panels paint it (pixels).
constexpr LONG kSwatchInset = 3;

class OwnerDraw : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        panel = qv::ui::CreatePanel(
            TestModule(), IDD_PANEL, [this](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
                if (msg != 0x1401) return 0;
                auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
                if (dis->CtlID != IDC_SWATCH) return 0;
                ++paints;
                last = *dis;
                RECT r = dis->rcItem;
                r.left += kSwatchInset, r.top += kSwatchInset;
                r.right -= kSwatchInset, r.bottom -= kSwatchInset;
                SetBkColor(dis->hDC, colour);
                ExtTextOutA(dis->hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
                return 1;
            });
    }
    void TearDown() override {
        qv::ui::DestroyPanel(panel);
        UiTest::TearDown();
    }
    unsigned long SwatchColour() {
        for (auto& c : qv::ui::Controls(panel))
            if (c.id == IDC_SWATCH) return c.colour;
        return 0xFFFFFFFF;
    }
    COLORREF colour = RGB(10, 20, 30);
    int paints = 0;
    DRAWITEMSTRUCT last{};
    HWND panel = nullptr;
};

TEST_F(OwnerDraw, PaintRequestCarriesTheButtonItsRectangleAndAContextValidDuringThePaint) {
    EXPECT_EQ(paints, 1);  // painted when created
    EXPECT_EQ(SwatchColour(), RGB(10, 20, 30));
    EXPECT_EQ(last.CtlType, static_cast<UINT>(ODT_BUTTON));
    EXPECT_EQ(last.hwndItem, GetDlgItem(panel, IDC_SWATCH));
    // 20 x 12 dialog units in the 8-point dialog font: 30 x 19 pixels (x 6/4, y 13/8, truncated).
    EXPECT_EQ(last.rcItem.left, 0);
    EXPECT_EQ(last.rcItem.top, 0);
    EXPECT_EQ(last.rcItem.right, 30);
    EXPECT_EQ(last.rcItem.bottom, 19);
    EXPECT_EQ(SetBkColor(last.hDC, RGB(1, 2, 3)), static_cast<COLORREF>(-1));  // stale now
    RECT r{0, 0, 5, 5};
    EXPECT_FALSE(ExtTextOutA(last.hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr));
    colour = RGB(0, 0, 255);
    RedrawWindow(GetDlgItem(panel, IDC_SWATCH), nullptr, nullptr, RDW_INVALIDATE);
    EXPECT_EQ(paints, 1);  // invalidating alone paints later, not now
    RedrawWindow(GetDlgItem(panel, IDC_SWATCH), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(SwatchColour(), RGB(0, 0, 255));
    qv::ui::PaintOwnerDrawn(panel);
    EXPECT_EQ(paints, 3);
}

}  // namespace
