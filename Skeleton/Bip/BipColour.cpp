// Colour conversion and swatch painting shared by the creation and modify panels.
#include "Skeleton/Bip/BipColour.h"

namespace {
unsigned long Channel(float component) {
    return static_cast<unsigned long>(static_cast<int>(component * 255.0f)) & 0xFF;
}
}  // namespace

unsigned long ToWindowsColour(const ccolor& c) {
    return Channel(c.r) | (Channel(c.g) << 8) | (Channel(c.b) << 16);
}

void FromWindowsColour(unsigned long value, ccolor& c) {
    c.r = static_cast<float>(value & 0xFF) * kChannelToUnit;
    c.g = static_cast<float>((value >> 8) & 0xFF) * kChannelToUnit;
    c.b = static_cast<float>((value >> 16) & 0xFF) * kChannelToUnit;
}

void FillSwatch(const DRAWITEMSTRUCT* item, const ccolor& colour) {
    RECT r = item->rcItem;
    r.left += kSwatchInset;
    r.top += kSwatchInset;
    r.right -= kSwatchInset;
    r.bottom -= kSwatchInset;
    SetBkColor(item->hDC, ToWindowsColour(colour));
    ExtTextOutA(item->hDC, 0, 0, ETO_OPAQUE, &r, "", 0, nullptr);
}
