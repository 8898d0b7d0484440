// `panel "FILE.png"`: pictures of the open tool's panel and of modal dialogs, drawn from their
// templates; checked pixel by pixel where the controls' state must show.
#include <algorithm>

#include "qvview/gl.h"
#include "session_fixture.h"

namespace qvapp::test {
namespace {

constexpr int kZoom = 2;                 // image pixels per dialog pixel
constexpr int kTitle = 18 * kZoom;       // a modal dialog's title bar
constexpr uint32_t kFace = 0xF0F0F0;     // the dialog background
constexpr uint32_t kButtonDown = 0xBCD4F0;
constexpr int kDark = 0x40;              // a channel below this is text or a tick, not a face

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    uint32_t At(int x, int y) const {
        const unsigned char* p = &rgba[(size_t(y) * width + x) * 4];
        return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
    // Pixels of the control's rectangle (dialog pixels) that are dark in every channel.
    int DarkIn(const RECT& r, int top = 0) const {
        int n = 0;
        for (int y = r.top * kZoom + top; y < r.bottom * kZoom + top; ++y)
            for (int x = r.left * kZoom; x < r.right * kZoom; ++x) {
                const uint32_t c = At(x, y);
                n += (c >> 16 & 255) < kDark && (c >> 8 & 255) < kDark && (c & 255) < kDark;
            }
        return n;
    }
};

class PanelPicture : public SessionTest {
protected:
    Picture Read(const std::string& name) {
        Picture p;
        std::string error;
        EXPECT_TRUE(qv::gl::ReadPng((dir_ / name).string(), p.width, p.height, p.rgba, error)) << error;
        return p;
    }
    RECT RectOf(int id) {
        for (const qv::ui::ControlInfo& c : qv::ui::Controls(tools_.Panel()))
            if (c.id == id) return c.rect;
        ADD_FAILURE() << "no control " << id;
        return RECT{};
    }
    static uint32_t Middle(const Picture& p, const RECT& r) {
        return p.At((r.left + r.right) / 2 * kZoom, (r.top + r.bottom) / 2 * kZoom);
    }
};

const char kBiped[] = "new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 8 ground\nclose\n";

TEST_F(PanelPicture, ThePanelShowsItsSwatchesStatesAndGreysWhatIsDisabled) {
    ASSERT_EQ(Run(std::string(kBiped) + "select \"Bip01\"\nmodify \"Biped\"\npanel \"root.png\"\n"), 0) << Error();
    const Picture root = Read("root.png");
    // 120 × 776 dialog units of 6/4 × 13/8 pixels, twice over.
    EXPECT_EQ(root.width, 120 * 6 / 4 * kZoom);
    EXPECT_EQ(root.height, 776 * 13 / 8 * kZoom);
    EXPECT_EQ(Middle(root, RectOf(1114)), 0x0000FFu);  // the left bones' blue, as the module paints it
    EXPECT_EQ(Middle(root, RectOf(1115)), 0x00FF00u);
    // The root has no mirror bone: "Symmetrical Rotation" is greyed, with no dark text.
    EXPECT_EQ(root.DarkIn(RectOf(1118)), 0);
    EXPECT_GT(root.DarkIn(RectOf(1116)), 50);  // "Biped Defaults" in black
    // The hidden "Save BVH" leaves nothing but the dialog's face where it sits.
    const RECT hidden = RectOf(1017);
    for (int y = hidden.top * kZoom; y < hidden.bottom * kZoom; y += 3)
        for (int x = hidden.left * kZoom; x < hidden.right * kZoom; x += 3) ASSERT_EQ(root.At(x, y), kFace);

    ASSERT_EQ(Run("close\nselect \"Bip01 L UpperArm\"\nmodify \"Biped\"\npress \"Transform\"\npanel \"arm.png\"\n"), 0)
        << Error();
    const Picture arm = Read("arm.png");
    EXPECT_GT(arm.DarkIn(RectOf(1118)), 50);  // a bone with a mirror: enabled, in black
    const RECT transform = RectOf(1133);
    EXPECT_EQ(arm.At(transform.left * kZoom + 3 * kZoom, transform.top * kZoom + 3 * kZoom), kButtonDown);
    EXPECT_NE(root.At(transform.left * kZoom + 3 * kZoom, transform.top * kZoom + 3 * kZoom), kButtonDown);
}

TEST_F(PanelPicture, AModalDialogIsDrawnWhileItIsOpenWithItsChecks) {
    ASSERT_EQ(Run(std::string(kBiped) + "select \"Bip01\"\nmodify \"Biped\"\npress \"Posture/Set\"\n"
                  "panel \"all.png\"\npress #1043\npanel \"lower.png\"\npress \"Cancel\"\n"), 0)
        << Error();
    const Picture all = Read("all.png"), lower = Read("lower.png");
    EXPECT_EQ(all.width, 274 * 6 / 4 * kZoom);
    EXPECT_EQ(all.height, 233 * 13 / 8 * kZoom + kTitle);
    EXPECT_NE(all.At(2, 2), kFace);  // the title bar
    // "Clear" under "Upper" takes the ticks off seventeen boxes: fewer dark pixels, the same
    // buttons and captions.
    const RECT whole{0, 0, all.width / kZoom, (all.height - kTitle) / kZoom};
    EXPECT_LT(lower.DarkIn(whole, kTitle), all.DarkIn(whole, kTitle));
    // The panel's own picture is taken again once the dialog is gone.
    ASSERT_EQ(Run("panel \"after.png\"\n"), 0) << Error();
    EXPECT_EQ(Read("after.png").width, 120 * 6 / 4 * kZoom);
}

TEST_F(PanelPicture, WithoutAPanelOrDialogThereIsNothingToDraw) {
    EXPECT_EQ(Run("new\npanel \"x.png\"\n"), 1);
    EXPECT_NE(Error().find("no dialog or panel is open"), std::string::npos) << Error();
    EXPECT_FALSE(std::filesystem::exists(dir_ / "x.png"));
}

}  // namespace
}  // namespace qvapp::test
