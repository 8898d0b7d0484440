// Script lines that act inside modal windows (press, type, choose, answer, file) as UI driver
// actions.
#pragma once

#include <string>

#include "qvplatform/ui.h"
#include "script_parser.h"

namespace qvapp {

// True for the commands that may answer a modal window.
bool IsModalCommand(const std::string& command);
// The action a line stands for; throws ScriptError on bad arguments.
qv::ui::Action LineToAction(const ScriptLine& line);
// Whether the action suits the modal window; false with a reason otherwise.
bool ActionFits(const qv::ui::Action& action, const qv::ui::Modal& modal, std::string& why);
// "the dialog \"Title\"", "the message box \"Caption\": text", ...
std::string DescribeModal(const qv::ui::Modal& modal);

}  // namespace qvapp
