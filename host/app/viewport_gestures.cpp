// Viewport gestures: the creation tool's drag, the transform tool's drag and the pick of a
// click, each reaching the tool exactly as a mouse in the viewport does.
#include "viewport_gestures.h"

#include "qvplatform/ui.h"
#include "quorvane/callbacks.h"
#include "quorvane/classes.h"
#include "quorvane/interface.h"
#include "tools.h"

namespace qvapp {

CreationGesture::CreationGesture(ccreateinterface* tool, qv::gl::View& view, int x0, int y0,
                                 const cpoint3& p)
    : tool_(tool), view_(view), p_(p), x0_(x0), y0_(y0), x_(x0), y_(y0) {
    qv::ui::SetLeftButtonDown(true);
    tool_->BeginDrag(&view_, x0_, y0_, p.x, p.y, p.z, 0, 0, 0, 0, 0, 0);
}

void CreationGesture::DragTo(int x, int y, float height) {
    x_ = x;
    y_ = y;
    height_ = height;
    tool_->Drag(&view_, x_, y_, x0_, y0_, p_.x, p_.y, p_.z, height_, 0);
}

void CreationGesture::Release() {
    qv::ui::SetLeftButtonDown(false);
    tool_->EndDrag(&view_, x_, y_, x0_, y0_, p_.x, p_.y, p_.z, height_, 0);
}

bool CreationGesture::Cancel() {
    const int cancelled = tool_->Stop(&view_, x_, y_, x0_, y0_, p_.x, p_.y, p_.z, height_, 0);
    qv::ui::SetLeftButtonDown(false);
    return cancelled != 0;
}

TransformDrag::TransformDrag(int type) : type_(type) {
    TransformCallback* cb = Interface::GetTransformCallback();
    cb_ = (cb && cb->IsEnabled()) ? cb : nullptr;
    cb_ ? cb_->StartTransform(type_) : Interface::StartTransform(type_);
}

void TransformDrag::Move(const cpoint3& d) {
    cb_ ? cb_->Move(d, 0, 0.0f) : Interface::Move(d, 0, 0.0f);
}

void TransformDrag::Rotate(const cquat& q) { cb_ ? cb_->Rotate(q) : Interface::Rotate(q); }

void TransformDrag::Scale(const cpoint3& s) { cb_ ? cb_->Scale(s) : Interface::Scale(s); }

void TransformDrag::Finish() {
    cb_ ? cb_->EndTransform(type_) : Interface::EndTransform(type_);
    Interface::SceneChanged(1);
}

bool ClickAt(ToolManager& tools, int t, qv::gl::View& view, int x, int y) {
    HitTestTool tool;
    tool.x = x;
    tool.y = y;
    tool.radius = kClickRadius;
    tools.BeginSelectionBatch();
    HitTestCallback* cb = Interface::GetHitTestCallback();
    const int hit = (cb && cb->IsEnabled()) ? cb->HitTestAndSelect(t, &view, x, y, 0, tool)
                                            : Interface::HitTestAndSelectObjects(t, &view, x, y, tool);
    tools.EndSelectionBatch();
    return hit != 0;
}

}  // namespace qvapp
