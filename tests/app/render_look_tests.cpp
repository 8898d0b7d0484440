// The look of offscreen renders: the shaded look (the default) is supersampled, so that edges
// blend into the background, lights a bone so that its faces differ in brightness, and rims a
// selected bone in white; the flat look (`look flat`) does none of it.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "qvview/gl.h"
#include "render.h"
#include "scene_view.h"
#include "session_fixture.h"

namespace qvapp::test {
namespace {

constexpr int kBackground = 128;  // kBackgroundGrey (0.5) in 8-bit channels
constexpr int kGridLine = 97;     // the grid's grey (0.38) in 8-bit channels
// Rounding of the clear colour and of the samples' average (8-bit steps).
constexpr int kRoundingSteps = 2;
// A channel at or above this is the outline's white: no lit bone face of the test's tan reaches
// it in all three channels (its blue stays near half).
constexpr int kWhite = 230;

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    const unsigned char* At(int x, int y) const {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }
    bool IsGrey(int x, int y) const {
        const unsigned char* p = At(x, y);
        return p[0] == p[1] && p[1] == p[2];
    }
    bool IsBackground(int x, int y) const {
        const unsigned char* p = At(x, y);
        for (int c = 0; c < 3; ++c)
            if (std::abs(p[c] - kBackground) > kRoundingSteps) return false;
        return true;
    }
    bool IsWhite(int x, int y) const {
        const unsigned char* p = At(x, y);
        return p[0] >= kWhite && p[1] >= kWhite && p[2] >= kWhite;
    }
    int Brightness(int x, int y) const {
        const unsigned char* p = At(x, y);
        return p[0] + p[1] + p[2];
    }
};

class RenderLook : public SessionTest {
protected:
    Picture Read(const char* name) {
        Picture p;
        std::string error;
        EXPECT_TRUE(qv::gl::ReadPng((dir_ / name).string(), p.width, p.height, p.rgba, error)) << error;
        return p;
    }
    // The window row through the scene point, as the render frames the scene.
    int RowThrough(float x, float y, float z, int width, int height) {
        const Box box = PaddedBox(SceneBox(0), kMinFramedSize);
        qv::gl::View view(qv::gl::ViewKind::Front, width, height);
        view.Frame(box.min, box.max);
        cpoint3 w;
        view.Project(w, x, y, z);
        return static_cast<int>(w.y);
    }
    // The first and last column of the row that is not background; false when all of it is.
    static bool DrawnSpan(const Picture& p, int row, int& first, int& last) {
        first = -1;
        for (int x = 0; x < p.width; ++x)
            if (!p.IsBackground(x, row)) {
                if (first < 0) first = x;
                last = x;
            }
        return first >= 0;
    }
};

// A bone standing on z from (0, 0, 1) to (0, 0, 5), seen from the front at 400 × 400.
constexpr const char* kUprightBone = "bone \"A\" 0 0 1\nbone \"B\" 0 0 5 parent \"A\"\n";
constexpr int kSide = 400;  // pixels

TEST_F(RenderLook, ShadedGroundLinesBlendIntoTheBackgroundFlatOnesDoNot) {
    // The empty scene's grid in perspective: slanted one-pixel lines over the background.
    ASSERT_EQ(Run("render \"shaded.png\" size 320 240\nrender \"flat.png\" size 320 240 look flat\n"), 0)
        << Error();
    const Picture shaded = Read("shaded.png"), flat = Read("flat.png");
    // Greys strictly between the line's and the background's, away from the triad's corner:
    // pixels a line covers only in part.
    auto partly = [](const Picture& p) {
        int count = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = p.width / 3; x < p.width; ++x) {
                const int g = p.At(x, y)[0];
                if (p.IsGrey(x, y) && g > kGridLine + kRoundingSteps && g < kBackground - kRoundingSteps)
                    ++count;
            }
        return count;
    };
    EXPECT_EQ(partly(flat), 0);
    EXPECT_GT(partly(shaded), 200) << "a grid of ~20 slanted lines, each partly covering "
                                      "pixels along its whole length";
}

TEST_F(RenderLook, KeyLightFromTheUpperLeftMakesTheBonesLeftFacesBrighter) {
    ASSERT_EQ(Run(std::string(kUprightBone) + "render \"bone.png\" view front size 400 400\n"), 0)
        << Error();
    const Picture p = Read("bone.png");
    const int row = RowThrough(0, 0, 3, kSide, kSide);
    int first = 0, last = 0;
    ASSERT_TRUE(DrawnSpan(p, row, first, last));
    ASSERT_GT(last - first, 8) << "the bone is wide enough to have faces";
    // The front view sees two faces, split down the bone's middle; one pixel in from each edge
    // stays clear of the blended rim.
    const int left = p.Brightness(first + 2, row), right = p.Brightness(last - 2, row);
    EXPECT_GT(left, right + 60) << "left " << left << ", right " << right;
    // Each face is lit evenly across (a flat face under a directional light), so the change
    // is a step at the middle, not a blur.
    EXPECT_NEAR(p.Brightness(first + 3, row), left, 6);
    EXPECT_NEAR(p.Brightness(last - 3, row), right, 6);
}

TEST_F(RenderLook, SelectedBoneHasAWhiteRimJustOutsideItsShape) {
    ASSERT_EQ(Run(std::string(kUprightBone) + "render \"plain.png\" view front size 400 400\n"
                  "select \"A\"\nrender \"selected.png\" view front size 400 400\n"
                  "render \"flat.png\" view front size 400 400 look flat\n"), 0)
        << Error();
    const Picture plain = Read("plain.png"), selected = Read("selected.png");
    const Picture flat = Read("flat.png");
    const int row = RowThrough(0, 0, 3, kSide, kSide);
    int first = 0, last = 0;
    ASSERT_TRUE(DrawnSpan(plain, row, first, last));
    // Just outside the unselected shape, on both sides, the selected render is white; without
    // the selection nothing on the row is.
    EXPECT_TRUE(selected.IsWhite(first - 1, row));
    EXPECT_TRUE(selected.IsWhite(last + 1, row));
    for (int x = 0; x < kSide; ++x) EXPECT_FALSE(plain.IsWhite(x, row)) << x;
    // The flat look marks the selection by its edges only: nothing outside the shape.
    EXPECT_TRUE(flat.IsBackground(first - 2, row));
    EXPECT_TRUE(flat.IsBackground(last + 2, row));
}

}  // namespace
}  // namespace qvapp::test
