// A view drawing into a context: the GL matrices it loads put world points where Project
// says, and the 2-D overlay mode puts window coordinates on the same pixels and depths.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "qvplatform/gl.h"

namespace {

using qv::gl::View;
using qv::gl::ViewKind;

constexpr int kW = 120, kH = 90;
// A 24-bit depth buffer stores depth in steps of 2^-24; rasterisation adds a few steps.
constexpr float kDepthTol = 1e-5f;

struct Hit { int x = -1, y = -1, count = 0; };

// The lit pixels (red channel set) of a top-row-first RGBA image.
Hit FindRed(const std::vector<unsigned char>& px) {
    Hit h;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (px[(static_cast<size_t>(y) * kW + x) * 4] > 128) {
                h.x = x;
                h.y = y;
                ++h.count;
            }
    return h;
}

void Clear() {
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void DrawPoint(float x, float y, float z) {
    glColor3f(1, 0, 0);
    glBegin(GL_POINTS);
    glVertex3f(x, y, z);
    glEnd();
}

class ViewDrawing : public ::testing::TestWithParam<ViewKind> {
protected:
    void SetUp() override {
        ASSERT_TRUE(ctx_.Ok()) << ctx_.Error();
        view_.Frame({-1, -1, 0}, {1, 1, 8});
        glPointSize(1.0f);
    }
    qv::gl::OffscreenContext ctx_{kW, kH};
    View view_{GetParam(), kW, kH};
};

// Points chosen off the pixel grid's edges, so each projects well inside one pixel.
const cpoint3 kPoints[] = {{0.31f, -0.2f, 2.27f}, {-0.77f, 0.4f, 6.61f}, {0.05f, 0.9f, 4.43f}};

// A world point drawn through the view's matrices and the same point drawn in window
// coordinates through the overlay mode land on the projected pixel at the projected depth.
TEST_P(ViewDrawing, WorldAndOverlayPointsLandOnTheProjectedPixelAndDepth) {
    glEnable(GL_DEPTH_TEST);
    for (const cpoint3& p : kPoints) {
        cpoint3 w;
        view_.Project(w, p.x, p.y, p.z);
        for (bool overlay : {false, true}) {
            SCOPED_TRACE(overlay ? "overlay" : "world");
            Clear();
            view_.Apply();
            if (overlay) view_.Begin2D();
            overlay ? DrawPoint(w.x, w.y, w.z) : DrawPoint(p.x, p.y, p.z);
            if (overlay) view_.End2D();
            const Hit h = FindRed(ctx_.ReadPixels());
            ASSERT_EQ(h.count, 1);
            EXPECT_EQ(h.x, static_cast<int>(std::floor(w.x)));
            EXPECT_EQ(h.y, static_cast<int>(std::floor(w.y)));
            float depth = -1.0f;
            glReadPixels(h.x, kH - 1 - h.y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
            EXPECT_NEAR(depth, w.z, kDepthTol);
        }
    }
}

TEST_P(ViewDrawing, End2DRestoresTheViewMatrices) {
    view_.Apply();
    view_.Begin2D();
    view_.End2D();
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    float modelview[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const float* viewM = &view_.ViewMatrix().m[0][0];
    const float* projM = &view_.ProjectionMatrix().m[0][0];
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(modelview[i], viewM[i]) << i;
        EXPECT_FLOAT_EQ(projection[i], projM[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(NamedViews, ViewDrawing,
                         ::testing::Values(ViewKind::Front, ViewKind::Left, ViewKind::Top,
                                           ViewKind::Persp),
                         [](const ::testing::TestParamInfo<ViewKind>& info) {
                             return std::string(qv::gl::ViewKindName(info.param));
                         });

}  // namespace
