// A panel or modal dialog drawn with ImGui from its template: every control at its place
// (dialog pixels × zoom), in its state; a click, a finished edit or a chosen item comes back
// as the action a script line would name, to go through the platform layer's messages.
#pragma once

#include <map>
#include <optional>
#include <string>

#include <windows.h>

#include "qvplatform/ui.h"

namespace qvapp::window {

// Window pixels a dialog pixel takes: the templates are laid out for an 8-point font.
inline constexpr float kDialogZoom = 1.5f;

class DialogWidgets {
public:
    // Draws the dialog's controls into the current ImGui window, from its cursor position.
    // Answers what the person did this frame (a control named "#id"), if anything.
    std::optional<qv::ui::Action> Draw(HWND dlg);
    // Forgets edit texts typed but not yet finished (a new dialog or panel).
    void Reset() { edits_.clear(); }

private:
    std::map<int, std::string> edits_;  // control id → the text in the field while it is edited
};

// Acts on a panel as a script's press, type or choose does; false with the error.
bool ApplyToPanel(HWND panel, const qv::ui::Action& action, std::string& error);

}  // namespace qvapp::window
