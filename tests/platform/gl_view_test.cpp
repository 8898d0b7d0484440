// Views: where each named camera stands, how a framed box fills the window, and that
// projecting and unprojecting agree.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "qvplatform/gl.h"

namespace {

using qv::gl::View;
using qv::gl::ViewKind;

// Window positions are computed in floats over windows of a few hundred pixels.
constexpr float kPixelTol = 1e-3f;  // pixels
constexpr float kWorldTol = 1e-3f;  // host units, for points a few units from the origin

const cpoint3 kBoxMin{-1.0f, -1.0f, 0.0f}, kBoxMax{1.0f, 1.0f, 8.0f}, kBoxCentre{0.0f, 0.0f, 4.0f};
const ViewKind kAllKinds[] = {ViewKind::Front, ViewKind::Back, ViewKind::Left,
                              ViewKind::Right, ViewKind::Top,  ViewKind::Persp};

cpoint3 Proj(View& v, const cpoint3& p) {
    cpoint3 out;
    v.Project(out, p.x, p.y, p.z);
    return out;
}

View Framed(ViewKind kind, int w = 200, int h = 200) {
    View v(kind, w, h);
    v.Frame(kBoxMin, kBoxMax);
    return v;
}

// Screen step (right, down, deeper) of a world step from the box centre, in pixels.
cpoint3 ScreenStep(View& v, const cpoint3& step) {
    return Proj(v, kBoxCentre + step) - Proj(v, kBoxCentre);
}

TEST(ViewFrame, BoxIsCentredAndEveryCornerInsideEveryView) {
    for (ViewKind kind : kAllKinds) {
        SCOPED_TRACE(qv::gl::ViewKindName(kind));
        View v = Framed(kind, 320, 240);
        const cpoint3 c = Proj(v, kBoxCentre);
        EXPECT_NEAR(c.x, 160.0f, kPixelTol);
        EXPECT_NEAR(c.y, 120.0f, kPixelTol);
        for (float x : {kBoxMin.x, kBoxMax.x})
            for (float y : {kBoxMin.y, kBoxMax.y})
                for (float z : {kBoxMin.z, kBoxMax.z}) {
                    const cpoint3 p = Proj(v, {x, y, z});
                    EXPECT_TRUE(p.x >= 0 && p.x <= 320 && p.y >= 0 && p.y <= 240) << x << y << z;
                    EXPECT_TRUE(p.z > 0 && p.z < 1) << "clipped: " << x << " " << y << " " << z;
                }
    }
}

TEST(ViewFrame, OrthoBoxFillsTheWindowLessTheMarginWithoutStretching) {
    // A tall box in a wide window: its height is what limits the fit.
    View v = Framed(ViewKind::Front, 400, 200);
    const cpoint3 top = Proj(v, {0, 0, 8}), bottom = Proj(v, {0, 0, 0});
    EXPECT_NEAR(top.y, 200.0f * View::kFrameMargin, 1e-2f);
    EXPECT_NEAR(bottom.y, 200.0f * (1.0f - View::kFrameMargin), 1e-2f);
    EXPECT_NEAR(Proj(v, {1, 0, 4}).x - Proj(v, {0, 0, 4}).x, (bottom.y - top.y) / 8.0f, kPixelTol);
    cpoint3 pts[2] = {{0, 0, 4}, {1, 0, 4}};  // arrays project in place
    const cpoint3 expected1 = Proj(v, pts[1]);
    v.Project(pts, pts, 2);
    EXPECT_NEAR(pts[0].x, 200.0f, kPixelTol);
    EXPECT_NEAR(pts[1].x, expected1.x, kPixelTol);
}

TEST(ViewProject, AxisViewsPutTheirAxesWhereNamed) {
    // The biped faces -y: the front view sees its face with +x to the right.
    struct Case { ViewKind kind; cpoint3 rightward, up, towardCamera; };
    const Case cases[] = {
        {ViewKind::Front, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
        {ViewKind::Back, {-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {ViewKind::Left, {0, -1, 0}, {0, 0, 1}, {-1, 0, 0}},
        {ViewKind::Right, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {ViewKind::Top, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::gl::ViewKindName(c.kind));
        View v = Framed(c.kind);
        const cpoint3 right = ScreenStep(v, c.rightward), up = ScreenStep(v, c.up);
        const cpoint3 ahead = ScreenStep(v, c.towardCamera);
        EXPECT_GT(right.x, 1.0f);
        EXPECT_NEAR(right.y, 0.0f, kPixelTol);
        EXPECT_LT(up.y, -1.0f);  // window y grows downwards
        EXPECT_NEAR(up.x, 0.0f, kPixelTol);
        EXPECT_NEAR(ahead.x, 0.0f, kPixelTol);  // straight at the camera: same pixel, nearer
        EXPECT_NEAR(ahead.y, 0.0f, kPixelTol);
        EXPECT_LT(ahead.z, 0.0f);
    }
}

TEST(ViewProject, PerspStandsFrontLeftAboveAndShrinksDistantThings) {
    View v = Framed(ViewKind::Persp);
    EXPECT_LT(v.Eye().x, kBoxMin.x);
    EXPECT_LT(v.Eye().y, kBoxMin.y);
    EXPECT_GT(v.Eye().z, kBoxMax.z);
    // The same unit step looks shorter deeper in the scene.
    const cpoint3 nearStep = Proj(v, {-1, -1, 4.5f}) - Proj(v, {-1, -1, 3.5f});
    const cpoint3 farStep = Proj(v, {1, 1, 4.5f}) - Proj(v, {1, 1, 3.5f});
    EXPECT_GT(std::fabs(nearStep.y), std::fabs(farStep.y) * 1.01f);
    EXPECT_LT(Proj(v, {-1, -1, 4}).z, Proj(v, {1, 1, 4}).z);
}

TEST(ViewUnproject, InvertsProjectOnAHorizontalPlaneUnlessTheRayRunsAlongIt) {
    for (ViewKind kind : {ViewKind::Top, ViewKind::Persp}) {
        View v = Framed(kind, 256, 192);
        for (const cpoint3& p : {cpoint3{0.3f, -0.7f, 2.0f}, cpoint3{-1.0f, 1.0f, 6.5f}, cpoint3{}}) {
            const cpoint3 w = Proj(v, p);
            cpoint3 back;
            ASSERT_TRUE(v.Unproject(w.x, w.y, p.z, back)) << qv::gl::ViewKindName(kind);
            EXPECT_NEAR(Length(back - p), 0.0f, kWorldTol) << qv::gl::ViewKindName(kind);
        }
    }
    View side = Framed(ViewKind::Front);
    cpoint3 out{7, 7, 7};
    EXPECT_FALSE(side.Unproject(100, 100, 0.0f, out));
}

TEST(ViewRay, RunsFromTheEyeThroughTheProjectedPoint) {
    View v = Framed(ViewKind::Persp, 200, 150);
    const cpoint3 p{0.5f, -0.25f, 3.0f};
    const cpoint3 w = Proj(v, p);
    cpoint3 origin, dir;
    v.Ray(w.x, w.y, origin, dir);
    EXPECT_NEAR(Length(dir), 1.0f, 1e-5f);
    const float along = DotProd(p - origin, dir);
    EXPECT_GT(along, 0.0f);  // the point lies ahead of the origin
    EXPECT_NEAR(Length(p - origin - dir * along), 0.0f, kWorldTol);
    const cpoint3 fromEye = v.Eye() - origin;
    EXPECT_NEAR(Length(fromEye - dir * DotProd(fromEye, dir)), 0.0f, kWorldTol);
}

TEST(ViewKindNames, ParseAcceptsTheSixNamesInAnyCase) {
    ViewKind k = ViewKind::Front;
    ASSERT_TRUE(qv::gl::ParseViewKind("TOP", k));
    EXPECT_EQ(k, ViewKind::Top);
    for (ViewKind kind : kAllKinds) {
        ASSERT_TRUE(qv::gl::ParseViewKind(qv::gl::ViewKindName(kind), k));
        EXPECT_EQ(k, kind);
    }
    EXPECT_FALSE(qv::gl::ParseViewKind("sideways", k));
    EXPECT_EQ(k, ViewKind::Persp);  // left as it was
}

}  // namespace
