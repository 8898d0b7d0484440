// Runs a session script: each line is one command; while a command has a modal window open,
// the following lines answer it (the runner is the UI driver).
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "qvplatform/ui.h"
#include "script_parser.h"

namespace qvapp {

class ToolManager;

struct RunOptions {
    std::string scriptName = "script";  // as errors name it: NAME:LINE: message
    std::filesystem::path outDir;       // relative output paths go here (empty: as given)
    std::filesystem::path scriptDir;    // relative input paths are also looked for here
    std::ostream* out = nullptr;        // `dump -` (null: standard output)
    // `screenshot`: saves the window as a person sees it, an open modal window included; false
    // with an error. Only the window sets it: headless, the command is refused.
    std::function<bool(const std::string& path, std::string& error)> screenshot;
};

class ScriptRunner : public qv::ui::Driver {
public:
    ScriptRunner(ToolManager& tools, RunOptions options);
    ~ScriptRunner() override;
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Runs a whole script: 0 when it ran to its end, 1 on a script error (see Error()).
    int Run(const std::string& text);
    // The same, a line at a time (the window replays one line a frame): Start parses the
    // text (false on a syntax error), each Step runs the next command with the lines that
    // answer its modal windows, and is false once the script has ended or failed.
    bool Start(const std::string& text);
    bool Step();
    bool Failed() const { return !error_.empty(); }
    // The error as printed: "NAME:LINE: message"; empty after success.
    const std::string& Error() const { return error_; }

    // Makes these lines the ones the driver hands to modal windows (for driving a modal window
    // opened by the caller rather than by a command).
    void Queue(std::vector<ScriptLine> lines);
    size_t Remaining() const { return lines_.size() - next_; }
    bool NextAction(const qv::ui::Modal& modal, qv::ui::Action& out) override;

    // --- used by the commands ---------------------------------------------------------------
    ToolManager& Tools() { return tools_; }
    std::ostream& Out();
    // Relative outputs go under the output folder (created as needed).
    std::string OutputPath(const std::string& path) const;
    // Relative inputs: the output folder, then the script's folder, then as given.
    std::string InputPath(const std::string& path) const;
    std::string Where(int line) const;
    // Files the script's commands have written, in the order first written.
    void NoteWritten(const std::string& path);
    const std::vector<std::string>& Written() const { return written_; }
    // The window's screenshot (see RunOptions::screenshot); false with an error headless.
    bool Screenshot(const std::string& path, std::string& error);

private:
    void Execute(const ScriptLine& line);
    void RefuseNonFinite(const ScriptLine& line, int levelsBefore);
    void UpdateSkins();
    void CheckUiError(const ScriptLine& line);
    std::string Format(int line, const std::string& message) const;

    ToolManager& tools_;
    RunOptions options_;
    std::vector<ScriptLine> lines_;
    size_t next_ = 0;
    std::string error_;
    bool sceneFinite_ = true;  // every scene value was finite after the last command
    std::vector<std::string> written_;
    qv::ui::Driver* previousDriver_ = nullptr;
};

}  // namespace qvapp
