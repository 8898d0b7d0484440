// The module's entry: its module-level objects in their order of construction, the start
// routine that stores the module handle, and the five exports through which the host learns
// what the module offers.
#include <windows.h>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipCreate.h"
#include "Skeleton/Bip/BipDisplay.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "Skeleton/Bip/BipTrack.h"
#include "plugin/BipExport.h"
#include "plugin/BipPreview.h"
#include "quorvane/classes.h"
#include "skin/BipSkin.h"

namespace {
constexpr int kNumClasses = 3;            // bip, bipani, bipskin
constexpr int kLibVersion = 1500;         // the host loads only modules answering this
constexpr int kStdLib = -18696;           // 0xFFFFB6F8 as a 32-bit value
constexpr int kCreateToolIndex = 0;
constexpr int kAnimToolIndex = 1;
}  // namespace

// Objects of one translation unit are constructed in the order they are defined here and
// destroyed in reverse. The joint limit tables are constant data and need no construction.
HINSTANCE hInst = nullptr;
BIPEXPORT ccolor leftColour = {0.0f, 0.0f, 1.0f, 1.0f};   // blue
BIPEXPORT ccolor rightColour = {0.0f, 1.0f, 0.0f, 1.0f};  // green
BIPEXPORT cbippreview bippreview;
// The module-level objects of the modify tool: the callback objects (the transform tracking
// state is constant-initialised in Skeleton/Bip/BipTrack.cpp).
BipTransformCallback cbipanim::trnsClbk;
HitTestBip cbipanim::hittestBip;
BIPEXPORT ccreatebip bip;
BIPEXPORT cbipanim bipani;
BIPEXPORT cbipskinhelper bipskin;

// Stores the module handle for every reason code: attach, detach and thread notices alike.
extern "C" BIPEXPORT BOOL WINAPI DllMain(HINSTANCE module, DWORD, LPVOID) {
    hInst = module;
    bip.hInstance = module;
    bipani.hInstance = module;
    bipskin.hInstance = module;
    return TRUE;
}

extern "C" BIPEXPORT int LibType(int index) {
    return index == kCreateToolIndex ? QV_LIBTYPE_CREATE : QV_LIBTYPE_MODIFY;
}

extern "C" BIPEXPORT int LibNumberClasses() { return kNumClasses; }

extern "C" BIPEXPORT cclassinterface* LibClassDesc(int index) {
    if (index == kCreateToolIndex) return &bip;
    if (index == kAnimToolIndex) return &bipani;
    return &bipskin;
}

extern "C" BIPEXPORT int LibVersion() { return kLibVersion; }

extern "C" BIPEXPORT int StdLib() { return kStdLib; }
