// The session script commands: one table from command name to handler, filled by the files
// that hold the commands of each concern.
#pragma once

#include "quorvane/math.h"

#include <map>
#include <string>

#include "script_parser.h"

namespace qvapp {

class ScriptRunner;

// The words after a command, read in order; every reader throws ScriptError at the line.
class Args {
public:
    explicit Args(const ScriptLine& line) : line_(line) {}
    const ScriptLine& Line() const { return line_; }
    bool AtEnd() const { return next_ >= line_.words.size(); }
    const Word& Next(const std::string& what);
    std::string Text(const std::string& what) { return Next(what).text; }
    int Int(const std::string& what);
    float Float(const std::string& what);
    // Three numbers, named "<what> x", "<what> y", "<what> z" in messages ("x", "y", "z"
    // when what is empty).
    cpoint3 Point(const std::string& what);
    // Consumes the next word when it is this unquoted keyword.
    bool TakeKeyword(const char* keyword);
    // One of the given unquoted keywords (error listing them otherwise).
    std::string OneOf(const std::string& what, std::initializer_list<const char*> keywords);
    void End();
    [[noreturn]] void Fail(const std::string& message) const;

private:
    template <typename T>
    using NumberParser = T (*)(const Word& word, const std::string& what, int lineNumber);
    // The next word read by parse; its complaint becomes this command's failure.
    template <typename T>
    T Number(const std::string& what, NumberParser<T> parse);

    const ScriptLine& line_;
    size_t next_ = 1;  // word 0 is the command
};

using CommandFn = void (*)(ScriptRunner&, Args&);
using CommandTable = std::map<std::string, CommandFn>;

void AddSceneCommands(CommandTable& table);      // new, time, range, tpf, anim, bone, rename, delete
void AddToolCommands(CommandTable& table);       // create, modify, close, press, type, choose, answer, file
void AddSelectionCommands(CommandTable& table);  // select, deselect, click, undo, redo
void AddViewportCommands(CommandTable& table);   // drag, move, rotate, scale
void AddOutputCommands(CommandTable& table);     // dump, save, load, render, panel, screenshot, gltf
void AddSkinCommands(CommandTable& table);       // import, bind, weight, paint, export, apply

const CommandTable& Commands();

}  // namespace qvapp
