// Scene bounds and node lookup for the headless viewport.
#include "scene_view.h"

#include <algorithm>
#include <cstring>

#include "finite.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"
#include "qvcore/host.h"

namespace qvapp {

void Box::Add(const cpoint3& p) {
    if (!IsFinite(p)) return;
    if (empty) {
        min = max = p;
        empty = false;
        return;
    }
    for (int i = 0; i < 3; ++i) {
        min[i] = std::min(min[i], p[i]);
        max[i] = std::max(max[i], p[i]);
    }
}

std::vector<cnode*> DrawnNodes(int t) {
    std::vector<cnode*> nodes;
    for (int i = 0; i < Interface::NumNodes(); ++i) {
        cnode* n = Interface::GetNodeAt(i);
        if (!n || (n->GetFlags() & QV_FLAG_HIDDEN)) continue;
        nodes.push_back(n);
        if (n->DrawsMembers(t, 0))
            for (int m = 0; m < n->NumMembers(); ++m)
                if (cnode* member = n->GetMember(m)) nodes.push_back(member);
    }
    return nodes;
}

cnode* FindDrawnNode(const char* name, int t) {
    if (cnode* n = Interface::FindNode(name)) return n;
    for (cnode* n : DrawnNodes(t))
        if (n->GetName() && std::strcmp(n->GetName(), name) == 0) return n;
    return nullptr;
}

Box SceneBox(int t) {
    Box box;
    for (cnode* n : DrawnNodes(t)) {
        box.Add(n->GetPosition(t));
        if (n->GetTypeID() == QV_TYPE_SKIN) {
            auto* skin = static_cast<cskin*>(n);
            for (const cskinvertex& v : skin->verts) box.Add(v.pos);
        }
    }
    return box;
}

Box PaddedBox(Box box, float minSize) {
    if (box.empty) box.Add(cpoint3(0, 0, 0));
    for (int i = 0; i < 3; ++i) {
        float size = box.max[i] - box.min[i];
        if (size < minSize) {
            float grow = 0.5f * (minSize - size);
            box.min[i] -= grow;
            box.max[i] += grow;
        }
    }
    return box;
}

Box SubtreeBox(cnode* node, int t) {
    Box box;
    std::vector<cnode*> pending{node};
    while (!pending.empty()) {
        cnode* n = pending.back();
        pending.pop_back();
        box.Add(n->GetPosition(t));
        if (n->GetTypeID() == QV_TYPE_BONE) box.Add(qv::BoneTip(n, t));  // end bones' stubs too
        for (int i = 0; i < n->NumChildren(); ++i)
            if (cnode* child = n->GetChild(i)) pending.push_back(child);
    }
    return box;
}

Box FitBox(cnode* node, int t) {
    const Box scene = PaddedBox(SceneBox(t), kMinFramedSize);
    float largest = 0.0f;
    for (int i = 0; i < 3; ++i) largest = std::max(largest, scene.max[i] - scene.min[i]);
    return PaddedBox(SubtreeBox(node, t), kMinFitShare * largest);
}

cpoint3 ClickPoint(cnode* node, int t) {
    cpoint3 p = node->GetPosition(t);
    if (node->NumChildren() > 0 && node->GetChild(0))
        return (p + node->GetChild(0)->GetPosition(t)) * 0.5f;
    return p;
}

}  // namespace qvapp
