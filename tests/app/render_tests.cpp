// Offscreen renders: the image has the requested size, the grey background, and drawn pixels
// where a bone stands; which side of a biped each named view shows; the axis triad and the key
// to the side colours; GIF animations hold the pictures of their frames.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "qvview/gl.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "render.h"
#include "render_grid.h"
#include "scene_view.h"
#include "session_fixture.h"

namespace qvapp::test {
namespace {

constexpr int kBackground = 128;      // kBackgroundGrey (0.5) in 8-bit channels, ±1 rounding
constexpr int kChannelTolerance = 2;  // 8-bit steps: rounding of the clear colour
constexpr int kSearchRadius = 3;      // pixels around a projected point that may hold the bone

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    bool IsBackground(int x, int y) const {
        const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        for (int c = 0; c < 3; ++c)
            if (std::abs(p[c] - kBackground) > kChannelTolerance) return false;
        return true;
    }
    bool Is(int x, int y, int r, int g, int b) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return false;
        const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return p[0] == r && p[1] == g && p[2] == b;
    }
    const unsigned char* At(int x, int y) const {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }
    bool DrawnNear(int cx, int cy) const {
        for (int y = cy - kSearchRadius; y <= cy + kSearchRadius; ++y)
            for (int x = cx - kSearchRadius; x <= cx + kSearchRadius; ++x)
                if (x >= 0 && y >= 0 && x < width && y < height && !IsBackground(x, y)) return true;
        return false;
    }
};

class Rendering : public SessionTest {
protected:
    Image Read(const char* name) {
        Image img;
        std::string error;
        EXPECT_TRUE(qv::gl::ReadPng((dir_ / name).string(), img.width, img.height, img.rgba, error))
            << error;
        return img;
    }
};

TEST_F(Rendering, FrontViewHasTheRequestedSizeAndShowsTheBone) {
    ASSERT_EQ(Run("bone \"A\" 0 0 1\nbone \"B\" 0 0 5 parent \"A\"\n"
                  "render \"front.png\" view front size 200 150\n"), 0) << Error();
    Image img = Read("front.png");
    ASSERT_EQ(img.width, 200);
    ASSERT_EQ(img.height, 150);
    // Where the render puts the bone's middle: the same framing the render uses.
    Box box = PaddedBox(SceneBox(0), kMinFramedSize);
    qv::gl::View view(qv::gl::ViewKind::Front, 200, 150);
    view.Frame(box.min, box.max);
    cpoint3 mid;
    view.Project(mid, 0, 0, 3);
    EXPECT_TRUE(img.DrawnNear(static_cast<int>(mid.x), static_cast<int>(mid.y)));
    EXPECT_TRUE(img.IsBackground(2, 2));  // the top-left corner is sky
}

TEST_F(Rendering, EmptySceneIsGroundAndBackgroundAndTheDefaultIsPerspectiveAt640By480) {
    ASSERT_EQ(Run("render \"empty.png\" size 64 48 view top\nrender \"p.png\"\n"), 0) << Error();
    Image img = Read("empty.png");
    ASSERT_EQ(img.width, 64);
    int drawn = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) drawn += img.IsBackground(x, y) ? 0 : 1;
    EXPECT_GT(drawn, 0);                            // the grid seen from above
    EXPECT_LT(drawn, img.width * img.height / 2);  // but mostly background
    img = Read("p.png");
    EXPECT_EQ(img.width, 640);
    EXPECT_EQ(img.height, 480);
}

TEST_F(Rendering, FrameOptionDrawsThatFrameAndKeepsTheTime) {
    // "A" is keyed at (0, 0, 0) on frame 0 and at (4, 0, 0) on frame 10; "Post" stands still at
    // (-4, 0, 0), so that the frame-10 picture also covers where "A" stood on frame 0.
    ASSERT_EQ(Run("bone \"Post\" -4 0 0\nbone \"A\"\nbone \"B\" 0 0 4 parent \"A\"\n"
                  "anim on\ntime 10\nselect \"A\"\nmove 4 0 0\ntime 0\n"
                  "render \"f10.png\" view front size 160 120 frame 10\n"), 0) << Error();
    EXPECT_EQ(Dump()["time"], 0);
    Image img = Read("f10.png");
    Box box = PaddedBox(SceneBox(10), kMinFramedSize);
    qv::gl::View view(qv::gl::ViewKind::Front, 160, 120);
    view.Frame(box.min, box.max);
    cpoint3 now, before;
    view.Project(now, 4, 0, 2);     // the middle of A on frame 10
    view.Project(before, 0, 0, 2);  // the middle of A on frame 0
    EXPECT_TRUE(img.DrawnNear(static_cast<int>(now.x), static_cast<int>(now.y)));
    EXPECT_FALSE(img.DrawnNear(static_cast<int>(before.x), static_cast<int>(before.y)));
}

// A biped in the host's own bone colour, so that only the tool's unlit overlays are pure blue
// or pure green; its root keyed at three frames within the framed area, and the modify tool
// open on the root.
const std::string kBipedOnRoot =
    "create \"Bones\" \"Biped\"\npress \"Quorvane Defaults\"\ndrag 0 0 4.88 8\nclose\n"
    "select \"Bip01\"\nmodify \"Biped\"\n"
    "anim on\ntime 30\nmove 0 -0.4 0\ntime 60\nmove 0.8 0 0\nanim off\ntime 0\n";

// The pixel of a world point in a square view of the scene at frame 0, framed as the render does.
cpoint3 ViewPixel(qv::gl::ViewKind kind, const cpoint3& p, int size) {
    Box box = PaddedBox(SceneBox(0), kMinFramedSize);
    qv::gl::View view(kind, size, size);
    view.Frame(box.min, box.max);
    cpoint3 out;
    view.Project(out, p.x, p.y, p.z);
    return out;
}

TEST_F(Rendering, RootPathWithTransformOnIsBlueThroughEveryKey) {
    ASSERT_EQ(Run(kBipedOnRoot + "press \"Transform\"\n"
                                 "render \"path.png\" view top size 300 300\n"), 0) << Error();
    Image img = Read("path.png");
    const Json root = NodeNamed(Dump(), "Bip01");
    ASSERT_EQ(root["keys"].size(), 3u);
    for (const Json& key : root["keys"]) {
        const cpoint3 at(key["pos"][0], key["pos"][1], key["pos"][2]);
        const cpoint3 px = ViewPixel(qv::gl::ViewKind::Top, at, 300);
        bool blue = false;  // key points are 4 pixels wide around the projected point
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                blue = blue || img.Is(static_cast<int>(px.x) + dx, static_cast<int>(px.y) + dy, 0, 0, 255);
        EXPECT_TRUE(blue) << "no key point at frame " << key["t"];
    }
    // Without "Transform" the same picture has no blue at all.
    ASSERT_EQ(Run("press \"Transform\"\nrender \"plain.png\" view top size 300 300\n"), 0) << Error();
    Image plain = Read("plain.png");
    for (int y = 0; y < plain.height; ++y)
        for (int x = 0; x < plain.width; ++x) ASSERT_FALSE(plain.Is(x, y, 0, 0, 255)) << x << "," << y;
}

TEST_F(Rendering, AnchorCrossesTakeTheSideColoursOfTheBipedsBones) {
    // The module keeps its colours between scenes: blue and green again first.
    ASSERT_EQ(Run("create \"Bones\" \"Biped\"\npress \"Biped Defaults\"\n"
                  "drag 0 0 4.88 8\nclose\nselect \"Bip01\"\nmodify \"Biped\"\n"
                  "render \"none.png\" view front size 300 300\n"
                  "press \"Right Foot\"\npress \"Left Foot\"\n"
                  "render \"anchors.png\" view front size 300 300\n"), 0)
        << Error();
    const Image none = Read("none.png"), anchors = Read("anchors.png");
    const Json dump = Dump();
    // A cross's horizontal arm reaches 20 pixels to each side in one flat, unlit colour; seen
    // from the front, the half away from the other foot stays clear of the other cross, and
    // shaded bones never make such a run. The arm's row may lie a few rows off the position
    // projected here.
    constexpr int kHalfArm = 16;
    constexpr int kRowSlack = 4;
    auto hasArm = [](const Image& img, int cx, int cy, int outward, int r, int g, int b) {
        for (int y = cy - kRowSlack; y <= cy + kRowSlack; ++y) {
            int run = 0;
            for (int d = 2; d <= kHalfArm + 2; ++d) run += img.Is(cx + outward * d, y, r, g, b);
            if (run == kHalfArm + 1) return true;
        }
        return false;
    };
    struct Side { const char* foot; int outward; int r, g, b; };
    for (const Side& side : {Side{"Bip01 R Foot", -1, 0, 255, 0}, Side{"Bip01 L Foot", +1, 0, 0, 255}}) {
        const Json pos = NodeNamed(dump, side.foot)["world"]["pos"];
        const cpoint3 px = ViewPixel(qv::gl::ViewKind::Front, cpoint3(pos[0], pos[1], pos[2]), 300);
        const int x = static_cast<int>(px.x), y = static_cast<int>(px.y);
        EXPECT_TRUE(hasArm(anchors, x, y, side.outward, side.r, side.g, side.b)) << side.foot;
        EXPECT_FALSE(hasArm(none, x, y, side.outward, side.r, side.g, side.b)) << side.foot;
    }
}

// The joints of a node and of every node below it, from the dump.
std::vector<cpoint3> SubtreeJoints(const Json& dump, const std::string& name) {
    std::vector<cpoint3> joints;
    std::vector<std::string> pending{name};
    while (!pending.empty()) {
        const Json node = NodeNamed(dump, pending.back());
        pending.pop_back();
        const Json& pos = node["world"]["pos"];
        joints.emplace_back(pos[0], pos[1], pos[2]);
        for (const Json& child : node["children"]) pending.push_back(child);
    }
    return joints;
}

TEST_F(Rendering, FitFramesTheNodeAndEverythingBelowItAlongTheChosenView) {
    constexpr int kSize = 300;  // pixels
    // The hand's joints span at least half the picture along one side (the framing may pad a
    // thin box); framed with the whole biped they would span about a tenth.
    constexpr float kSpanShare = 0.5f;
    ASSERT_EQ(Run("create \"Bones\" \"Biped\"\ndrag 0 0 4.88 8\nclose\n"), 0) << Error();
    const Json dump = Dump();
    const std::vector<cpoint3> hand = SubtreeJoints(dump, "Bip01 R Hand");
    ASSERT_GT(hand.size(), 5u);  // the hand and its fingers
    const Json head = NodeNamed(dump, "Bip01 Head")["world"]["pos"];
    for (const char* kind : {"front", "left", "top"}) {
        SCOPED_TRACE(kind);
        const std::string file = std::string(kind) + ".png";
        const std::string options = std::string(" view ") + kind + " size 300 300";
        ASSERT_EQ(Run("render \"" + file + "\"" + options + " fit \"Bip01 R Hand\"\n"), 0)
            << Error();
        const Image img = Read(file.c_str());
        qv::gl::ViewKind viewKind;
        ASSERT_TRUE(qv::gl::ParseViewKind(kind, viewKind));
        qv::gl::View view(viewKind, kSize, kSize);
        const Box box = FitBox(FindDrawnNode("Bip01 R Hand", 0), 0);
        view.Frame(box.min, box.max);
        // Every joint of the hand is drawn where the fitted view puts it ...
        Box onScreen;
        for (const cpoint3& p : hand) {
            cpoint3 px;
            view.Project(px, p.x, p.y, p.z);
            onScreen.Add(px);
            EXPECT_TRUE(img.DrawnNear(static_cast<int>(px.x), static_cast<int>(px.y)))
                << px.x << "," << px.y;
        }
        // ... the hand fills the picture ...
        EXPECT_GT(std::max(onScreen.max.x - onScreen.min.x, onScreen.max.y - onScreen.min.y),
                  kSpanShare * kSize);
        // ... and the head lies outside it.
        cpoint3 px;
        view.Project(px, head[0], head[1], head[2]);
        EXPECT_FALSE(px.x >= 0 && px.x < kSize && px.y >= 0 && px.y < kSize) << px.x << "," << px.y;
    }
}

TEST_F(Rendering, FitOnANodeThatIsNotDrawnIsAnErrorAndWritesNothing) {
    EXPECT_EQ(Run("bone \"A\"\nrender \"x.png\" fit \"Nobody\"\n"), 1);
    EXPECT_NE(Error().find("Nobody"), std::string::npos) << Error();
    EXPECT_FALSE(std::filesystem::exists(dir_ / "x.png"));
}

TEST(RenderGrid, HalfLinesCoverTheBoxAndStayInRangeWhateverItHolds) {
    const float inf = INFINITY, nan = NAN;
    const struct {
        cpoint3 min, max;
        int half;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 0}, 2},          // the margin alone
        {{-3.5f, 0, 0}, {1, 0, 0}, 6},      // 3.5 units and the margin, rounded up
        {{0, 0, 0}, {0, 10, -1e30f}, 12},   // height does not count
        {{-1e30f, 0, 0}, {0, 0, 0}, kMaxGridLines / 2},
        {{-inf, 0, 0}, {0, 0, 0}, kMaxGridLines / 2},
        {{0, 0, 0}, {0, nan, 0}, kMaxGridLines / 2},
    };
    for (const auto& c : cases) {
        Box box;
        box.min = c.min;
        box.max = c.max;
        box.empty = false;
        EXPECT_EQ(GridHalfLines(box), c.half) << c.min.x << " " << c.max.y;
    }
}

// Keys are finite, but at frame 10 the child stands 1e30 units out under a parent scaled by
// 1e30: the view frames what is finite and the grid still shows.
TEST_F(Rendering, FrameWhereAPositionOverflowsStillShowsTheGround) {
    cbone* root = CreateNewBone();
    root->SetName("Root");
    cbone* far = CreateNewBone();
    far->SetName("Far");
    root->Attach(far, 0);
    root->anim.SetKey({10, {}, {}, {1e30f, 1e30f, 1e30f}});
    far->anim.SetKey({0, {0, 0, 1e30f}, {}, {1, 1, 1}});
    Interface::AddToScene(root, 0);
    Interface::AddToScene(far, 0);
    ASSERT_EQ(Run("render \"far.png\" view top size 64 48 frame 10\n"), 0) << Error();
    ASSERT_FALSE(std::isfinite(far->GetPosition(10).z));
    Image img = Read("far.png");
    int ground = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) ground += img.IsBackground(x, y) ? 0 : 1;
    EXPECT_GT(ground, img.width) << "no grid line drawn";
}

TEST_F(Rendering, LeftViewLooksFromMinusXAndSoShowsTheBipedsRightSide) {
    constexpr int kSize = 300;  // pixels
    ASSERT_EQ(Run("create \"Bones\" \"Biped\"\npress \"Biped Defaults\"\n"
                  "drag 0 0 0 8 ground\nclose\ndeselect\n"), 0) << Error();
    const Json dump = Dump();
    auto middle = [&](const char* thigh, const char* calf) {
        const Json a = NodeNamed(dump, thigh)["world"]["pos"];
        const Json b = NodeNamed(dump, calf)["world"]["pos"];
        cpoint3 mid;
        for (int i = 0; i < 3; ++i) mid[i] = (a[i].get<float>() + b[i].get<float>()) / 2;
        return mid;
    };
    const cpoint3 right = middle("Bip01 R Thigh", "Bip01 R Calf");
    const cpoint3 left = middle("Bip01 L Thigh", "Bip01 L Calf");
    // Seen from the side, the two thighs lie on one spot and the nearer one hides the other:
    // green (right) from the left, blue (left) from the right. From the front the biped's left
    // thigh is on the right of the picture, from the back on the left.
    struct Case {
        const char* view;
        bool greenInFront;  // side views: the right thigh is the one seen
        bool leftOnTheRight;  // front and back: the left thigh further right in the picture
    };
    for (const Case& c : {Case{"left", true, false}, Case{"right", false, false},
                          Case{"front", false, true}, Case{"back", false, false}}) {
        SCOPED_TRACE(c.view);
        const std::string file = std::string(c.view) + ".png";
        ASSERT_EQ(Run("render \"" + file + "\" view " + c.view + " size 300 300\n"), 0) << Error();
        qv::gl::ViewKind kind;
        ASSERT_TRUE(qv::gl::ParseViewKind(c.view, kind));
        const cpoint3 r = ViewPixel(kind, right, kSize), l = ViewPixel(kind, left, kSize);
        if (std::string(c.view) == "left" || std::string(c.view) == "right") {
            const Image img = Read(file.c_str());
            const unsigned char* p = img.At(static_cast<int>(r.x), static_cast<int>(r.y));
            EXPECT_EQ(p[1] > p[2], c.greenInFront)
                << int(p[0]) << "," << int(p[1]) << "," << int(p[2]);
        } else {
            EXPECT_EQ(l.x > r.x, c.leftOnTheRight);
        }
    }
}

// Pixels within 2 steps of the colour in each channel (the marks are flat, unlit colours).
bool NearColour(const unsigned char* p, const unsigned char (&rgb)[3]) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(p[c] - rgb[c]) > 2) return false;
    return true;
}

// Mean pixel position of a colour within a region of the picture; false when it is absent.
bool MeanOf(const Image& img, const unsigned char (&rgb)[3], int x0, int y0, int x1, int y1,
            float& mx, float& my) {
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (NearColour(img.At(x, y), rgb)) sx += x, sy += y, ++n;
    if (n == 0) return false;
    mx = static_cast<float>(sx / n);
    my = static_cast<float>(sy / n);
    return true;
}

TEST_F(Rendering, EveryRenderHasAnAxisTriadInTheBottomLeftCornerTurnedWithTheView) {
    // The triad's axis colours (x reddish, y greenish, z bluish), as 8-bit channels.
    const unsigned char kX[3] = {255, 89, 89}, kY[3] = {89, 230, 89}, kZ[3] = {115, 153, 255};
    // Where each axis's pixels lie from the corner's middle, in the picture (x right, y down):
    // +1 / -1 along a picture direction, 0 when the axis is seen end-on.
    struct Case {
        const char* view;
        int xRight, yRight, zUp;  // sign of each axis's run to the right; z's run upward
    };
    for (const Case& c : {Case{"front", +1, 0, +1}, Case{"back", -1, 0, +1},
                          Case{"left", 0, -1, +1}, Case{"right", 0, +1, +1}}) {
        SCOPED_TRACE(c.view);
        ASSERT_EQ(Run(std::string("new\nrender \"t.png\" size 400 400 view ") + c.view + "\n"), 0)
            << Error();
        const Image img = Read("t.png");
        // The corner: the bottom-left quarter holds all three axes, the rest none of them.
        float xx, xy, yx, yy, zx, zy, ignored;
        ASSERT_TRUE(MeanOf(img, kX, 0, 200, 200, 400, xx, xy));
        ASSERT_TRUE(MeanOf(img, kY, 0, 200, 200, 400, yx, yy));
        ASSERT_TRUE(MeanOf(img, kZ, 0, 200, 200, 400, zx, zy));
        EXPECT_FALSE(MeanOf(img, kX, 200, 0, 400, 400, ignored, ignored));
        EXPECT_FALSE(MeanOf(img, kZ, 0, 0, 400, 200, ignored, ignored));
        // The axis that points along the view is the one whose pixels sit nearest the others'
        // crossing; those across the view run their way from it. z runs up in all four views.
        EXPECT_LT(zy, std::min(xy, yy));
        if (c.xRight != 0) {
            EXPECT_EQ(xx > yx, c.xRight > 0);
        }
        if (c.yRight != 0) {
            EXPECT_EQ(yx > xx, c.yRight > 0);
        }
    }
}

TEST_F(Rendering, LegendKeysEachSidesColoursInTheTopRightCornerLeftAboveRight) {
    // Colours the lit bones cannot match exactly over a block: neither is fully saturated in
    // all its channels, as pure green would be on faces turned to the light.
    ASSERT_EQ(Run("create \"Bones\" \"Biped\"\npress \"#1111\"\n"
                  "type \"Red:\" 255\ntype \"Green:\" 140\ntype \"Blue:\" 0\npress \"OK\"\n"
                  "press \"#1112\"\ntype \"Red:\" 170\ntype \"Green:\" 0\ntype \"Blue:\" 220\n"
                  "press \"OK\"\ndrag 0 0 0 8 ground\nclose\n"
                  "render \"key.png\" view front size 480 480 legend\n"
                  "render \"plain.png\" view front size 480 480\n"
                  "create \"Bones\" \"Biped\"\n" + kCreationPanelDefaults + "close\n"), 0)
        << Error();
    // A swatch is a block of one flat colour; the lit bones never hold one that large.
    constexpr int kBlock = 8;  // pixels a side
    auto block = [](const Image& img, const unsigned char (&rgb)[3], int& bx, int& by) {
        for (int y = 0; y + kBlock <= img.height; ++y)
            for (int x = 0; x + kBlock <= img.width; ++x) {
                bool all = true;
                for (int dy = 0; dy < kBlock && all; ++dy)
                    for (int dx = 0; dx < kBlock && all; ++dx)
                        all = NearColour(img.At(x + dx, y + dy), rgb);
                if (all) { bx = x; by = y; return true; }
            }
        return false;
    };
    const unsigned char kLeft[3] = {255, 140, 0}, kRight[3] = {170, 0, 220};
    const Image key = Read("key.png"), plain = Read("plain.png");
    int lx = 0, ly = 0, rx = 0, ry = 0;
    ASSERT_TRUE(block(key, kLeft, lx, ly));
    ASSERT_TRUE(block(key, kRight, rx, ry));
    EXPECT_GT(lx, key.width / 2);
    EXPECT_LT(ly, key.height / 4);
    EXPECT_LT(ly, ry);  // the left row first
    EXPECT_FALSE(block(plain, kLeft, lx, ly));
    EXPECT_FALSE(block(plain, kRight, rx, ry));
}

TEST_F(Rendering, BadOptionsAreErrors) {
    for (const char* options :
         {"view sideways", "size 0 10", "size 10", "zoom 2", "fit", "legend 2", "look shiny"})
        EXPECT_EQ(Run(std::string("render \"x.png\" ") + options + "\n"), 1) << options;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "x.png"));
}

// Only the window saves pictures of itself: headless, `screenshot` says so and writes nothing.
TEST_F(Rendering, ScreenshotHeadlessIsRefusedWithTheAlternatives) {
    EXPECT_EQ(Run("new\nscreenshot \"x.png\"\n"), 1);
    EXPECT_NE(Error().find("test.qvs:2: screenshot: only the window takes screenshots (headless, use render or panel)"),
              std::string::npos) << Error();
    EXPECT_FALSE(std::filesystem::exists(dir_ / "x.png"));
}

// --- animations -------------------------------------------------------------------------------

// Palette reduction may move a colour by a few 8-bit steps; a wrong frame or a shifted view
// moves whole bones, hundreds of pixels by up to 128 steps.
constexpr double kMeanPaletteError = 1.5;  // mean 8-bit steps a channel over the picture
constexpr int kMaxPaletteError = 24;       // 8-bit steps, any channel of any pixel

struct Difference { double mean = 0; int max = 0; };
Difference Compare(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    Difference d;
    if (a.size() != b.size()) return {1e9, 255};
    long long sum = 0, channels = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (i % 4 == 3) continue;  // GIF frames carry no alpha
        const int diff = std::abs(a[i] - b[i]);
        sum += diff;
        ++channels;
        d.max = std::max(d.max, diff);
    }
    d.mean = static_cast<double>(sum) / static_cast<double>(channels);
    return d;
}

// The GIF's frames are the pictures of those frames: on a still scene every frame matches the
// PNG render (the framing is the same), at the scene's time per frame times the step.
TEST_F(Rendering, GifOfAStillSceneRepeatsThePictureAtTheScenesPace) {
    ASSERT_EQ(Run("tpf 40\ncreate \"Bones\" \"Biped\"\ndrag 0 0 4.88 8\nclose\n"
                  "render \"still.png\" view persp size 160 120\n"
                  "render \"still.gif\" view persp size 160 120 frames 0 6 step 3\n"), 0)
        << Error();
    const Image picture = Read("still.png");
    qv::gl::GifFrames gif;
    std::string error;
    ASSERT_TRUE(qv::gl::ReadGif((dir_ / "still.gif").string(), gif, error)) << error;
    ASSERT_EQ(gif.rgba.size(), 3u);  // frames 0, 3 and 6
    EXPECT_EQ(gif.width, 160);
    EXPECT_EQ(gif.height, 120);
    for (size_t i = 0; i < gif.rgba.size(); ++i) {
        EXPECT_EQ(gif.delaysMs[i], 120) << "frame " << i;  // 40 ms a frame, every 3rd frame
        const Difference d = Compare(gif.rgba[i], picture.rgba);
        EXPECT_LT(d.mean, kMeanPaletteError) << "frame " << i;
        EXPECT_LE(d.max, kMaxPaletteError) << "frame " << i;
    }
}

// A bone keyed to move: the frames differ, each shows the bone where that frame puts it, and
// the view stays still, framed on everywhere the bone goes.
TEST_F(Rendering, GifFramesFollowTheAnimationUnderOneView) {
    ASSERT_EQ(Run("bone \"A\"\nbone \"B\" 0 0 4 parent \"A\"\n"
                  "anim on\ntime 10\nselect \"A\"\nmove 4 0 0\ntime 0\nanim off\ndeselect\n"
                  "render \"move.gif\" view front size 160 120 frames 0 10 step 10\n"), 0)
        << Error();
    qv::gl::GifFrames gif;
    std::string error;
    ASSERT_TRUE(qv::gl::ReadGif((dir_ / "move.gif").string(), gif, error)) << error;
    ASSERT_EQ(gif.rgba.size(), 2u);
    Box box = SceneBox(0);
    const Box later = SceneBox(10);
    box.Add(later.min);
    box.Add(later.max);
    box = PaddedBox(box, kMinFramedSize);
    qv::gl::View view(qv::gl::ViewKind::Front, 160, 120);
    view.Frame(box.min, box.max);
    cpoint3 at0, at10;
    view.Project(at0, 0, 0, 2);   // the middle of A on frame 0
    view.Project(at10, 4, 0, 2);  // and on frame 10
    const Image first{160, 120, gif.rgba[0]}, last{160, 120, gif.rgba[1]};
    EXPECT_TRUE(first.DrawnNear(static_cast<int>(at0.x), static_cast<int>(at0.y)));
    EXPECT_FALSE(first.DrawnNear(static_cast<int>(at10.x), static_cast<int>(at10.y)));
    EXPECT_TRUE(last.DrawnNear(static_cast<int>(at10.x), static_cast<int>(at10.y)));
    EXPECT_FALSE(last.DrawnNear(static_cast<int>(at0.x), static_cast<int>(at0.y)));
}

TEST_F(Rendering, GifOptionsAreCheckedAndRefusalsWriteNothing) {
    const std::pair<const char*, const char*> bad[] = {
        {"\"x.gif\"", "frames A B"},
        {"\"x.png\" frames 0 4", ".gif"},
        {"\"x.png\" step 2", ".gif"},
        {"\"x.gif\" frames 5 1", "forward"},
        {"\"x.gif\" frames 0 4 step 0", "step"},
        {"\"x.gif\" size 4000 4000 frames 0 100", "too many"},
    };
    for (const auto& [options, message] : bad) {
        EXPECT_EQ(Run(std::string("new\nbone \"A\"\nrender ") + options + "\n"), 1) << options;
        EXPECT_NE(Error().find(message), std::string::npos) << Error();
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "x.gif"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "x.png"));
}

// Renders of one size share their offscreen context: whatever one render drew (another view,
// the key, a fitted close-up, an animation, the modify tool's display), the next starts from
// the state of a new context, so the same render gives the same pixels before and after.
TEST_F(Rendering, ARenderGivesTheSamePixelsWhateverTheRendersBeforeItDrew) {
    // A size no other render here uses, so that the first render below makes a new context.
    const std::string size = " size 173 131";
    const std::string same = "render \"same.png\" view persp" + size + "\n";
    ASSERT_EQ(Run("create \"Bones\" \"Biped\"\ndrag 0 0 4.88 8\nclose\nselect \"Bip01\"\nmodify \"Biped\"\n" + same),
              0) << Error();
    const Image fresh = Read("same.png");
    ASSERT_EQ(Run("render \"other.png\" view top legend" + size + "\n"
                  "render \"hand.png\" view left fit \"Bip01 R Hand\"" + size + "\n"
                  "render \"walk.gif\" view front frames 0 2" + size + "\n" + same),
              0) << Error();
    const Image again = Read("same.png");
    ASSERT_EQ(again.width, fresh.width);
    EXPECT_TRUE(again.rgba == fresh.rgba);
}

}  // namespace
}  // namespace qvapp::test
