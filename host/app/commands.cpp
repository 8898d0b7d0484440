// Argument reading shared by all commands, and the command table.
#include "commands.h"

namespace qvapp {

const Word& Args::Next(const std::string& what) {
    if (AtEnd()) Fail("missing " + what);
    return line_.words[next_++];
}

template <typename T>
T Args::Number(const std::string& what, NumberParser<T> parse) {
    const Word& w = Next(what);
    try {
        return parse(w, what, line_.number);
    } catch (const ScriptError& e) {
        Fail(e.what());
    }
}

int Args::Int(const std::string& what) { return Number(what, ParseInt); }
float Args::Float(const std::string& what) { return Number(what, ParseFloat); }

cpoint3 Args::Point(const std::string& what) {
    const std::string prefix = what.empty() ? "" : what + " ";
    const float x = Float(prefix + "x");
    const float y = Float(prefix + "y");
    return {x, y, Float(prefix + "z")};
}

bool Args::TakeKeyword(const char* keyword) {
    if (AtEnd()) return false;
    const Word& w = line_.words[next_];
    if (w.quoted || w.text != keyword) return false;
    ++next_;
    return true;
}

std::string Args::OneOf(const std::string& what, std::initializer_list<const char*> keywords) {
    const Word& w = Next(what);
    std::string list;
    for (const char* k : keywords) {
        if (!w.quoted && w.text == k) return w.text;
        list += list.empty() ? k : std::string("|") + k;
    }
    Fail(what + " must be " + list + ", not \"" + w.text + "\"");
}

void Args::End() {
    if (!AtEnd()) Fail("unexpected \"" + line_.words[next_].text + "\"");
}

void Args::Fail(const std::string& message) const {
    throw ScriptError(line_.number, line_.Command() + ": " + message);
}

const CommandTable& Commands() {
    static const CommandTable table = [] {
        CommandTable t;
        AddSceneCommands(t);
        AddToolCommands(t);
        AddSelectionCommands(t);
        AddViewportCommands(t);
        AddOutputCommands(t);
        AddSkinCommands(t);
        return t;
    }();
    return table;
}

}  // namespace qvapp
