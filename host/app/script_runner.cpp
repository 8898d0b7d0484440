// The script loop: command dispatch, the UI driver reading modal answers from the script, and
// error reporting as NAME:LINE: message.
#include "script_runner.h"

#include <algorithm>
#include <iostream>
#include <system_error>

#include "commands.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"
#include "quorvane/undo.h"
#include "scene_check.h"
#include "script_actions.h"

namespace qvapp {

ScriptRunner::ScriptRunner(ToolManager& tools, RunOptions options)
    : tools_(tools), options_(std::move(options)) {
    previousDriver_ = qv::ui::GetDriver();
    qv::ui::SetDriver(this);
}

ScriptRunner::~ScriptRunner() { qv::ui::SetDriver(previousDriver_); }

std::string ScriptRunner::Where(int line) const {
    return options_.scriptName + ":" + std::to_string(line);
}

std::string ScriptRunner::Format(int line, const std::string& message) const {
    // Errors that the UI recorded with their own place (an action's line) keep it.
    if (message.rfind(options_.scriptName + ":", 0) == 0) return message;
    return Where(line) + ": " + message;
}

void ScriptRunner::Queue(std::vector<ScriptLine> lines) {
    lines_ = std::move(lines);
    next_ = 0;
}

int ScriptRunner::Run(const std::string& text) {
    if (!Start(text)) return 1;
    while (Step()) {}
    return Failed() ? 1 : 0;
}

bool ScriptRunner::Start(const std::string& text) {
    error_.clear();
    qv::ui::TakeError();  // nothing left over from before the script
    std::string ignored;
    sceneFinite_ = CheckSceneFinite(GetAnimTime(), ignored);
    try {
        Queue(ParseScript(text));
    } catch (const ScriptError& e) {
        error_ = Format(e.Line(), e.what());
        return false;
    }
    return true;
}

bool ScriptRunner::Step() {
    if (Failed() || next_ >= lines_.size()) return false;
    try {
        const ScriptLine& line = lines_[next_++];
        Execute(line);
        CheckUiError(line);
    } catch (const ScriptError& e) {
        error_ = Format(e.Line(), e.what());
        return false;
    }
    return next_ < lines_.size();
}

void ScriptRunner::Execute(const ScriptLine& line) {
    const auto& table = Commands();
    auto it = table.find(line.Command());
    if (line.words.front().quoted || it == table.end())
        throw ScriptError(line.number, "unknown command \"" + line.Command() + "\"");
    Args args(line);
    const int levelsBefore = theUndo.NumLevels();
    it->second(*this, args);
    UpdateSkins();
    RefuseNonFinite(line, levelsBefore);
}

// Every bound skin follows its bones to the current time after each command, so that the dump,
// the mirror tool and the next command see the deformed positions.
void ScriptRunner::UpdateSkins() {
    const int t = GetAnimTime();
    for (int i = 0; i < Interface::NumNodes(); ++i)
        if (cnode* n = Interface::GetNodeAt(i); n && n->GetTypeID() == QV_TYPE_SKIN) {
            auto* skin = static_cast<cskin*>(n);
            if (!skin->bindPos.empty()) skin->UpdateDeformers(t);
        }
}

// A command whose arithmetic overflowed is refused: the undo levels it made are undone and
// forgotten, so that neither the scene nor redo keeps the values. A scene that was not finite
// before the command is not the command's doing.
void ScriptRunner::RefuseNonFinite(const ScriptLine& line, int levelsBefore) {
    std::string bad;
    const bool wasFinite = sceneFinite_;
    sceneFinite_ = CheckSceneFinite(GetAnimTime(), bad);
    if (sceneFinite_ || !wasFinite) return;
    const bool undone = theUndo.NumLevels() > levelsBefore;
    while (theUndo.NumLevels() > levelsBefore && theUndo.Undo()) {}
    if (undone) theUndo.ClearRedo();
    std::string still;
    sceneFinite_ = CheckSceneFinite(GetAnimTime(), still);
    if (undone && sceneFinite_)
        throw ScriptError(line.number, line.Command() + ": refused and undone: " + bad);
    throw ScriptError(line.number, line.Command() + ": " + bad + " (the change cannot be undone)");
}

void ScriptRunner::CheckUiError(const ScriptLine& line) {
    std::string error = qv::ui::TakeError();
    if (!error.empty()) throw ScriptError(line.number, error);
}

bool ScriptRunner::Screenshot(const std::string& path, std::string& error) {
    if (!options_.screenshot) {
        error = "only the window takes screenshots (headless, use render or panel)";
        return false;
    }
    return options_.screenshot(path, error);
}

bool ScriptRunner::NextAction(const qv::ui::Modal& modal, qv::ui::Action& out) {
    // Pictures asked for among a modal window's answers are taken while it is open.
    while (next_ < lines_.size() &&
           (lines_[next_].Command() == "panel" || lines_[next_].Command() == "screenshot")) {
        const ScriptLine& line = lines_[next_++];
        try {
            Execute(line);
        } catch (const ScriptError& e) {
            qv::ui::RecordError(Format(e.Line(), e.what()));
            return false;
        }
    }
    if (next_ >= lines_.size() || !IsModalCommand(lines_[next_].Command())) return false;
    const ScriptLine& line = lines_[next_];
    try {
        out = LineToAction(line);
    } catch (const ScriptError& e) {
        qv::ui::RecordError(Format(line.number, e.what()));
        return false;
    }
    std::string why;
    if (!ActionFits(out, modal, why)) {
        qv::ui::RecordError(Where(line.number) + ": " + line.Command() + ": " + why);
        return false;
    }
    out.where = Where(line.number);
    if (out.kind == qv::ui::Action::Kind::File) out.text = InputPath(out.text);
    ++next_;
    return true;
}

std::ostream& ScriptRunner::Out() { return options_.out ? *options_.out : std::cout; }

std::string ScriptRunner::OutputPath(const std::string& path) const {
    std::filesystem::path p(path);
    if (p.is_relative() && !options_.outDir.empty()) p = options_.outDir / p;
    std::error_code ec;
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
    return p.string();
}

void ScriptRunner::NoteWritten(const std::string& path) {
    if (std::find(written_.begin(), written_.end(), path) == written_.end())
        written_.push_back(path);
}

std::string ScriptRunner::InputPath(const std::string& path) const {
    std::filesystem::path p(path);
    if (p.is_absolute()) return path;
    std::error_code ec;
    for (const auto& dir : {options_.outDir, options_.scriptDir}) {
        if (dir.empty()) continue;
        if (std::filesystem::exists(dir / p, ec)) return (dir / p).string();
    }
    if (std::filesystem::exists(p, ec) || options_.outDir.empty()) return path;
    return OutputPath(path);  // a file yet to be written (a save dialog)
}

}  // namespace qvapp
