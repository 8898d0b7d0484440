// Where each control sits among the others of its dialog: the group boxes around it and the
// static label in front of it. Control names are built from these.
#pragma once

#include <string>
#include <vector>

#include "window.h"

namespace qv::ui {

struct ControlPlace {
    Window* control = nullptr;
    std::vector<Window*> groups;  // group boxes around it, innermost first
    std::string label;            // text of the static label in front of it, or empty
};

// One entry per control of the dialog, in template order. A label is a static text
// immediately left of a control on its row, else just above it, in the same group.
std::vector<ControlPlace> Layout(Window* dialog);

// A caption without its '&' mnemonic markers ("&&" stays a single '&').
std::string StripMnemonic(const std::string& caption);
// Controls that act (never group boxes or static texts).
bool Acts(const Window* control);

}  // namespace qv::ui
