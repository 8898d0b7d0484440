// Finding a control of a dialog by the name a person would use: its caption, the label in
// front of it, "#id", each optionally qualified by group captions ("Posture/Mirror").
#pragma once

#include <string>

#include "window.h"

namespace qv::ui {

// The one acting control that `name` fits; false with an error naming the dialog and, when
// several fit, listing them with their ids.
bool ResolveControl(Window* dialog, const std::string& name, Window*& out, std::string& error);

// `"Caption" (105)`: how messages name a dialog.
std::string DialogLabel(const Window* dialog);

}  // namespace qv::ui
