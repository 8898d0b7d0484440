// Pieces of the headless user interface shared between its source files.
#pragma once

#include <string>

#include "qvplatform/ui.h"
#include "control_names.h"
#include "window.h"

namespace qv::ui {

// Prints "message: [Caption] text" on standard error and appends it to Messages().
void LogMessage(const std::string& caption, const std::string& text);
bool LeftButtonDown();

// Runs a modal dialog of a module: builds it, sends WM_INITDIALOG with `initParam`, then takes
// actions from the driver until the procedure ends it. Answers the EndDialog result, or -1 (with
// an error recorded) when the module has no such dialog.
INT_PTR RunModal(HINSTANCE module, LPCSTR name, HWND owner, Procedure proc, LPARAM initParam,
                 Modal::Kind kind);

// Applies a Press, Type or Choose inside a dialog; false with an error for any other action or
// a control that does not fit.
bool ApplyAction(HWND dialog, const Action& action, std::string& error);

// Asks the dialog procedure to paint one owner-drawn button (message kDrawItemMessage).
void PaintControl(Window* control);

}  // namespace qv::ui
