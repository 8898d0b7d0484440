// The skin tool's bone records: every bone of the picked hierarchy with its transform at pick
// time, its side (by the side words of its name) and its partner on the other side.
#pragma once

#include "quorvane/math.h"

class cnode;

// Sides of a bone record, and the destination side of the panel.
enum : int { kSkinSideNone = 0, kSkinSideRight = 1, kSkinSideLeft = 2 };

struct SkinBoneRecord {
    cnode* node = nullptr;
    cmatrix4 matrix;                     // GetNodeTM(GetAnimTime(), 7) at pick time
    SkinBoneRecord* partner = nullptr;   // the bone of the same name on the other side
    int partnerIndex = -1;               // its index in the record array
    int side = kSkinSideNone;
};

// Record pointers on the host's array storage; an append to a full array adds 16 entries.
struct SkinRecordArray {
    SkinBoneRecord** data = nullptr;
    int count = 0;
    int capacity = 0;
};

// Names are compared lowercased and cut to this many characters (the name buffer holds 63).
constexpr int kSkinNameChars = 63;

// Frees every record and the array.
void SkinRecordsFree(SkinRecordArray& records);
// Appends a record for the node at time t, sorts it by side and links its partner (Part 6.1).
void SkinRecordsAdd(SkinRecordArray& records, cnode* node, int t);
// Frees the records, then adds the node and, depth first, every node below it.
void SkinRecordsPick(SkinRecordArray& records, cnode* root, int t);
// The record whose node is this one, or null.
const SkinBoneRecord* SkinRecordOf(const SkinRecordArray& records, const cnode* node);
// The bone a weight on this node becomes on the other side: the record's partner, the node
// itself when its record has no partner. A bone outside the picked hierarchy (the Part leaves
// it open) becomes the first scene node named as its partner would be (the side word swapped,
// compared lowercased), or stays itself when it has no side word or no such node exists.
cnode* SkinMirrorBone(const SkinRecordArray& records, cnode* node);
cnode* SkinOutsideMirror(cnode* node);
