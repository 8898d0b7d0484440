// Reading a resource script into tokens: comments, string and number literals, and the
// preprocessor lines (#include, #define, #if/#ifdef/#else/#endif) that resource scripts use.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qv::res {

struct Token {
    enum class Kind { End, Ident, Number, String, Punct };
    Kind kind = Kind::End;
    std::string text;  // identifier, punctuation, or the string's decoded contents
    long value = 0;    // numbers
    std::string file;
    int line = 0;
};

// Answers the contents of a file named by the script (the script itself, headers, bitmaps).
using FileReader = std::function<bool(const std::string& name, std::string& contents)>;

// Splits one piece of text (no preprocessor lines) into tokens; false with a message on an
// unterminated string or a stray character.
bool Tokenize(const std::string& text, const std::string& file, int firstLine,
              std::vector<Token>& out, std::string& error);

// Runs the preprocessor over a script and the headers it includes, collecting the tokens of
// the active lines and every object-like #define (name -> replacement text).
class Preprocessor {
public:
    explicit Preprocessor(FileReader reader) : reader_(std::move(reader)) {}
    bool Run(const std::string& file, std::vector<Token>& out, std::string& error);
    const std::map<std::string, std::string>& Defines() const { return defines_; }

private:
    bool RunFile(const std::string& file, int depth, std::vector<Token>& out, std::string& error);
    bool Directive(const std::string& body, const std::string& file, int line, int depth,
                   std::vector<Token>& out, std::string& error);
    // #ifdef, #ifndef, #if, #elif, #else and #endif: the branch stack.
    bool Conditional(const std::string& word, const std::string& rest, const std::string& file,
                     int line, std::string& error);
    // The value of an #if or #elif condition.
    bool Condition(const std::string& word, const std::string& rest, const std::string& file,
                   int line, long& value, std::string& error);
    bool Define(const std::string& rest, const std::string& file, int line, std::string& error);
    bool Include(const std::string& rest, const std::string& file, int line, int depth,
                 std::vector<Token>& out, std::string& error);
    bool Active() const;

    struct Branch {
        bool active;       // lines of this branch are read
        bool taken;        // some branch of this #if chain was active
        bool outerActive;  // the enclosing chain was active
    };
    FileReader reader_;
    std::map<std::string, std::string> defines_;
    std::vector<Branch> branches_;
};

// Symbols every resource script may use without a header: the window, dialog, button, edit,
// static and combo box styles and the standard command ids.
const std::map<std::string, long>& StandardSymbols();

}  // namespace qv::res
