// The skeleton builder: makes the host bones of the biped under construction from the default
// tables, scaled by a height, and rebuilds or re-places its spine links, fingers and toes while
// it is still in the preview node. It never touches a biped that has been handed to the scene.
#pragma once

#include "Skeleton/Bip/BipTables.h"
#include "quorvane/math.h"

class cnode;

// Indices into Bip_Lower and Bip_Upper.
enum BipLowerIndex : int {
    kLowerPelvis = 0, kLowerSpine = 1,
    kLowerLThigh = 2, kLowerLCalf = 3, kLowerLFoot = 4,
    kLowerRThigh = 5, kLowerRCalf = 6, kLowerRFoot = 7,
};
enum BipUpperIndex : int {
    kUpperNeck = 0, kUpperHead = 1,
    kUpperLClavicle = 2, kUpperLUpperArm = 3, kUpperLForearm = 4, kUpperLHand = 5,
    kUpperRClavicle = 6, kUpperRUpperArm = 7, kUpperRForearm = 8, kUpperRHand = 9,
};

// The biped under construction. Finger f, link l of a biped with m finger links is entry
// f * m + l of Bip_RFinger / Bip_LFinger (toes alike); Bip_Spine[i] is "Spine" link i + 1.
extern cnode* createRoot;
extern cnode* Bip_Lower[kNumLowerBody];
extern cnode* Bip_Upper[kNumUpperBody];
extern cnode* Bip_Spine[kNumSpineLinks];
extern cnode* Bip_RFinger[kDigitRecords];
extern cnode* Bip_LFinger[kDigitRecords];
extern cnode* Bip_RToe[kDigitRecords];
extern cnode* Bip_LToe[kDigitRecords];

// Forgets the biped under construction: every array entry and createRoot become null.
void ClearBuilderState();

// A record's rotation as the host makes it from a matrix with the record's rows.
cquat RecordRotation(const BipDefaultRecord& rec);
// A record's position at height h (host units), relative to the root.
cpoint3 RecordPosition(const BipDefaultRecord& rec, float h);

// The bone that holds the neck and the clavicles: the highest spine link, or "Spine".
cnode* TopSpineLink();

void BuildBiped(cpoint3 position);
void BuildLowerBody(cnode* root);
void BuildUpperBody(cnode* root);
void AttachPelvis(cnode* root);
void AttachUpperBody(cnode* parent);
void RebuildSpineLinks();
void PlaceSpineLinks(float h);
void SetSpineCount();
void RebuildFingers(cnode* root);
void RebuildToes(cnode* root);
void ScaleFingers(cnode* root, float h);
void ScaleToes(cnode* root, float h);
void RefreshFingers(cnode* root);
void RefreshToes(cnode* root);
void ScaleLowerBody(cnode* root, float h);
void ScaleUpperBody(cnode* root, float h);
void SetBipedHeight(cnode* root, float h);

// Throws away the bone at index b of one of the builder's arrays: detaches its children (and,
// for entry 0, itself from its parent), takes it out of the preview list, disposes of it and
// clears the entry.
void ThrowAwayBone(cnode** entries, int b);
