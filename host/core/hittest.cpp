// The host's own viewport picking: every visible bone is the window-space segment from its
// position to its first child's (or a short stub along its x axis); the nearest wins.
#include <cmath>
#include <limits>

#include "core_internal.h"
#include "quorvane/callbacks.h"
#include "quorvane/interface.h"
#include "quorvane/skin.h"
#include "quorvane/view.h"

namespace {

// Length of the pick segment of a bone without children (host units).
constexpr float kEndBoneStub = 0.2f;

float DistanceToSegment(float px, float py, const cpoint3& a, const cpoint3& b) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float len2 = dx * dx + dy * dy;
    float u = len2 > 0.0f ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0.0f;
    u = std::fmax(0.0f, std::fmin(1.0f, u));
    float ex = a.x + u * dx - px, ey = a.y + u * dy - py;
    return std::sqrt(ex * ex + ey * ey);
}

// Window distance (pixels) from (x, y) to the node's pick segment.
float PickDistance(int t, CGLWindow* view, cnode* node, int x, int y) {
    cpoint3 seg[2];
    seg[0] = node->GetPosition(t);
    if (cnode* child = node->GetChild(0)) {
        seg[1] = child->GetPosition(t);
    } else {
        cpoint3 axis = Normalize(node->GetNodeTM(t).GetRow(0));
        seg[1] = seg[0] + axis * kEndBoneStub;
    }
    view->Project(seg, seg, 2);
    return DistanceToSegment(static_cast<float>(x), static_cast<float>(y), seg[0], seg[1]);
}

struct Best {
    cnode* node = nullptr;
    float distance = std::numeric_limits<float>::max();
    void Offer(cnode* n, float d) {
        if (d < distance) { node = n; distance = d; }
    }
};

bool Pickable(cnode* n) {
    return n && !(n->GetFlags() & QV_FLAG_HIDDEN) && n->GetTypeID() != QV_TYPE_SKIN;
}

// Offers the scene node, or the members it draws; a container that picks for its members
// is reported in their place.
void OfferNode(int t, CGLWindow* view, cnode* n, int x, int y, Best& best) {
    bool picksFor = n->PicksForMembers(t) != 0;
    if (n->NumMembers() > 0 && (picksFor || n->DrawsMembers(t, 0))) {
        for (int m = 0; m < n->NumMembers(); ++m) {
            cnode* member = n->GetMember(m);
            if (!Pickable(member)) continue;
            best.Offer(picksFor ? n : member, PickDistance(t, view, member, x, y));
        }
        return;
    }
    best.Offer(n, PickDistance(t, view, n, x, y));
}

}  // namespace

int Interface::HitTestObjects(int t, CGLWindow* view, int x, int y, HitTestTool& tool,
                              cbooleanarray* exclude, HitTestRes* res) {
    if (!view) return 0;
    Best best;
    const auto& nodes = qv::detail::Scene().nodes;
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i) {
        if (exclude && i < exclude->Count() && (*exclude)[i]) continue;
        if (!Pickable(nodes[i])) continue;
        OfferNode(t, view, nodes[i], x, y, best);
    }
    if (!best.node || best.distance > static_cast<float>(tool.radius)) return 0;
    if (res) {
        res->node = best.node;
        res->distance = best.distance;
    }
    return 1;
}

// A pick is one selection change: the hit node alone, or nothing when nothing was hit.
int Interface::HitTestAndSelectObjects(int t, CGLWindow* view, int x, int y, HitTestTool& tool) {
    HitTestRes res;
    int hit = HitTestObjects(t, view, x, y, tool, nullptr, &res);
    if (hit) qv::detail::ChangeSelection({res.node});
    else qv::detail::ChangeSelection({});
    return hit;
}
