// Messages sent to controls and the clicks that act on them.
#pragma once

#include <string>

#include "window.h"

namespace qv::ui {

// Answers a message sent to a control (WM_SETTEXT, BM_*, CB_*, ...).
LRESULT ControlMessage(Window* control, UINT msg, WPARAM wParam, LPARAM lParam);

// A click on a button: push buttons notify; automatic check boxes toggle and radio buttons
// check themselves (clearing the rest of their group) before notifying. False with an error for
// disabled controls and controls that cannot be pressed.
bool PressControl(Window* control, std::string& error);

}  // namespace qv::ui
