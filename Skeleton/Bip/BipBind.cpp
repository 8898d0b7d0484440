// Binding the modify tool to a biped of the scene: which nodes are bipeds' bones, the node of
// every bone slot found by name, the selected slot and its mirror, and the host callbacks.
#include <cstring>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipDisplay.h"
#include "Skeleton/Bip/BipNames.h"
#include "Skeleton/Bip/BipPanel.h"
#include "Skeleton/Bip/BipTrack.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace {
// Every biped bone's name starts with these three characters, compared case-sensitively.
constexpr char kBipedMark[] = "Bip";
constexpr size_t kBipedMarkLength = 3;
// Characters of a name's first word that fit the prefix: its buffer holds the word, the blank
// that binding appends and the terminator.
constexpr size_t kMaxPrefixWord = cbipanim::kPrefixSize - 2;

// Clears the prefix and copies the name into it up to its first blank; 0 (prefix left empty)
// when there is no name or the first word is too long to fit.
int ReadPrefix(const char* name, char (&prefix)[cbipanim::kPrefixSize]) {
    std::memset(prefix, 0, sizeof prefix);
    if (!name) return 0;
    const size_t length = std::strcspn(name, " ");
    if (length > kMaxPrefixWord) return 0;
    std::memcpy(prefix, name, length);
    return 1;
}

// Slot of the node among the bound bones: 0 for the root, else the highest slot holding it;
// -1 when it is none of them.
int SlotOf(const cbipanim& tool, const cnode* node) {
    if (!node) return kNoSlot;
    if (tool.bones[kSlotRoot] == node) return kSlotRoot;
    for (int s = kSlotLast; s >= 1; --s)
        if (tool.bones[s] == node) return s;
    return kNoSlot;
}

// A fresh binding to the biped of the selected node.
void Bind(cbipanim& tool) {
    cnode* selected = Interface::GetSelNode();
    tool.selSlot = kNoSlot;
    tool.mirrorSlot = kNoSlot;
    for (cnode*& bone : tool.bones) bone = nullptr;
    if (selected && ReadPrefix(selected->GetName(), tool.prefix)) {
        tool.bones[kSlotRoot] = Interface::FindNode(tool.prefix);
        if (tool.bones[kSlotRoot] == selected) tool.selSlot = kSlotRoot;
        std::strcat(tool.prefix, " ");
        for (int s = 1; s < kNumSlots; ++s) {
            const char* base = BipBaseName(s);
            cnode* bone = Interface::FindNode(tool.MakeName(base));
            if (!bone) bone = Interface::FindNode(tool.MakeName_(base));
            tool.bones[s] = bone;
            if (bone == selected) tool.selSlot = s;
        }
        tool.mirrorSlot = GetMirrorSlot(tool.selSlot);
    }
    for (int k = 0; k < cbipanim::kNumAnchors; ++k) tool.anchorOn[k] = 0;
    tool.oppRotation = 0;
    tool.symRotation = 0;
    tool.animTransform = 0;
}

// Same biped, another bone: only the selected slot and its mirror follow the selection.
void MoveSelection(cbipanim& tool) {
    const int slot = SlotOf(tool, Interface::GetSelNode());
    if (slot == kNoSlot) return;
    tool.selSlot = slot;
    tool.mirrorSlot = GetMirrorSlot(slot);
}
}  // namespace

cnode* BoneAt(const cbipanim& tool, int slot) {
    return (slot >= 0 && slot < kNumSlots) ? tool.bones[slot] : nullptr;
}

int cbipanim::IsOkToModify(cnode* node) {
    if (!node || Interface::NumSelNodes() != 1) return 0;
    if (node->GetTypeID() != QV_TYPE_BONE) return 0;
    if (std::strncmp(node->GetName(), kBipedMark, kBipedMarkLength) != 0) return 0;
    if (!ReadPrefix(node->GetName(), prefix)) return 0;
    return Interface::FindNode(prefix) ? 1 : 0;
}

void cbipanim::Init() {
    Interface::SetSubLevel(0);
    Interface::LockSubLevel(1);
    const int freshBinding = !keepBinding;
    if (keepBinding)
        MoveSelection(*this);
    else
        Bind(*this);
    keepBinding = 0;
    RebindModifyPanel(*this, freshBinding);
    Interface::SetTransformCallback(&cbipanim::trnsClbk);
    Interface::SetHitTestCallback(&cbipanim::hittestBip);
}

void cbipanim::Done() {
    // An undo that closes the tool never sends it the undo's end: the next Init binds afresh.
    keepBinding = 0;
    ForgetModifyPanel();
    Interface::LockSubLevel(0);
    Interface::SetSubLevel(0);
    Interface::SetTransformCallback(nullptr);
    Interface::SetHitTestCallback(nullptr);
}
