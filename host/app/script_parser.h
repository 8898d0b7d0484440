// Session script text → lines of words. One command per line; blanks separate words; double
// quotes keep blanks inside a word; `#` starts a comment (but `#1005`, a control id, is a word).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace qvapp {

struct Word {
    std::string text;
    bool quoted = false;  // written in double quotes (never a keyword then)
};

struct ScriptLine {
    int number = 0;           // 1-based line number in the script file
    std::vector<Word> words;  // never empty: blank and comment-only lines are dropped

    const std::string& Command() const { return words.front().text; }
};

// A fault in the script, located at a line (0 when the line is not known).
class ScriptError : public std::runtime_error {
public:
    ScriptError(int line, const std::string& message)
        : std::runtime_error(message), line_(line) {}
    int Line() const { return line_; }
private:
    int line_;
};

// Splits one line into words; throws ScriptError (with lineNumber) on an unterminated quote or a
// quote glued to a word.
std::vector<Word> SplitWords(const std::string& text, int lineNumber);

// Parses a whole script (a UTF-8 byte-order mark at its start is skipped); throws ScriptError
// at the first bad line.
std::vector<ScriptLine> ParseScript(const std::string& text);

// Strict decimal numbers (floats may carry an exponent, 1e-3): the whole word must be the
// number; throws ScriptError with a message naming what the number was for.
int ParseInt(const Word& word, const std::string& what, int lineNumber);
float ParseFloat(const Word& word, const std::string& what, int lineNumber);

}  // namespace qvapp
