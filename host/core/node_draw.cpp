// How a bone looks: a lit, four-sided pyramid from the bone's position toward its first child
// (or along its own x axis for an end bone), in the node's colour, brighter and outlined when
// selected; and the lights every lit node draws under.
#include <algorithm>
#include <array>

#include "quorvane/node.h"
#include "qvcore/host.h"

#include "core_internal.h"

#include <GL/gl.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace {

// An end bone is this share of the distance to its parent long (host units) ...
constexpr float kEndBoneShare = 0.2f;
// ... but never shorter than this (host units).
constexpr float kEndBoneMinLength = 0.2f;
// Half-width of the pyramid's base as a share of the bone's length.
constexpr float kBaseHalfWidthShare = 0.12f;
// The base sits this share of the length along the bone (a short neck toward the joint).
constexpr float kBaseAtShare = 0.15f;
// Colour boost of a selected bone (added to each component, clamped to 1).
constexpr float kSelectedBoost = 0.35f;
// Width (pixels) of the white edges of a selected bone in the flat look.
constexpr float kOutlineWidth = 1.5f;
// Width (pixels) of the outline around a selected bone in the shaded look: the lines of its
// back faces, of which about half sticks out past the silhouette.
constexpr float kSilhouetteWidth = 5.0f;
// The outline's colour: white, which no lit bone reaches.
constexpr float kSilhouetteGrey = 1.0f;
// A side vector shorter than this (unit directions crossed) is too near parallel to use.
constexpr float kMinSideLength = 1e-4f;

struct Shape {
    cpoint3 joint, apex;
    std::array<cpoint3, 4> base;
};

// The pyramid in world coordinates: joint → square base → apex at the bone's end.
Shape BuildShape(const cpoint3& start, const cpoint3& end, const cpoint3& sideHint) {
    Shape s;
    s.joint = start;
    s.apex = end;
    cpoint3 dir = end - start;
    float len = Length(dir);
    cpoint3 d = Normalize(dir);
    cpoint3 u = CrossProd(d, sideHint);
    if (Length(u) < kMinSideLength) u = CrossProd(d, {0, 0, 1});
    if (Length(u) < kMinSideLength) u = CrossProd(d, {1, 0, 0});
    u = Normalize(u);
    cpoint3 v = CrossProd(d, u);
    cpoint3 centre = start + d * (len * kBaseAtShare);
    float w = len * kBaseHalfWidthShare;
    s.base = {centre + u * w, centre + v * w, centre - u * w, centre - v * w};
    return s;
}

void Face(const cpoint3& a, const cpoint3& b, const cpoint3& c) {
    cpoint3 n = Normalize(CrossProd(b - a, c - a));
    glNormal3f(n.x, n.y, n.z);
    glVertex3f(a.x, a.y, a.z);
    glVertex3f(b.x, b.y, b.z);
    glVertex3f(c.x, c.y, c.z);
}

void DrawSolid(const Shape& s) {
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 4; ++i) {
        const cpoint3& b0 = s.base[i];
        const cpoint3& b1 = s.base[(i + 1) % 4];
        Face(s.joint, b1, b0);
        Face(b0, b1, s.apex);
    }
    glEnd();
}

// The back faces' edges, thick, where no front face covers them: a rim around the shape.
// The faces wind counter-clockwise seen from outside.
void DrawSilhouette(const Shape& s) {
    glDisable(GL_LIGHTING);
    glColor3f(kSilhouetteGrey, kSilhouetteGrey, kSilhouetteGrey);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    glPolygonMode(GL_BACK, GL_LINE);
    glLineWidth(kSilhouetteWidth);
    glDepthFunc(GL_LEQUAL);
    DrawSolid(s);
}

void DrawOutline(const Shape& s) {
    glBegin(GL_LINES);
    for (int i = 0; i < 4; ++i) {
        const cpoint3* ends[2][2] = {{&s.joint, &s.base[i]}, {&s.base[i], &s.apex}};
        for (auto& e : ends) {
            glVertex3f(e[0]->x, e[0]->y, e[0]->z);
            glVertex3f(e[1]->x, e[1]->y, e[1]->z);
        }
        const cpoint3& b1 = s.base[(i + 1) % 4];
        glVertex3f(s.base[i].x, s.base[i].y, s.base[i].z);
        glVertex3f(b1.x, b1.y, b1.z);
    }
    glEnd();
}

}  // namespace

namespace {

qv::DrawLook g_look = qv::DrawLook::Shaded;

// A directional light fixed in eye space (x right, y up, z toward the viewer).
struct Light {
    GLfloat direction[4];  // toward the light, w = 0
    GLfloat ambient, diffuse;
};
// The flat look: one light over the viewer's shoulder, so that most faces seen are lit alike.
constexpr Light kFlatLight{{0.3f, 0.5f, 1.0f, 0.0f}, 0.35f, 0.75f};
// The shaded look: a key light from the upper left in front, and a weak fill from the lower
// right so that faces turned from the key keep some shape.
constexpr Light kKeyLight{{-0.55f, 0.7f, 0.45f, 0.0f}, 0.2f, 0.85f};
constexpr Light kFillLight{{0.6f, -0.35f, 0.3f, 0.0f}, 0.0f, 0.3f};

void Place(GLenum id, const Light& light) {
    const GLfloat ambient[4] = {light.ambient, light.ambient, light.ambient, 1.0f};
    const GLfloat diffuse[4] = {light.diffuse, light.diffuse, light.diffuse, 1.0f};
    glLightfv(id, GL_POSITION, light.direction);
    glLightfv(id, GL_AMBIENT, ambient);
    glLightfv(id, GL_DIFFUSE, diffuse);
    glEnable(id);
}

}  // namespace

void qv::SetDrawLook(DrawLook look) { g_look = look; }
qv::DrawLook qv::GetDrawLook() { return g_look; }

// The look's lights, placed with an identity modelview so that they stay fixed to the viewer
// (bones and skins).
void qv::detail::SetUpLight() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (g_look == DrawLook::Flat) {
        Place(GL_LIGHT0, kFlatLight);
        glDisable(GL_LIGHT1);
    } else {
        Place(GL_LIGHT0, kKeyLight);
        Place(GL_LIGHT1, kFillLight);
    }
    glPopMatrix();
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_NORMALIZE);
}

cpoint3 qv::BoneTip(cnode* bone, int t) {
    if (cnode* child = bone->GetChild(0)) return child->GetPosition(t);
    const cmatrix4 world = bone->GetNodeTM(t);
    const cpoint3 start = world.GetTrans();
    float len = kEndBoneMinLength;
    if (cnode* parent = bone->GetParent())
        len = std::max(kEndBoneMinLength, Length(start - parent->GetPosition(t)) * kEndBoneShare);
    return start + Normalize(world.GetRow(0)) * len;
}

// QV_DRAW_SELECTED in flags (or the node's own selected flag) draws the selected look.
void cbone::Draw(int t, CGLWindow* /*view*/, unsigned flags) {
    if (GetFlags() & QV_FLAG_HIDDEN) return;
    cmatrix4 world = GetNodeTM(t);
    cpoint3 start = world.GetTrans();
    cpoint3 end = qv::BoneTip(this, t);
    if (Length(end - start) <= 0.0f) return;
    Shape shape = BuildShape(start, end, Normalize(world.GetRow(2)));
    bool selected = (flags & QV_DRAW_SELECTED) || (GetFlags() & QV_FLAG_SELECTED);

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_LINE_BIT | GL_TRANSFORM_BIT |
                 GL_POLYGON_BIT | GL_DEPTH_BUFFER_BIT);
    qv::detail::SetUpLight();
    glEnable(GL_DEPTH_TEST);
    ccolor c = color_;
    if (selected) {
        c.r = std::min(1.0f, c.r + kSelectedBoost);
        c.g = std::min(1.0f, c.g + kSelectedBoost);
        c.b = std::min(1.0f, c.b + kSelectedBoost);
    }
    glColor4f(c.r, c.g, c.b, c.a);
    DrawSolid(shape);
    if (selected && qv::GetDrawLook() == qv::DrawLook::Shaded) {
        DrawSilhouette(shape);
    } else if (selected) {
        glDisable(GL_LIGHTING);
        glColor3f(1.0f, 1.0f, 1.0f);
        glLineWidth(kOutlineWidth);
        DrawOutline(shape);
    }
    glPopAttrib();
}
