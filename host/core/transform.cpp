// The host's own transform of the selection at the current time: one undo level per drag
// (StartTransform .. EndTransform) holding every track the drag changed, each step followed by
// the scene-changed event.
#include <algorithm>

#include "core_internal.h"
#include "qvcore/host.h"
#include "quorvane/callbacks.h"
#include "quorvane/interface.h"
#include "quorvane/undo.h"

namespace {

// Undo item of a host transform: its name only. The level keeps every track the drag changes
// (the undo manager's watch of an open level), the selection's and those that tools change
// from their callbacks and notifications on the way.
class TransformUndo : public UndoItem {
public:
    explicit TransformUndo(const char* name) {
        SetName(name);
        SetTime(GetAnimTime());
    }
    int Restore() override { return 1; }
    int HasData() override { return 1; }
};

const char* TransformName(int type) {
    switch (type) {
        case QV_XFORM_MOVE: case QV_XFORM_TYPED_MOVE: return "Move";
        case QV_XFORM_ROTATE: case QV_XFORM_TYPED_ROTATE: return "Rotate";
        default: return "Scale";
    }
}

bool HasSelectedAncestor(const cnode* n, const std::vector<cnode*>& sel) {
    for (const cnode* a = n->GetParent(); a; a = a->GetParent())
        if (std::find(sel.begin(), sel.end(), a) != sel.end()) return true;
    return false;
}

// The selected nodes that move by themselves: a node whose ancestor is selected already
// follows it, so transforming it too would apply the step twice.
std::vector<cnode*> TopSelected() {
    const auto& sel = qv::detail::Scene().selection;
    std::vector<cnode*> out;
    for (cnode* n : sel)
        if (qv::detail::IsLive(n) && !HasSelectedAncestor(n, sel)) out.push_back(n);
    return out;
}

void StepDone() { Interface::SceneChanged(1); }

}  // namespace

// A drag over an empty selection changes nothing and leaves no undo level.
void Interface::StartTransform(int type) {
    if (qv::detail::Scene().selection.empty()) return;
    theUndo.BeginGeneric(new TransformUndo(TransformName(type)));
}

void Interface::EndTransform(int /*type*/) {
    theUndo.End();
    UpdateViews();
}

void Interface::Move(cpoint3 delta, int /*axisMode*/, float /*amount*/) {
    int t = GetAnimTime();
    for (cnode* n : TopSelected()) n->SetPosition(t, n->GetPosition(t) + delta);
    StepDone();
}

// Each node turns about its own position: world' = world × q.
void Interface::Rotate(cquat q) {
    int t = GetAnimTime();
    for (cnode* n : TopSelected()) n->SetRotation(t, Normalize(n->GetRotation(t) * q));
    StepDone();
}

void Interface::Scale(cpoint3 s) {
    int t = GetAnimTime();
    for (cnode* n : TopSelected()) {
        cpoint3 cur = n->GetScale(t);
        n->SetScale(t, {cur.x * s.x, cur.y * s.y, cur.z * s.z});
    }
    StepDone();
}

void Interface::SetPosition(cpoint3 p, int /*axisMode*/, int absolute, float /*amount*/) {
    int t = GetAnimTime();
    for (cnode* n : TopSelected()) n->SetPosition(t, absolute ? p : n->GetPosition(t) + p);
    StepDone();
}

// Absolute: world' = EulerToQuat(eulerDeg); relative: world' = world × EulerToQuat(eulerDeg).
void Interface::SetRotation(cpoint3 eulerDeg, int absolute) {
    int t = GetAnimTime();
    cquat q = EulerToQuat(eulerDeg);
    for (cnode* n : TopSelected())
        n->SetRotation(t, absolute ? q : Normalize(n->GetRotation(t) * q));
    StepDone();
}

void Interface::SetScale(cpoint3 s, int absolute) {
    if (!absolute) {
        Scale(s);
        return;
    }
    int t = GetAnimTime();
    for (cnode* n : TopSelected()) n->SetScale(t, s);
    StepDone();
}
