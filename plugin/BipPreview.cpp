// The preview node: a container that draws the bones of a biped under construction.
#include "plugin/BipPreview.h"

#include <cstdint>

#include "Skeleton/Bip/BipGlobals.h"

cbippreview::cbippreview() = default;
cbippreview::~cbippreview() = default;

void cbippreview::DeleteThis() {
    // The address is read through a volatile so that the null test is kept: the host may
    // dispose of a null entry of its own lists.
    const volatile std::uintptr_t self = reinterpret_cast<std::uintptr_t>(this);
    if (self == 0 || self == reinterpret_cast<std::uintptr_t>(&bippreview)) return;
    delete this;
}

void cbippreview::Draw(int t, CGLWindow* view, unsigned flags) {
    const unsigned memberFlags = flags & ~static_cast<unsigned>(QV_DRAW_SELECTED);
    const int count = NumMembers();
    for (int i = 0; i < count; ++i)
        if (nodes[i] != nullptr) nodes[i]->Draw(t, view, memberFlags);
}

int cbippreview::DrawsMembers(int, int) { return 1; }

int cbippreview::PicksForMembers(int) { return 1; }

int cbippreview::NumMembers() const {
    if (numNodes < 0) return 0;
    return numNodes < kMaxNodes ? numNodes : kMaxNodes;
}

cnode* cbippreview::GetMember(int i) const {
    return i >= 0 && i < NumMembers() ? nodes[i] : nullptr;
}
