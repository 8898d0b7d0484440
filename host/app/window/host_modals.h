// The host's own modal windows as the window draws them: a message box with its buttons and
// a simple file browser. Each answers with the action a script's `answer` or `file` line gives.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "qvplatform/ui.h"

namespace qvapp::window {

// The message box's text and a button for each of its answers.
std::optional<qv::ui::Action> DrawMessageBox(const qv::ui::Modal& modal);

// A file browser: the folder's sub-folders and files, a name field, OK and Cancel.
class FileBrowser {
public:
    explicit FileBrowser(std::filesystem::path folder) : folder_(std::move(folder)) {}
    std::optional<qv::ui::Action> Draw(const qv::ui::Modal& modal);

private:
    std::filesystem::path folder_;
    std::string name_;
};

}  // namespace qvapp::window
