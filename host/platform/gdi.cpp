// Drawing pieces of the Windows subset: owner-drawn buttons painted through a device context
// that records the colour filled, bitmaps loaded from module resources, cursors, and the
// mouse button state.
#include <map>
#include <set>

#include "qvplatform/resources.h"
#include "resource_registry.h"
#include "ui_internal.h"

namespace {

using qv::ui::Window;

// A device context lent to an owner-draw procedure for the length of one paint request; it
// remembers the background colour and reports an opaque fill to its control.
struct DeviceContext {
    Window* owner = nullptr;
    COLORREF background = RGB(255, 255, 255);
};

std::set<DeviceContext*>& LiveContexts() {
    static std::set<DeviceContext*> live;
    return live;
}

DeviceContext* ContextFromHandle(HDC dc) {
    auto* c = reinterpret_cast<DeviceContext*>(dc);
    return LiveContexts().count(c) ? c : nullptr;
}

struct BitmapObject {
    qv::res::Bitmap bitmap;
};

std::set<BitmapObject*>& LiveBitmaps() {
    static std::set<BitmapObject*> live;
    return live;
}

BitmapObject* BitmapFromHandle(const void* h) {
    auto* b = static_cast<BitmapObject*>(const_cast<void*>(h));
    return LiveBitmaps().count(b) ? b : nullptr;
}

// One stable handle per cursor name and module; the handle is the address of its map entry.
struct CursorKey {
    HINSTANCE module;
    std::string name;
    bool operator<(const CursorKey& o) const {
        return module != o.module ? module < o.module : name < o.name;
    }
};
std::map<CursorKey, int>& Cursors() {
    static std::map<CursorKey, int> cursors;
    return cursors;
}

// Ids of the system's own cursors (IDC_ARROW .. IDC_HELP).
constexpr uintptr_t kFirstSystemCursor = 32512;
constexpr uintptr_t kLastSystemCursor = 32651;

HCURSOR g_cursor = nullptr;
bool g_cursorSet = false;

}  // namespace

namespace qv::ui {

void PaintControl(Window* control) {
    if (!control || control->kind != ControlKind::OwnerDrawn || !control->parent) return;
    DeviceContext dc;
    dc.owner = control;
    RECT r = PixelRect(control);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(control->id);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = control->enabled ? 0 : ODS_DISABLED;
    dis.hwndItem = ToHandle(control);
    dis.hDC = reinterpret_cast<HDC>(&dc);
    dis.rcItem = {0, 0, r.right - r.left, r.bottom - r.top};  // the button's own client area
    LiveContexts().insert(&dc);
    SendToDialog(control->parent, kDrawItemMessage, static_cast<WPARAM>(control->id),
                 reinterpret_cast<LPARAM>(&dis));
    LiveContexts().erase(&dc);
}

void PaintOwnerDrawn(HWND dlg) {
    Window* d = DialogFromHandle(dlg);
    if (!d) return;
    std::vector<Window*> swatches;
    for (auto& c : d->controls)
        if (c->kind == ControlKind::OwnerDrawn && c->visible) swatches.push_back(c.get());
    for (Window* c : swatches)
        if (DialogFromHandle(dlg)) PaintControl(c);
}

}  // namespace qv::ui

namespace qv::res {

bool GetBitmapInfo(HBITMAP bitmap, BitmapInfo& info) {
    BitmapObject* b = BitmapFromHandle(bitmap);
    if (!b) return false;
    info.width = b->bitmap.width;
    info.height = b->bitmap.height;
    info.bitsPerPixel = b->bitmap.bitsPerPixel;
    info.paletteSize = static_cast<int>(b->bitmap.palette.size());
    return true;
}

unsigned long GetBitmapPixel(HBITMAP bitmap, int x, int y) {
    BitmapObject* b = BitmapFromHandle(bitmap);
    if (!b || x < 0 || y < 0 || x >= b->bitmap.width || y >= b->bitmap.height) return 0;
    return b->bitmap.pixels[static_cast<size_t>(y) * b->bitmap.width + x];
}

}  // namespace qv::res

extern "C" {

COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour) {
    DeviceContext* c = ContextFromHandle(dc);
    if (!c) return static_cast<COLORREF>(-1);  // CLR_INVALID
    COLORREF old = c->background;
    c->background = colour;
    return old;
}

BOOL WINAPI ExtTextOutA(HDC dc, int, int, UINT options, const RECT* rect, LPCSTR, UINT,
                        const int*) {
    DeviceContext* c = ContextFromHandle(dc);
    if (!c) return FALSE;
    if ((options & ETO_OPAQUE) && rect && qv::ui::FromHandle(qv::ui::ToHandle(c->owner))) {
        c->owner->colour = c->background;
        c->owner->painted = true;
    }
    return TRUE;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    BitmapObject* b = BitmapFromHandle(object);
    if (!b) return FALSE;
    LiveBitmaps().erase(b);
    delete b;
    return TRUE;
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR name) {
    const qv::res::BitmapResource* r = qv::res::FindBitmap(hInstance, name);
    if (!r) return nullptr;
    auto* b = new BitmapObject{r->bitmap};
    LiveBitmaps().insert(b);
    return reinterpret_cast<HBITMAP>(b);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR name) {
    if (!name) return nullptr;
    if (!hInstance && (!IS_INTRESOURCE(name) ||
                       reinterpret_cast<uintptr_t>(name) < kFirstSystemCursor ||
                       reinterpret_cast<uintptr_t>(name) > kLastSystemCursor))
        return nullptr;
    auto it = Cursors().emplace(CursorKey{hInstance, qv::res::ResourceName(name)}, 0).first;
    return reinterpret_cast<HCURSOR>(&it->second);
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    HCURSOR previous = GetCursor();
    g_cursor = cursor;
    return previous;
}

HCURSOR WINAPI GetCursor(void) {
    if (!g_cursorSet) {  // the arrow until someone sets another
        g_cursor = LoadCursorA(nullptr, IDC_ARROW);
        g_cursorSet = true;
    }
    return g_cursor;
}

SHORT WINAPI GetAsyncKeyState(int key) {
    constexpr unsigned kDown = 0x8000;  // high bit: the key is down now
    return key == VK_LBUTTON && qv::ui::LeftButtonDown() ? static_cast<SHORT>(kDown) : 0;
}

}  // extern "C"
