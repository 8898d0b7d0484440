// Drawing the scene offscreen with OpenGL and writing the picture.
#include "render.h"

#include <algorithm>
#include <cmath>

#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "scene_view.h"
#include "tools.h"

#include <GL/gl.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace qvapp {
namespace {

constexpr float kGridSpacing = 1.0f;      // host units between grid lines
constexpr float kGridMargin = 2.0f;       // host units the grid reaches beyond the scene
constexpr int kMaxGridLines = 400;        // per direction, so that huge scenes stay cheap
constexpr float kGridGrey = 0.38f;        // grey (0..1) of the grid lines

void SetUpLighting() {
    const GLfloat ambient[] = {0.35f, 0.35f, 0.35f, 1.0f};
    const GLfloat diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat direction[] = {0.3f, -0.5f, 1.0f, 0.0f};  // a directional light from above
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_NORMALIZE);
}

// Grid lines on z = 0 every kGridSpacing, covering the framed box.
void DrawGrid(const Box& box) {
    float extent = kGridMargin;
    for (int i = 0; i < 2; ++i)
        extent = std::max({extent, std::fabs(box.min[i]) + kGridMargin,
                           std::fabs(box.max[i]) + kGridMargin});
    int half = std::min(static_cast<int>(std::ceil(extent / kGridSpacing)), kMaxGridLines / 2);
    float reach = half * kGridSpacing;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glColor3f(kGridGrey, kGridGrey, kGridGrey);
    glBegin(GL_LINES);
    for (int i = -half; i <= half; ++i) {
        float v = i * kGridSpacing;
        glVertex3f(v, -reach, 0.0f);
        glVertex3f(v, reach, 0.0f);
        glVertex3f(-reach, v, 0.0f);
        glVertex3f(reach, v, 0.0f);
    }
    glEnd();
    glPopAttrib();
}

void DrawNodes(int t, qv::gl::View& view) {
    for (int i = 0; i < Interface::NumNodes(); ++i) {
        cnode* n = Interface::GetNodeAt(i);
        if (!n || (n->GetFlags() & QV_FLAG_HIDDEN)) continue;
        unsigned flags = (n->GetFlags() & QV_FLAG_SELECTED) ? QV_DRAW_SELECTED : 0u;
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        n->Draw(t, &view, flags);
        glPopAttrib();
    }
}

}  // namespace

bool RenderScene(const RenderRequest& request, ToolManager& tools, std::string& error) {
    const int t = request.frame;
    cnode* fitted = nullptr;
    if (!request.fit.empty() && !(fitted = FindDrawnNode(request.fit.c_str(), t))) {
        error = "cannot fit \"" + request.fit + "\": no such node is drawn";
        return false;
    }
    qv::gl::OffscreenContext context(request.width, request.height);
    if (!context.Ok()) {
        error = "cannot render: " + context.Error();
        return false;
    }
    context.MakeCurrent();
    const Box box = fitted ? FitBox(fitted, t) : PaddedBox(SceneBox(t), kMinFramedSize);
    qv::gl::View view(request.view, request.width, request.height);
    view.Frame(box.min, box.max);

    glViewport(0, 0, request.width, request.height);
    glClearColor(kBackgroundGrey, kBackgroundGrey, kBackgroundGrey, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    view.Apply();
    glEnable(GL_DEPTH_TEST);
    SetUpLighting();
    DrawGrid(box);
    DrawNodes(t, view);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    tools.Display(t, &view);
    glPopAttrib();
    glFinish();

    std::vector<unsigned char> pixels = context.ReadPixels();
    if (!qv::gl::WritePng(request.path, request.width, request.height, pixels, error)) {
        error = "cannot write " + request.path + (error.empty() ? "" : ": " + error);
        return false;
    }
    return true;
}

}  // namespace qvapp
