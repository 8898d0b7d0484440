// Bone colours as the panels show them: conversion between the module's colours and the
// Windows 0x00BBGGRR value of pickers and device contexts, and the fill of a colour swatch.
#pragma once

#include <windows.h>

#include "quorvane/math.h"

// Channel value (0..255) to colour component (0..1).
constexpr float kChannelToUnit = 0.003921569f;
// Pixels a swatch's fill stays inside its button on every side.
constexpr int kSwatchInset = 3;

// 0x00BBGGRR, each channel (int)(c × 255) masked to 8 bits.
unsigned long ToWindowsColour(const ccolor& c);
// Sets r, g, b from a 0x00BBGGRR value; alpha stays.
void FromWindowsColour(unsigned long value, ccolor& c);
// Fills the draw item's rectangle, inset on every side, with the colour (opaque, no text).
void FillSwatch(const DRAWITEMSTRUCT* item, const ccolor& colour);
