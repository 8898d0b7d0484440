// The modify tool's viewport side: its overlays (cbipanim::Display, in BipDisplay.cpp) and its
// hit-test callback, which leaves picking to the host and only notes whether a click picked
// another bone of the same biped, so that the tool keeps its binding.
#pragma once

#include "quorvane/callbacks.h"

class cbipanim;

// Installed with the host by the modify tool's Init as cbipanim::hittestBip; owner is the tool.
class HitTestBip : public HitTestCallback {
public:
    int IsEnabled() override;  // always 1
    void Reset() override;     // nothing to reset
    // The host's HitTestObjects; flags is not passed on.
    int HitTest(int t, CGLWindow* view, int x, int y, int flags, HitTestTool& tool,
                cbooleanarray* exclude, HitTestRes* res) override;
    // The host's HitTestAndSelectObjects (flags not passed on), then keepBinding is 1 exactly
    // when the new selection is one of the owner's bones.
    int HitTestAndSelect(int t, CGLWindow* view, int x, int y, int flags,
                         HitTestTool& tool) override;

    cbipanim* owner = nullptr;
};
