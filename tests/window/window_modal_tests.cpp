// A modal dialog opened by a replayed script is drawn over the window: the script's
// `screenshot` among the dialog's answers shows it centred, with its caption bar and its whole
// template, and it is gone once answered.
#include <algorithm>
#include <cstdlib>

#include "window/dialog_widgets.h"
#include "window_fixture.h"

namespace qvapp::test {
namespace {

constexpr const char* kOpenSelectBones =
    "create \"Bones\" \"Biped\"\n"
    "drag 0 0 0 8 ground\n"
    "close\n"
    "modify \"Biped\"\n"
    "press \"Posture/Set\"\n";
// The modal window opens centred on the window; ImGui may place its border a pixel either way
// and the halving rounds.
constexpr int kCentreSlack = 2;  // pixels
// A pixel counts as changed by the modal when a channel moved by more than the multisampled
// scene's frame-to-frame noise.
constexpr int kChangedSteps = 6;  // 8-bit steps
constexpr int kEdge = 3;          // pixels of the viewport's edge left out of the comparison

class WindowModal : public WindowTest {
protected:
    struct Extent {
        int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
        bool Empty() const { return right < left; }
    };
    // Where two screenshots of the same window differ inside the viewport, away from its edge:
    // the interface around it (and the borders of its windows) is drawn greyed while a modal
    // window is open.
    static Extent Difference(const Picture& a, const Picture& b, const window::HostWindow::Rect& r) {
        Extent e;
        for (int y = r.y + kEdge; y < r.y + r.height - kEdge; ++y)
            for (int x = r.x + kEdge; x < r.x + r.width - kEdge; ++x) {
                const unsigned char *p = a.At(x, y), *q = b.At(x, y);
                bool changed = false;
                for (int c = 0; c < 3; ++c) changed |= std::abs(p[c] - q[c]) > kChangedSteps;
                if (!changed) continue;
                e.left = std::min(e.left, x);
                e.right = std::max(e.right, x);
                e.top = std::min(e.top, y);
                e.bottom = std::max(e.bottom, y);
            }
        return e;
    }
};

TEST_F(WindowModal, ScreenshotAmongTheAnswersShowsTheDialogOverTheWindowAtItsPlace) {
    // The dialog's own picture (two image pixels a dialog pixel), headless.
    ASSERT_EQ(Run(std::string(kOpenSelectBones) + "panel \"dialog.png\"\npress \"Cancel\"\n"), 0)
        << Error();
    const Picture dialog = ReadPicture(Path("dialog.png"));
    tools_.Close();
    qv::ResetScene();

    window::WindowOptions options;
    options.script = WriteScript(std::string(kOpenSelectBones) + "screenshot \"" + Path("open.png") +
                                 "\"\npress \"Cancel\"\n");
    options.screenshot = Path("closed.png");
    window::HostWindow window(tools_, options);
    ASSERT_TRUE(window.Open()) << window.Error();
    ASSERT_EQ(window.Run(), 0);
    const Picture open = ReadPicture(Path("open.png")), closed = ReadPicture(Path("closed.png"));
    ASSERT_EQ(open.width, closed.width);
    ASSERT_EQ(open.height, closed.height);

    // Once answered the dialog is gone, so over the viewport the two pictures differ exactly
    // where it stood.
    const auto viewport = window.ViewportRect();
    const Extent e = Difference(open, closed, viewport);
    ASSERT_FALSE(e.Empty()) << "the open dialog changed nothing";
    EXPECT_NEAR((e.left + e.right) / 2, open.width / 2, kCentreSlack);
    EXPECT_NEAR((e.top + e.bottom) / 2, open.height / 2, kCentreSlack);
    // It holds the whole template at the window's zoom, and stays inside the window.
    const float zoomed = window::kDialogZoom / 2.0f;  // window pixels per picture pixel
    EXPECT_GE(e.right - e.left, static_cast<int>(dialog.width * zoomed));
    EXPECT_GE(e.bottom - e.top, static_cast<int>(dialog.height * zoomed));
    EXPECT_LT(e.right, viewport.x + viewport.width - kEdge - 1) << "the dialog fits over the viewport";
    EXPECT_LT(e.bottom, viewport.y + viewport.height - kEdge - 1);

    // Its caption bar: the rows just under the top edge are one flat colour from the left
    // border to where the caption's text starts, unlike what the window shows there without it.
    const int barRow = e.top + 4, barLeft = e.left + 3;
    const unsigned char* bar = open.At(barLeft, barRow);
    for (int x = barLeft; x < barLeft + 5; ++x)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(open.At(x, barRow)[c], bar[c]) << x;
    int text = 0;  // the caption's letters: pixels darker than the bar by half
    for (int y = e.top; y < e.top + 18; ++y)
        for (int x = e.left; x <= e.right; ++x) text += open.At(x, y)[0] * 2 < bar[0] ? 1 : 0;
    EXPECT_GT(text, 30) << "\"Select Biped Bones\" written in the caption bar";
}

}  // namespace
}  // namespace qvapp::test
