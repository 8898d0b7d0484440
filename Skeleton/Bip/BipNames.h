// Naming and grouping of bone slots: mirror pairs, sides, toe and finger slots, the default
// hierarchy, and full scene names built from a biped's prefix.
#pragma once

constexpr int kNameBufferSize = 256;  // characters of the module's one bone name buffer

// Right and left bones pair up: legs 2..19 with 20..37, arms 45..63 with 64..82. Every other
// value (centre slots, negative, 83 or more) has no mirror: -1.
int GetMirrorSlot(int slot);

enum class SlotSide { None, Centre, Right, Left };
// Side of a slot; None outside 0..82.
SlotSide GetSlotSide(int slot);

enum class SlotGroup { None, Root, Pelvis, Leg, Toes, Spine, NeckHead, Arm, Fingers };
// Group of a slot; None outside 0..82.
SlotGroup GetSlotGroup(int slot);

// Slot of toe t (0..4), link l (0..2) on the right (right != 0) or left; -1 out of range.
int ToeSlot(int right, int toe, int link);
// Slot of finger f (0..4, 0 is the thumb), link l (0..2); -1 out of range.
int FingerSlot(int right, int finger, int link);

// The make-up of a built biped: how many spine links, toes and fingers it has.
struct BipShape {
    int numSpines = 4;       // 1..5
    int numFingers = 5;      // 0..5
    int numFingerLinks = 3;  // 1..3
    int numToes = 5;         // 0..5
    int numToeLinks = 3;     // 1..3
};
// 1 when a biped of that shape has a bone in the slot.
int IsSlotPresent(int slot, const BipShape& shape);
// Parent slot of a slot in a biped as built with numSpines spine links (the neck and the
// clavicles hang from the top link); -1 for the root and out of range.
int DefaultParentSlot(int slot, int numSpines);

// prefix + baseName into the module's one name buffer (at most 255 characters kept); the
// next call of either function overwrites it.
char* MakeBoneName(const char* prefix, const char* baseName);
// The same, then every blank of the buffer becomes an underscore.
char* MakeBoneName_(const char* prefix, const char* baseName);
