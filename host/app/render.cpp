// Drawing the scene offscreen with OpenGL and writing the picture.
#include "render.h"

#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "render_grid.h"
#include "scene_view.h"
#include "tools.h"

#include <GL/gl.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace qvapp {
namespace {

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
    qv::gl::OffscreenContext context(request.width, request.height);
    if (!context.Ok()) {
        error = "cannot render: " + context.Error();
        return false;
    }
    context.MakeCurrent();
    const int t = request.frame;
    Box box = PaddedBox(SceneBox(t), kMinFramedSize);
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
    // The error names the path.
    return qv::gl::WritePng(request.path, request.width, request.height, pixels, error);
}

}  // namespace qvapp
