// The host's default behaviour of every tool class operation and of the callbacks' leading
// slots, for modules that override only what they need.
#include "quorvane/classes.h"

#include "quorvane/callbacks.h"
#include "quorvane/view.h"
#include "qvplatform/ui.h"

// Modules name the Windows subset's owner-draw request by the SDK's constant.
static_assert(QV_WM_DRAWITEM == qv::ui::kDrawItemMessage);

namespace {
char kEmptyText[] = "";
}

cclassinterface::cclassinterface() = default;
cclassinterface::~cclassinterface() = default;
char* cclassinterface::GetCategory() { return kEmptyText; }
char* cclassinterface::GetName() { return kEmptyText; }
int cclassinterface::IsPublic() { return 1; }
unsigned cclassinterface::GetType() { return 0; }
unsigned cclassinterface::GetSubType() { return 0; }
void* cclassinterface::Create() { return nullptr; }
int cclassinterface::DlgProc(HWND, unsigned, unsigned, long) { return 0; }
void cclassinterface::Display(int, CGLWindow*, unsigned) {}
void cclassinterface::Notify(unsigned long, unsigned long, unsigned long, void*) {}
void cclassinterface::Init() {}
void cclassinterface::Done() {}

int ccreateinterface::CanCreateNew() { return 1; }
int ccreateinterface::BeginDrag(CGLWindow*, int, int, float, float, float, float, float, float,
                                float, float, float) { return 0; }
int ccreateinterface::Drag(CGLWindow*, int, int, int, int, float, float, float, float, float) {
    return 0;
}
int ccreateinterface::EndDrag(CGLWindow*, int, int, int, int, float, float, float, float, float) {
    return 0;
}
int ccreateinterface::DragIdle(CGLWindow*, int, int, int, int, float, float, float, float, float) {
    return 0;
}
int ccreateinterface::Stop(CGLWindow*, int, int, int, int, float, float, float, float, float) {
    return 0;
}
int ccreateinterface::DragIdleMouseCapture() { return 0; }
void* ccreateinterface::GetHBitmap() { return nullptr; }
void ccreateinterface::DeleteHBitmap(void*) {}

cnode* cmodifyinterface::GetGizmo() const { return nullptr; }
int cmodifyinterface::UseApply() { return 0; }
int cmodifyinterface::Execute() { return 0; }
int cmodifyinterface::IsOkToModify(cnode*) { return 0; }

TransformCallback::~TransformCallback() = default;
int TransformCallback::IsEnabled() { return 1; }
void TransformCallback::Reset() {}

HitTestCallback::~HitTestCallback() = default;
int HitTestCallback::IsEnabled() { return 1; }
void HitTestCallback::Reset() {}

CGLWindow::~CGLWindow() = default;
