// Views: where each named camera stands, how a framed box fills the window, and that
// projecting, unprojecting, the GL matrices and the 2-D overlay mode all agree.
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

const cpoint3 kBoxMin{-1.0f, -1.0f, 0.0f};
const cpoint3 kBoxMax{1.0f, 1.0f, 8.0f};
const cpoint3 kBoxCentre{0.0f, 0.0f, 4.0f};

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

TEST(ViewProject, BoxCentreLandsAtWindowCentreInEveryView) {
    for (ViewKind kind : {ViewKind::Front, ViewKind::Back, ViewKind::Left, ViewKind::Right,
                          ViewKind::Top, ViewKind::Persp}) {
        View v = Framed(kind, 300, 200);
        const cpoint3 c = Proj(v, kBoxCentre);
        EXPECT_NEAR(c.x, 150.0f, kPixelTol) << qv::gl::ViewKindName(kind);
        EXPECT_NEAR(c.y, 100.0f, kPixelTol) << qv::gl::ViewKindName(kind);
        EXPECT_GT(c.z, 0.0f);
        EXPECT_LT(c.z, 1.0f);
    }
}

// Screen direction (right, down) of a world step from the centre, in pixels.
cpoint3 ScreenStep(View& v, const cpoint3& step) {
    return Proj(v, kBoxCentre + step) - Proj(v, kBoxCentre);
}

TEST(ViewProject, FrontSeesTheFaceWithXRightAndZUp) {
    View v = Framed(ViewKind::Front);
    const cpoint3 right = ScreenStep(v, {1, 0, 0});
    EXPECT_GT(right.x, 1.0f);
    EXPECT_NEAR(right.y, 0.0f, kPixelTol);
    const cpoint3 up = ScreenStep(v, {0, 0, 1});
    EXPECT_LT(up.y, -1.0f);  // window y grows downwards
    EXPECT_NEAR(up.x, 0.0f, kPixelTol);
    // The biped faces -y: a point in front of it is nearer the camera (smaller depth).
    const cpoint3 ahead = ScreenStep(v, {0, -1, 0});
    EXPECT_NEAR(ahead.x, 0.0f, kPixelTol);
    EXPECT_NEAR(ahead.y, 0.0f, kPixelTol);
    EXPECT_LT(ahead.z, 0.0f);
    EXPECT_LT(v.Eye().y, kBoxMin.y);
}

TEST(ViewProject, AxisViewsPutTheirAxesWhereNamed) {
    struct Case { ViewKind kind; cpoint3 rightward; cpoint3 towardCamera; };
    const Case cases[] = {
        {ViewKind::Back, {-1, 0, 0}, {0, 1, 0}},
        {ViewKind::Left, {0, -1, 0}, {-1, 0, 0}},
        {ViewKind::Right, {0, 1, 0}, {1, 0, 0}},
        {ViewKind::Top, {1, 0, 0}, {0, 0, 1}},
    };
    for (const Case& c : cases) {
        View v = Framed(c.kind);
        const char* name = qv::gl::ViewKindName(c.kind);
        const cpoint3 right = ScreenStep(v, c.rightward);
        EXPECT_GT(right.x, 1.0f) << name;
        EXPECT_NEAR(right.y, 0.0f, kPixelTol) << name;
        EXPECT_LT(ScreenStep(v, c.towardCamera).z, 0.0f) << name;
    }
    View top = Framed(ViewKind::Top);
    EXPECT_LT(ScreenStep(top, {0, 1, 0}).y, -1.0f);  // +y points up the screen from above
    View side = Framed(ViewKind::Left);
    EXPECT_LT(ScreenStep(side, {0, 0, 1}).y, -1.0f);
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

TEST(ViewFrame, OrthoBoxFillsTheWindowLessTheMargin) {
    // A tall box in a wide window: its height is what limits the fit.
    View v = Framed(ViewKind::Front, 400, 200);
    const float margin = View::kFrameMargin;
    const cpoint3 top = Proj(v, {0, 0, 8}), bottom = Proj(v, {0, 0, 0});
    EXPECT_NEAR(top.y, 200.0f * margin, 1e-2f);
    EXPECT_NEAR(bottom.y, 200.0f * (1.0f - margin), 1e-2f);
    // No stretching: one unit across is as many pixels as one unit up.
    const float perUnitUp = (bottom.y - top.y) / 8.0f;
    const float perUnitAcross = Proj(v, {1, 0, 4}).x - Proj(v, {0, 0, 4}).x;
    EXPECT_NEAR(perUnitAcross, perUnitUp, kPixelTol);
}

TEST(ViewFrame, EveryCornerInsideEveryView) {
    for (ViewKind kind : {ViewKind::Front, ViewKind::Back, ViewKind::Left, ViewKind::Right,
                          ViewKind::Top, ViewKind::Persp}) {
        View v = Framed(kind, 320, 240);
        for (float x : {kBoxMin.x, kBoxMax.x})
            for (float y : {kBoxMin.y, kBoxMax.y})
                for (float z : {kBoxMin.z, kBoxMax.z}) {
                    const cpoint3 p = Proj(v, {x, y, z});
                    EXPECT_GE(p.x, 0.0f) << qv::gl::ViewKindName(kind);
                    EXPECT_LE(p.x, 320.0f) << qv::gl::ViewKindName(kind);
                    EXPECT_GE(p.y, 0.0f) << qv::gl::ViewKindName(kind);
                    EXPECT_LE(p.y, 240.0f) << qv::gl::ViewKindName(kind);
                    EXPECT_GT(p.z, 0.0f) << qv::gl::ViewKindName(kind);  // not clipped
                    EXPECT_LT(p.z, 1.0f) << qv::gl::ViewKindName(kind);
                }
    }
}

TEST(ViewFrame, ProjectsArraysInPlace) {
    View v = Framed(ViewKind::Top);
    cpoint3 pts[2] = {{0, 0, 4}, {1, 0, 4}};
    const cpoint3 expected1 = Proj(v, pts[1]);
    v.Project(pts, pts, 2);
    EXPECT_NEAR(pts[0].x, 100.0f, kPixelTol);
    EXPECT_NEAR(pts[1].x, expected1.x, kPixelTol);
}

TEST(ViewUnproject, InvertsProjectOnAHorizontalPlane) {
    for (ViewKind kind : {ViewKind::Top, ViewKind::Persp}) {
        View v = Framed(kind, 256, 192);
        for (const cpoint3& p : {cpoint3{0.3f, -0.7f, 2.0f}, cpoint3{-1.0f, 1.0f, 6.5f},
                                 cpoint3{0.0f, 0.0f, 0.0f}}) {
            const cpoint3 w = Proj(v, p);
            cpoint3 back;
            ASSERT_TRUE(v.Unproject(w.x, w.y, p.z, back)) << qv::gl::ViewKindName(kind);
            EXPECT_NEAR(back.x, p.x, kWorldTol) << qv::gl::ViewKindName(kind);
            EXPECT_NEAR(back.y, p.y, kWorldTol) << qv::gl::ViewKindName(kind);
            EXPECT_NEAR(back.z, p.z, kWorldTol) << qv::gl::ViewKindName(kind);
        }
    }
}

TEST(ViewUnproject, SideViewRayRunsAlongHorizontalPlanes) {
    View v = Framed(ViewKind::Front);
    cpoint3 out{7, 7, 7};
    EXPECT_FALSE(v.Unproject(100, 100, 0.0f, out));
}

TEST(ViewRay, PassesThroughTheProjectedPoint) {
    View v = Framed(ViewKind::Persp, 200, 150);
    const cpoint3 p{0.5f, -0.25f, 3.0f};
    const cpoint3 w = Proj(v, p);
    cpoint3 origin, dir;
    v.Ray(w.x, w.y, origin, dir);
    EXPECT_NEAR(std::sqrt(dir.x * dir.x + dir.y * dir.y + dir.z * dir.z), 1.0f, 1e-5f);
    const cpoint3 d = p - origin;
    const float along = d.x * dir.x + d.y * dir.y + d.z * dir.z;
    EXPECT_GT(along, 0.0f);  // the point lies ahead of the origin
    const cpoint3 off = d - dir * along;
    EXPECT_NEAR(std::sqrt(off.x * off.x + off.y * off.y + off.z * off.z), 0.0f, kWorldTol);
    // A perspective ray starts on the line from the camera through the point.
    const cpoint3 fromEye = v.Eye() - origin;
    const cpoint3 eyeOff = fromEye - dir * (fromEye.x * dir.x + fromEye.y * dir.y + fromEye.z * dir.z);
    EXPECT_NEAR(std::sqrt(eyeOff.x * eyeOff.x + eyeOff.y * eyeOff.y + eyeOff.z * eyeOff.z), 0.0f,
                kWorldTol);
}

TEST(ViewKindNames, ParseAcceptsTheSixNamesInAnyCase) {
    ViewKind k = ViewKind::Front;
    ASSERT_TRUE(qv::gl::ParseViewKind("TOP", k));
    EXPECT_EQ(k, ViewKind::Top);
    ASSERT_TRUE(qv::gl::ParseViewKind("persp", k));
    EXPECT_EQ(k, ViewKind::Persp);
    for (ViewKind kind : {ViewKind::Front, ViewKind::Back, ViewKind::Left, ViewKind::Right,
                          ViewKind::Top, ViewKind::Persp}) {
        ViewKind parsed = ViewKind::Top;
        ASSERT_TRUE(qv::gl::ParseViewKind(qv::gl::ViewKindName(kind), parsed));
        EXPECT_EQ(parsed, kind);
    }
    k = ViewKind::Left;
    EXPECT_FALSE(qv::gl::ParseViewKind("sideways", k));
    EXPECT_EQ(k, ViewKind::Left);  // left as it was
}

}  // namespace
