// Viewport commands: drag with the creation tool, and the transform tool's move, rotate and
// scale of the selection.
#include <algorithm>
#include <cmath>
#include <vector>

#include "commands.h"
#include "qvplatform/ui.h"
#include "quorvane/callbacks.h"
#include "quorvane/classes.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "scene_view.h"
#include "script_runner.h"
#include "tools.h"
#include "viewport_gestures.h"

namespace qvapp {
namespace {

constexpr int kMaxSteps = 100000;  // steps of one transform drag

// One press, drag and release (or stop) of the creation tool in a front view framed on the
// scene and the dragged span: pressed at the scene point p, dragged upward by height.
class CreationDrag {
public:
    CreationDrag(ccreateinterface* tool, const cpoint3& p, float height)
        : view_(FramedFront(p, height)), gesture_(tool, view_, Px(view_, p).first,
                                                  Px(view_, p).second, p) {
        const auto [x, y] = Px(view_, p + cpoint3(0, 0, height));
        gesture_.DragTo(x, y, height);
    }
    void Release() { gesture_.Release(); }
    bool Cancel() { return gesture_.Cancel(); }

private:
    static qv::gl::View FramedFront(const cpoint3& p, float height) {
        qv::gl::View view(qv::gl::ViewKind::Front, kDefaultViewWidth, kDefaultViewHeight);
        Box box = SceneBox(GetAnimTime());
        box.Add(p);
        box.Add(p + cpoint3(0, 0, height));
        box = PaddedBox(box, kMinFramedSize);
        view.Frame(box.min, box.max);
        return view;
    }
    // The pixel a scene point lands on.
    static std::pair<int, int> Px(qv::gl::View& view, const cpoint3& p) {
        cpoint3 w;
        view.Project(w, p.x, p.y, p.z);
        return {static_cast<int>(std::lround(w.x)), static_cast<int>(std::lround(w.y))};
    }
    qv::gl::View view_;
    CreationGesture gesture_;
};

// How far below the press point the lowest joint of what a drag makes lies: a trial drag at
// height 0, measured over the drawn nodes it added and cancelled with the button held, as a
// person would try a drag and take it back. False when the tool made nothing or would not
// cancel.
bool LowestJointBelowPress(ccreateinterface* tool, const cpoint3& p, float height, float& depth) {
    const int t = GetAnimTime();
    const std::vector<cnode*> before = DrawnNodes(t);
    CreationDrag trial(tool, cpoint3(p.x, p.y, 0.0f), height);
    Box made;
    for (cnode* n : DrawnNodes(t))
        if (std::find(before.begin(), before.end(), n) == before.end()) made.Add(n->GetPosition(t));
    if (!trial.Cancel()) return false;
    if (made.empty) return false;
    depth = -made.min.z;
    return true;
}

// drag X Y Z HEIGHT [ground] [cancel]: press at the scene point, drag upward by HEIGHT, release
// (or, with cancel, stop the creation while the button is still held). With ground, Z is where
// the lowest joint (the feet) ends up rather than the press point: the press is raised by as
// much as that joint lies below it.
void CmdDrag(ScriptRunner& run, Args& args) {
    cpoint3 p = args.Point("");
    float height = args.Float("height");
    bool ground = false, cancel = false;
    while (!args.AtEnd())
        (args.OneOf("option", {"ground", "cancel"}) == "ground" ? ground : cancel) = true;
    ccreateinterface* tool = run.Tools().CreateTool();
    if (!tool) args.Fail("no creation tool is open");
    if (ground) {
        float depth = 0.0f;
        if (!LowestJointBelowPress(tool, p, height, depth))
            args.Fail("ground: the creation tool made nothing to stand on the ground");
        p.z += depth;
    }
    CreationDrag drag(tool, p, height);
    cancel ? static_cast<void>(drag.Cancel()) : drag.Release();
}

int Steps(Args& args) {
    if (!args.TakeKeyword("steps")) return 1;
    int n = args.Int("steps");
    if (n < 1 || n > kMaxSteps) args.Fail("steps must be 1.." + std::to_string(kMaxSteps));
    return n;
}

void NeedSelection(Args& args) {
    if (Interface::NumSelNodes() == 0) args.Fail("nothing is selected");
}

void CmdMove(ScriptRunner&, Args& args) {
    const cpoint3 d = args.Point("");
    int steps = Steps(args);
    args.End();
    NeedSelection(args);
    TransformDrag drag(QV_XFORM_MOVE);
    for (int i = 0; i < steps; ++i) drag.Move(d / static_cast<float>(steps));
    drag.Finish();
}

void CmdRotate(ScriptRunner&, Args& args) {
    const cpoint3 axis = args.Point("axis");
    float degrees = args.Float("degrees");
    int steps = Steps(args);
    args.End();
    if (Length(axis) == 0.0f) args.Fail("the rotation axis must not be zero");
    NeedSelection(args);
    cquat step = QuatFromAngleAxis(degrees / static_cast<float>(steps), axis);
    TransformDrag drag(QV_XFORM_ROTATE);
    for (int i = 0; i < steps; ++i) drag.Rotate(step);
    drag.Finish();
}

void CmdScale(ScriptRunner&, Args& args) {
    const cpoint3 s = args.Point("");
    args.End();
    NeedSelection(args);
    TransformDrag drag(QV_XFORM_SCALE);
    drag.Scale(s);
    drag.Finish();
}

}  // namespace

void AddViewportCommands(CommandTable& table) {
    table.insert({{"drag", CmdDrag}, {"move", CmdMove}, {"rotate", CmdRotate},
                  {"scale", CmdScale}});
}

}  // namespace qvapp
