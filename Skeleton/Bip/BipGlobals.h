// The module-level objects of the Biped module, constructed at load in this order: the two
// bone colours, the preview node, the joint limit tables, the modify tool's callbacks and
// tracking state, then the three class objects `bip`, `bipani`, `bipskin`.
#pragma once

#include <windows.h>

#include "quorvane/math.h"

class cbippreview;
class ccreatebip;
class cbipanim;
class cbipskinhelper;

// The module's own handle, stored by the start routine; every dialog and resource load uses it.
extern HINSTANCE hInst;

// Colours of left and right limb bones (r, g, b, a in 0..1): blue and green at module start.
extern ccolor leftColour;
extern ccolor rightColour;

extern cbippreview bippreview;
extern ccreatebip bip;
extern cbipanim bipani;
extern cbipskinhelper bipskin;
