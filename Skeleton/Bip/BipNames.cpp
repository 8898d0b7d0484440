// Slot pairing, sides, groups and the default hierarchy of the bone table, and the module's
// one name buffer through which full bone names are built.
#include "Skeleton/Bip/BipNames.h"

#include <algorithm>
#include <cstring>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipBones.h"

namespace {

constexpr int kLegMirrorOffset = kSlotLThigh - kSlotRThigh;          // 18
constexpr int kArmMirrorOffset = kSlotLClavicle - kSlotRClavicle;    // 19
constexpr int kLastRightLegSlot = kSlotLThigh - 1;                    // 19
constexpr int kLastLeftLegSlot = kSlotSpine - 1;                      // 37
constexpr int kLastRightArmSlot = kSlotLClavicle - 1;                 // 63
constexpr int kLastSpineSlot = kSlotSpine + kMaxSpineLinks - 1;       // 42

char nameBuffer[kNameBufferSize];

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Slot of digit d, link l counted from the first slot of that side's digits.
int DigitSlot(int firstSlot, int digit, int link) {
    if (!InRange(digit, 0, kMaxDigits - 1) || !InRange(link, 0, kMaxDigitLinks - 1)) return kNoSlot;
    return firstSlot + kMaxDigitLinks * digit + link;
}

// Digit number and link of a toe or finger slot, given the first slot of its side.
void SplitDigit(int slot, int firstSlot, int& digit, int& link) {
    digit = (slot - firstSlot) / kMaxDigitLinks;
    link = (slot - firstSlot) % kMaxDigitLinks;
}

// Whether a toe or finger slot exists with k digits of m links.
int DigitPresent(int slot, int firstSlot, int numDigits, int numLinks) {
    int digit, link;
    SplitDigit(slot, firstSlot, digit, link);
    return digit < numDigits && link < numLinks ? 1 : 0;
}

// Parent of a toe or finger slot: link 0 hangs from the foot or hand, later links from the
// link before.
int DigitParent(int slot, int firstSlot, int endSlot) {
    int digit, link;
    SplitDigit(slot, firstSlot, digit, link);
    return link == 0 ? endSlot : slot - 1;
}

}  // namespace

int GetMirrorSlot(int slot) {
    if (InRange(slot, kSlotRThigh, kLastRightLegSlot)) return slot + kLegMirrorOffset;
    if (InRange(slot, kSlotLThigh, kLastLeftLegSlot)) return slot - kLegMirrorOffset;
    if (InRange(slot, kSlotRClavicle, kLastRightArmSlot)) return slot + kArmMirrorOffset;
    if (InRange(slot, kSlotLClavicle, kSlotLast)) return slot - kArmMirrorOffset;
    return kNoSlot;
}

SlotSide GetSlotSide(int slot) {
    if (!InRange(slot, 0, kSlotLast)) return SlotSide::None;
    if (InRange(slot, kSlotRThigh, kLastRightLegSlot) ||
        InRange(slot, kSlotRClavicle, kLastRightArmSlot))
        return SlotSide::Right;
    if (InRange(slot, kSlotLThigh, kLastLeftLegSlot) || InRange(slot, kSlotLClavicle, kSlotLast))
        return SlotSide::Left;
    return SlotSide::Centre;
}

SlotGroup GetSlotGroup(int slot) {
    if (!InRange(slot, 0, kSlotLast)) return SlotGroup::None;
    if (slot == kSlotRoot) return SlotGroup::Root;
    if (slot == kSlotPelvis) return SlotGroup::Pelvis;
    if (InRange(slot, kSlotRThigh, kSlotRFoot) || InRange(slot, kSlotLThigh, kSlotLFoot))
        return SlotGroup::Leg;
    if (InRange(slot, kSlotRToe0, kLastRightLegSlot) || InRange(slot, kSlotLToe0, kLastLeftLegSlot))
        return SlotGroup::Toes;
    if (InRange(slot, kSlotSpine, kLastSpineSlot)) return SlotGroup::Spine;
    if (slot == kSlotNeck || slot == kSlotHead) return SlotGroup::NeckHead;
    if (InRange(slot, kSlotRClavicle, kSlotRHand) || InRange(slot, kSlotLClavicle, kSlotLHand))
        return SlotGroup::Arm;
    return SlotGroup::Fingers;
}

int ToeSlot(int right, int toe, int link) {
    return DigitSlot(right ? kSlotRToe0 : kSlotLToe0, toe, link);
}

int FingerSlot(int right, int finger, int link) {
    return DigitSlot(right ? kSlotRFinger0 : kSlotLFinger0, finger, link);
}

int IsSlotPresent(int slot, const BipShape& shape) {
    switch (GetSlotGroup(slot)) {
    case SlotGroup::None:
        return 0;
    case SlotGroup::Spine:
        return slot - kSlotSpine < shape.numSpines ? 1 : 0;
    case SlotGroup::Toes:
        return DigitPresent(slot, slot < kSlotLThigh ? kSlotRToe0 : kSlotLToe0, shape.numToes,
                            shape.numToeLinks);
    case SlotGroup::Fingers:
        return DigitPresent(slot, slot < kSlotLClavicle ? kSlotRFinger0 : kSlotLFinger0,
                            shape.numFingers, shape.numFingerLinks);
    default:
        return 1;
    }
}

int DefaultParentSlot(int slot, int numSpines) {
    const int topSpine = kSlotSpine + std::clamp(numSpines, 1, kMaxSpineLinks) - 1;
    switch (GetSlotGroup(slot)) {
    case SlotGroup::Pelvis:
        return kSlotRoot;
    case SlotGroup::Leg:
        return slot == kSlotRThigh || slot == kSlotLThigh ? kSlotPelvis : slot - 1;
    case SlotGroup::Toes:
        return slot < kSlotLThigh ? DigitParent(slot, kSlotRToe0, kSlotRFoot)
                                  : DigitParent(slot, kSlotLToe0, kSlotLFoot);
    case SlotGroup::Spine:
        return slot == kSlotSpine ? kSlotPelvis : slot - 1;
    case SlotGroup::NeckHead:
        return slot == kSlotNeck ? topSpine : kSlotNeck;
    case SlotGroup::Arm:
        return slot == kSlotRClavicle || slot == kSlotLClavicle ? topSpine : slot - 1;
    case SlotGroup::Fingers:
        return slot < kSlotLClavicle ? DigitParent(slot, kSlotRFinger0, kSlotRHand)
                                     : DigitParent(slot, kSlotLFinger0, kSlotLHand);
    default:
        return kNoSlot;
    }
}

char* MakeBoneName(const char* prefix, const char* baseName) {
    nameBuffer[0] = '\0';
    std::strncat(nameBuffer, prefix ? prefix : "", kNameBufferSize - 1);
    const size_t used = std::strlen(nameBuffer);
    std::strncat(nameBuffer, baseName ? baseName : "", kNameBufferSize - 1 - used);
    return nameBuffer;
}

char* MakeBoneName_(const char* prefix, const char* baseName) {
    MakeBoneName(prefix, baseName);
    for (int i = 0; i < kNameBufferSize && nameBuffer[i] != '\0'; ++i)
        if (nameBuffer[i] == ' ') nameBuffer[i] = '_';
    return nameBuffer;
}

char* cbipanim::MakeName(const char* baseName) { return MakeBoneName(prefix, baseName); }

char* cbipanim::MakeName_(const char* baseName) { return MakeBoneName_(prefix, baseName); }
