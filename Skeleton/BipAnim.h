// The modify tool for an existing biped: bound to the biped of the selected bone, it holds the
// nodes of every bone slot and the panel's modes and walk/run options.
#pragma once

#include "Skeleton/BipBones.h"
#include "plugin/BipExport.h"
#include "quorvane/classes.h"
#include "quorvane/math.h"

class cnode;

class BIPEXPORT cbipanim : public cmodifyinterface {
public:
    static constexpr int kPanelDialog = 1158;  // resource id of the modify panel
    static constexpr int kPrefixSize = 64;     // characters of prefix, terminator included
    static constexpr int kNumAnchors = 4;      // right foot, left foot, right hand, left hand

    cbipanim();
    cbipanim(const cbipanim& other);
    cbipanim& operator=(const cbipanim& other);
    ~cbipanim() override;

    char* GetName() override;
    int UseApply() override;
    // The tool has no Apply step: answers 1 and does nothing.
    int Execute() override;

    // Full scene name of a bone: prefix (which ends in one blank) + base name, in the module's
    // one name buffer; the next call of either overwrites it.
    char* MakeName(const char* baseName);
    // The same with every blank replaced by an underscore ("Bip01_L_Thigh").
    char* MakeName_(const char* baseName);
    // Asks with the "Choose Hand" dialog which hand to work on: kHandRight, kHandLeft,
    // kHandBoth (only when allowBoth is not 0) or kHandNone when cancelled.
    int WhichHand(int allowBoth);

    cnode* bones[kNumSlots] = {};   // node of each bone slot of the bound biped, null if absent
    int selSlot = -1;               // slot of the selected node, -1 when none of bones
    int mirrorSlot = -1;            // GetMirrorSlot(selSlot)
    int oppRotation = 0;            // "Opposite Rotation" mode
    int symRotation = 0;            // "Symmetrical Rotation" mode
    int animTransform = 0;          // transforms apply to the selected bone's whole animation
    char prefix[kPrefixSize] = {};  // "Bip01", with one trailing blank while bound
    int keepBinding = 0;            // 1: the next Init only re-reads the selected slot
    int anchorOn[kNumAnchors] = {};  // right foot, left foot, right hand, left hand
    cpoint3 anchorPos[kNumAnchors];  // world position each anchored limb end is held at
    int numLoops = 1;               // walk/run: cycles to generate, 1..100
    int startFoot = 1;              // walk/run: 1 right, 0 left
    int inPlace = 0;                // walk/run: the root stays where it is
    int loop = 1;                   // walk/run: the cycle ends where it began
    int gait = 0;                   // walk/run: 0 walk, 1 run
};
