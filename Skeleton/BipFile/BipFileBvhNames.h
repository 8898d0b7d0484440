// Which BVH joint feeds which biped bone: the name table the import maps by and the export
// writes from, indexed by k, the table's own index.
#pragma once

constexpr int kBvhNumNames = 19;       // entries of the name table
constexpr int kBvhMaxJointNames = 2;   // names that select one entry

struct BvhNameEntry {
    int slot;                                // the biped bone the entry feeds
    const char* names[kBvhMaxJointNames];    // joint names that select it, first the one written
};

// Entry k by the table's order: the root, pelvis (fed by no name), right leg, left leg, spine,
// neck, head, right arm, left arm.
extern const BvhNameEntry bvhNameTable[kBvhNumNames];

// Index k of the entry a joint name selects (whole name, case-sensitive); -1 for none.
int BvhNameIndex(const char* jointName);
// Index k of the entry that feeds a bone slot; -1 for a slot the table does not hold.
int BvhSlotIndex(int slot);
