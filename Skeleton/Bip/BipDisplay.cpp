// The modify tool's viewport overlays (the root's path through its keys while the root is moved
// as a whole animation, a cross at every anchor point) and its hit-test callback.
#include "Skeleton/Bip/BipDisplay.h"

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "quorvane/anim.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/util.h"
#include "quorvane/view.h"

#include <GL/gl.h>  // after the host headers: their Windows subset defines APIENTRY first

namespace {

const char kSource[] = "Skeleton/Bip";
constexpr float kKeyPointSize = 4.0f;      // pixels, the root path's key points
constexpr float kAnchorHalfStroke = 20.0f;  // window units each side of an anchor's point
constexpr GLbitfield kOverlayAttribs =
    GL_POINT_BIT | GL_LINE_BIT | GL_POLYGON_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT;

// Anchors in the order of anchorOn: right foot, left foot, right hand, left hand.
bool IsRightAnchor(int k) { return k == 0 || k == 2; }

bool AnyAnchorOn(const cbipanim& tool) {
    for (int k = 0; k < cbipanim::kNumAnchors; ++k)
        if (tool.anchorOn[k]) return true;
    return false;
}

bool ShowsRootPath(const cbipanim& tool) {
    return tool.selSlot == kSlotRoot && tool.animTransform == 1 && tool.bones[kSlotRoot] != nullptr;
}

// Capabilities switched off so that the overlays are flat, opaque and over all geometry.
void DisableSceneState() {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DITHER);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
}

// The root's positions at its keys inside the animation range, in key order; the walk skips
// keys before the start and ends at the first key after the end. The array holds room for
// every key and the caller releases it with array_delete.
cpoint3* RootPathPoints(cnode* root, int& count) {
    const int start = Interface::GetAnimStart();
    const int end = Interface::GetAnimEnd();
    const int numKeys = root->anim.NumKeys();
    auto* points = static_cast<cpoint3*>(array_new(sizeof(cpoint3), numKeys));
    count = 0;
    for (int i = 0; i < numKeys; ++i) {
        ckey key;
        if (!root->anim.GetKeyAt(i, key)) break;
        if (key.time < start) continue;
        if (key.time > end) break;
        if (!array_assert(count, numKeys, kSource, __LINE__)) break;
        points[count++] = root->GetPosition(key.time);
    }
    return points;
}

// The root's path in world coordinates, then its key points in window coordinates, in blue.
void DrawRootPath(cnode* root, CGLWindow* win) {
    int count = 0;
    cpoint3* points = RootPathPoints(root, count);

    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_LINES);
    for (int i = 1; i < count; ++i) {
        glVertex3f(points[i - 1].x, points[i - 1].y, points[i - 1].z);
        glVertex3f(points[i].x, points[i].y, points[i].z);
    }
    glEnd();

    win->Begin2D();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPointSize(kKeyPointSize);
    glColor3f(0.0f, 0.0f, 1.0f);
    if (count > 0) win->Project(points, points, count);
    glBegin(GL_POINTS);
    for (int i = 0; i < count; ++i) glVertex3f(points[i].x, points[i].y, points[i].z);
    glEnd();
    win->End2D();
    array_delete(points);
}

// A vertical and a horizontal stroke through each anchored point, in its side's colour.
void DrawAnchorCrosses(const cbipanim& tool, CGLWindow* win) {
    win->Begin2D();
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glBegin(GL_LINES);
    for (int k = 0; k < cbipanim::kNumAnchors; ++k) {
        if (!tool.anchorOn[k]) continue;
        const ccolor& c = IsRightAnchor(k) ? rightColour : leftColour;
        glColor3f(c.r, c.g, c.b);
        cpoint3 s;
        win->Project(s, tool.anchorPos[k].x, tool.anchorPos[k].y, tool.anchorPos[k].z);
        glVertex3f(s.x, s.y - kAnchorHalfStroke, s.z);
        glVertex3f(s.x, s.y + kAnchorHalfStroke, s.z);
        glVertex3f(s.x - kAnchorHalfStroke, s.y, s.z);
        glVertex3f(s.x + kAnchorHalfStroke, s.y, s.z);
    }
    glEnd();
    win->End2D();
}

bool IsOneOfBones(const cbipanim& tool, const cnode* node) {
    for (const cnode* bone : tool.bones)
        if (bone == node) return true;
    return false;
}

}  // namespace

void cbipanim::Display(int /*t*/, CGLWindow* win, unsigned /*flags*/) {
    const bool anchors = AnyAnchorOn(*this);
    const bool rootPath = ShowsRootPath(*this);
    if (win == nullptr || (!anchors && !rootPath)) return;

    glPushAttrib(kOverlayAttribs);
    DisableSceneState();
    if (rootPath) DrawRootPath(bones[kSlotRoot], win);
    if (anchors) DrawAnchorCrosses(*this, win);
    glPopAttrib();
}

// --- hit-test callback --------------------------------------------------------------------

int HitTestBip::IsEnabled() { return 1; }
void HitTestBip::Reset() {}

int HitTestBip::HitTest(int t, CGLWindow* view, int x, int y, int /*flags*/, HitTestTool& tool,
                        cbooleanarray* exclude, HitTestRes* res) {
    return Interface::HitTestObjects(t, view, x, y, tool, exclude, res);
}

int HitTestBip::HitTestAndSelect(int t, CGLWindow* view, int x, int y, int /*flags*/,
                                 HitTestTool& tool) {
    const int hit = Interface::HitTestAndSelectObjects(t, view, x, y, tool);
    if (owner == nullptr) return hit;
    owner->keepBinding = 0;
    cnode* selected = Interface::GetSelNode();
    if (selected != nullptr && IsOneOfBones(*owner, selected)) owner->keepBinding = 1;
    return hit;
}
