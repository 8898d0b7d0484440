// The tables of every dialog's controls as a script names them, in Markdown, made from a
// module's resource script so that the README's copy can be checked against it.
#pragma once

#include <string>

namespace qvapp {

// One table a dialog: each row a group box with the names of the controls inside it, as
// `"Name"` or `#id`, and their kinds. False with an error when the script cannot be read.
bool ControlTables(const std::string& rcPath, std::string& markdown, std::string& error);

}  // namespace qvapp
