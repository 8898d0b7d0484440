// The options of saving and loading animation files: the values the two options dialogs show
// and keep for the life of the module.
#pragma once

#include "Skeleton/Bip/BipBoneGroups.h"

// What a load does with the keys a bone has at and after Insert At.
enum BpdExistingKeys : int { kKeysClear = 0, kKeysMove = 1 };

struct BpdLoadOptions {
    // Kept from one load to the next.
    int groupOn[kNumBoneGroups] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    int invert = 0;            // play the source range backwards
    int repeat = 1;            // copies back to back, 1..100
    int scale = 0;             // stretch the source range to numFrames frames
    int existing = kKeysClear;
    int align = 0;             // slot of the foot whose place is kept: 0 none, 4 or 22
    // Set afresh by every load from the file and the current frame (frames).
    int firstFrame = 0;        // first frame of the file used
    int lastFrame = 0;         // last frame of the file used
    int insertAt = 0;          // scene frame the first frame goes to
    int numFrames = 1;         // frames per copy while scale is on
};
constexpr int kMinRepeat = 1;    // copies
constexpr int kMaxRepeat = 100;  // copies

struct BpdSaveOptions {
    int from = 0;        // first scene frame saved; set to the animation start by every save
    int to = 100;        // last scene frame saved; set to the animation end by every save
    int allFrames = 0;   // "Save All Frames As Keyframes", kept from one save to the next
    int keyFrom = 0;     // the key range "Key Range" shows (frames), set by every save
    int keyTo = 0;
};

extern BpdLoadOptions bpdLoadOptions;
extern BpdSaveOptions bpdSaveOptions;

// Dialog 103 "Load BIPED File - Options" for a file of frameCount frames: 1 on OK (the
// options then hold what was chosen), 0 on Cancel.
int AskBpdLoadOptions(int frameCount);
// Dialog 104 "Save BIPED Animation - Options": 1 on OK, 0 on Cancel.
int AskBpdSaveOptions();
