// A picture of a dialog or panel as a person would see it, drawn on the CPU from its template's
// layout and its controls' state: captions, check states, swatch colours, disabled controls
// greyed, hidden ones left out.
#pragma once

#include <string>
#include <windows.h>

#include "text_raster.h"

namespace qvapp {

constexpr int kDialogPictureZoom = 2;  // image pixels per dialog pixel

// Draws the dialog (a modal one with its title bar); false with the reason in error when it
// is not a live dialog or the font cannot be loaded.
bool DrawDialog(HWND dialog, bool titleBar, RgbaImage& out, std::string& error);

}  // namespace qvapp
