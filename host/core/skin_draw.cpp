// How a skin looks: its deformed mesh, lit and see-through so that the bones show, or its
// vertices as points when it has no faces; selected vertices as white points over everything.
#include <vector>

#include "core_internal.h"
#include "quorvane/skin.h"
#include "qvcore/host.h"

#include <GL/gl.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace {

// Size of the marks of selected skin vertices (pixels).
constexpr float kSelectedPointSize = 4.0f;
// Size of the points of a skin without faces (pixels).
constexpr float kVertexPointSize = 2.0f;
// A skin is drawn see-through so that the bones inside it show: its opacity (0..1).
constexpr float kSkinOpacity = 0.6f;

bool FaceInRange(const int* face, int n) {
    for (int c = 0; c < 3; ++c)
        if (face[c] < 0 || face[c] >= n) return false;
    return true;
}

cpoint3 FaceNormal(const std::vector<cpoint3>& pos, const int* face) {
    return CrossProd(pos[face[1]] - pos[face[0]], pos[face[2]] - pos[face[0]]);
}

// The flat look: one normal per face, every layer of the mesh blended in drawing order.
void DrawFaceted(const std::vector<cpoint3>& pos, const std::vector<int>& triangles) {
    const int n = static_cast<int>(pos.size());
    glDepthMask(GL_FALSE);  // the bones drawn after the skin still show through it
    glBegin(GL_TRIANGLES);
    for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
        const int* face = &triangles[i];
        if (!FaceInRange(face, n)) continue;  // a face naming a missing vertex is not drawn
        const cpoint3 normal = Normalize(FaceNormal(pos, face));
        glNormal3f(normal.x, normal.y, normal.z);
        for (int c = 0; c < 3; ++c) glVertex3f(pos[face[c]].x, pos[face[c]].y, pos[face[c]].z);
    }
    glEnd();
    glDepthMask(GL_TRUE);
}

// Each vertex's normal: the sum of its faces' normals weighted by their areas (the cross
// product's length is twice the area), made unit.
std::vector<cpoint3> VertexNormals(const std::vector<cpoint3>& pos, const std::vector<int>& triangles) {
    const int n = static_cast<int>(pos.size());
    std::vector<cpoint3> normals(pos.size(), cpoint3(0, 0, 0));
    for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
        const int* face = &triangles[i];
        if (!FaceInRange(face, n)) continue;
        const cpoint3 weighted = FaceNormal(pos, face);
        for (int c = 0; c < 3; ++c) normals[face[c]] = normals[face[c]] + weighted;
    }
    for (cpoint3& normal : normals) normal = Normalize(normal);
    return normals;
}

void SendFaces(const std::vector<cpoint3>& pos, const std::vector<int>& triangles,
               const std::vector<cpoint3>* normals) {
    const int n = static_cast<int>(pos.size());
    glBegin(GL_TRIANGLES);
    for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
        const int* face = &triangles[i];
        if (!FaceInRange(face, n)) continue;
        for (int c = 0; c < 3; ++c) {
            const cpoint3& p = pos[face[c]];
            if (normals) glNormal3f((*normals)[face[c]].x, (*normals)[face[c]].y, (*normals)[face[c]].z);
            glVertex3f(p.x, p.y, p.z);
        }
    }
    glEnd();
}

// The shaded look: normals smoothed across faces, and only the surface nearest the viewer
// blended in: a first pass lays the mesh's depth down unseen, the second draws what lies at
// that depth. The depth stays behind, so whatever is drawn inside the skin afterwards is hidden
// unless the depth buffer is cleared first (the scene draws its bones so, over its skins).
void DrawSmooth(const std::vector<cpoint3>& pos, const std::vector<int>& triangles) {
    const std::vector<cpoint3> normals = VertexNormals(pos, triangles);
    glShadeModel(GL_SMOOTH);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    SendFaces(pos, triangles, nullptr);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    SendFaces(pos, triangles, &normals);
    glDepthMask(GL_TRUE);
}

}  // namespace

void cskin::Draw(int t, CGLWindow* /*view*/, unsigned /*flags*/) {
    if (GetFlags() & QV_FLAG_HIDDEN) return;
    std::vector<cpoint3> pos;
    DeformedPositions(t, pos);
    const int n = static_cast<int>(pos.size());
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POINT_BIT | GL_LIGHTING_BIT |
                 GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT | GL_TRANSFORM_BIT);
    glColor4f(color_.r, color_.g, color_.b, color_.a * kSkinOpacity);
    if (!triangles.empty()) {
        qv::detail::SetUpLight();
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        if (qv::GetDrawLook() == qv::DrawLook::Flat) DrawFaceted(pos, triangles);
        else DrawSmooth(pos, triangles);
    } else {
        glDisable(GL_LIGHTING);
        glPointSize(kVertexPointSize);
        glBegin(GL_POINTS);
        for (const cpoint3& p : pos) glVertex3f(p.x, p.y, p.z);
        glEnd();
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);  // a selected vertex is marked even behind the mesh
    glPointSize(kSelectedPointSize);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_POINTS);
    for (int i = 0; i < n && i < vertSel.Count(); ++i)
        if (vertSel[i]) glVertex3f(pos[i].x, pos[i].y, pos[i].z);
    glEnd();
    glPopAttrib();
}
