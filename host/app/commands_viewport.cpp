// Viewport commands: drag with the creation tool, and the transform tool's move, rotate and
// scale of the selection.
#include <cmath>

#include "commands.h"
#include "qvplatform/ui.h"
#include "quorvane/callbacks.h"
#include "quorvane/classes.h"
#include "quorvane/interface.h"
#include "scene_view.h"
#include "script_runner.h"
#include "tools.h"

namespace qvapp {
namespace {

constexpr int kMaxSteps = 100000;  // steps of one transform drag

// drag X Y Z HEIGHT [cancel]: press at the scene point, drag upward by HEIGHT, release (or, with
// cancel, stop the creation while the button is still held).
void CmdDrag(ScriptRunner& run, Args& args) {
    const cpoint3 p = args.Point("");
    float height = args.Float("height");
    bool cancel = args.TakeKeyword("cancel");
    args.End();
    ccreateinterface* tool = run.Tools().CreateTool();
    if (!tool) args.Fail("no creation tool is open");

    const int t = GetAnimTime();
    Box box = SceneBox(t);
    box.Add(p);
    box.Add(p + cpoint3(0, 0, height));
    box = PaddedBox(box, kMinFramedSize);
    qv::gl::View view(qv::gl::ViewKind::Front, kDefaultViewWidth, kDefaultViewHeight);
    view.Frame(box.min, box.max);
    cpoint3 start, end;
    view.Project(start, p.x, p.y, p.z);
    view.Project(end, p.x, p.y, p.z + height);
    const int x0 = static_cast<int>(std::lround(start.x)), y0 = static_cast<int>(std::lround(start.y));
    const int x = static_cast<int>(std::lround(end.x)), y = static_cast<int>(std::lround(end.y));

    qv::ui::SetLeftButtonDown(true);
    tool->BeginDrag(&view, x0, y0, p.x, p.y, p.z, 0, 0, 0, 0, 0, 0);
    tool->Drag(&view, x, y, x0, y0, p.x, p.y, p.z, height, 0);
    if (cancel) {
        tool->Stop(&view, x, y, x0, y0, p.x, p.y, p.z, height, 0);
        qv::ui::SetLeftButtonDown(false);
    } else {
        qv::ui::SetLeftButtonDown(false);
        tool->EndDrag(&view, x, y, x0, y0, p.x, p.y, p.z, height, 0);
    }
}

// One drag of the host's transform tool, through the installed callback when there is one.
class TransformDrag {
public:
    explicit TransformDrag(int type) : type_(type) {
        TransformCallback* cb = Interface::GetTransformCallback();
        cb_ = (cb && cb->IsEnabled()) ? cb : nullptr;
        cb_ ? cb_->StartTransform(type_) : Interface::StartTransform(type_);
    }
    void Move(const cpoint3& d) { cb_ ? cb_->Move(d, 0, 0.0f) : Interface::Move(d, 0, 0.0f); }
    void Rotate(const cquat& q) { cb_ ? cb_->Rotate(q) : Interface::Rotate(q); }
    void Scale(const cpoint3& s) { cb_ ? cb_->Scale(s) : Interface::Scale(s); }
    void Finish() {
        cb_ ? cb_->EndTransform(type_) : Interface::EndTransform(type_);
        Interface::SceneChanged(1);
    }
private:
    int type_;
    TransformCallback* cb_ = nullptr;
};

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
