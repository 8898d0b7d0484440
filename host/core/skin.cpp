// Skin nodes: weighted vertices deformed by their bones, and their vertex selection.
#include "quorvane/skin.h"

#include <GL/gl.h>

#include "core_internal.h"

namespace {
// Size of drawn skin vertices (pixels).
constexpr float kSkinPointSize = 3.0f;
}

cskin::cskin() = default;
cskin::~cskin() = default;
int cskin::GetTypeID() const { return QV_TYPE_SKIN; }

int cskin::GetVert(int i, cskinvertex& v) const {
    if (i < 0 || i >= static_cast<int>(verts.size())) return 0;
    v = verts[i];
    return 1;
}

int cskin::SetVert(int i, const cskinvertex& v) {
    if (i < 0 || i >= static_cast<int>(verts.size())) return 0;
    verts[i] = v;
    if (verts[i].numWeights < 0) verts[i].numWeights = 0;
    if (verts[i].numWeights > QV_MAX_SKIN_WEIGHTS) verts[i].numWeights = QV_MAX_SKIN_WEIGHTS;
    return 1;
}

void cskin::SelectVert(int i) {
    if (i < 0 || i >= static_cast<int>(verts.size())) return;
    if (vertSel.Count() != static_cast<int>(verts.size())) {
        cbooleanarray grown(static_cast<int>(verts.size()));
        for (int k = 0; k < vertSel.Count() && k < grown.Count(); ++k) grown.Set(k, vertSel[k]);
        vertSel = grown;
    }
    vertSel.Set(i, true);
}

void cskin::SetSelection(int /*t*/, int /*level*/, const cbooleanarray& sel, int replace) {
    int n = static_cast<int>(verts.size());
    cbooleanarray next(n);
    for (int i = 0; i < n; ++i) {
        bool was = !replace && i < vertSel.Count() && vertSel[i];
        next.Set(i, was || (i < sel.Count() && sel[i]));
    }
    vertSel = next;
}

// pos = Σ value · (offset · boneWorld(t)); a vertex without live bones keeps its position.
void cskin::UpdateDeformers(int t) {
    for (cskinvertex& v : verts) {
        cpoint3 sum;
        bool any = false;
        int n = v.numWeights < QV_MAX_SKIN_WEIGHTS ? v.numWeights : QV_MAX_SKIN_WEIGHTS;
        for (int w = 0; w < n; ++w) {
            const cskinweight& cw = v.weights[w];
            if (!qv::detail::IsLive(cw.bone)) continue;
            sum += (cw.offset * cw.bone->GetNodeTM(t)) * cw.value;
            any = true;
        }
        if (any) v.pos = sum;
    }
}

// Triangles when there are faces, points otherwise; selected vertices as white points.
void cskin::Draw(int /*t*/, CGLWindow* /*view*/, unsigned /*flags*/) {
    if (GetFlags() & QV_FLAG_HIDDEN) return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POINT_BIT);
    glDisable(GL_LIGHTING);
    glColor4f(color_.r, color_.g, color_.b, color_.a);
    int n = static_cast<int>(verts.size());
    if (!triangles.empty()) {
        glBegin(GL_TRIANGLES);
        for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
            const int* face = &triangles[i];
            if (face[0] < 0 || face[0] >= n || face[1] < 0 || face[1] >= n || face[2] < 0 ||
                face[2] >= n)
                continue;  // a face naming a missing vertex is not drawn
            for (int c = 0; c < 3; ++c)
                glVertex3f(verts[face[c]].pos.x, verts[face[c]].pos.y, verts[face[c]].pos.z);
        }
        glEnd();
    }
    glPointSize(kSkinPointSize);
    glBegin(GL_POINTS);
    for (int i = 0; i < n; ++i) {
        bool sel = i < vertSel.Count() && vertSel[i];
        if (sel) glColor3f(1.0f, 1.0f, 1.0f);
        else glColor4f(color_.r, color_.g, color_.b, color_.a);
        glVertex3f(verts[i].pos.x, verts[i].pos.y, verts[i].pos.z);
    }
    glEnd();
    glPopAttrib();
}
