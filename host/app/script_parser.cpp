// Tokeniser and number parsing for session scripts.
#include "script_parser.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace qvapp {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a quoted word starting at text[i] == '"'; supports \" and \\ inside.
Word ReadQuoted(const std::string& text, size_t& i, int lineNumber) {
    Word w;
    w.quoted = true;
    ++i;  // opening quote
    while (i < text.size()) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
            w.text += text[i + 1];
            i += 2;
            continue;
        }
        if (c == '"') {
            ++i;
            if (i < text.size() && !IsBlank(text[i]))
                throw ScriptError(lineNumber, "a closing quote must be followed by a blank");
            return w;
        }
        w.text += c;
        ++i;
    }
    throw ScriptError(lineNumber, "unterminated quote");
}

}  // namespace

std::vector<Word> SplitWords(const std::string& text, int lineNumber) {
    std::vector<Word> words;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        // `#` followed by a digit names a control by id; otherwise the rest is a comment.
        if (c == '#' && !(i + 1 < text.size() && IsDigit(text[i + 1]))) break;
        if (c == '"') {
            words.push_back(ReadQuoted(text, i, lineNumber));
            continue;
        }
        Word w;
        while (i < text.size() && !IsBlank(text[i])) {
            if (text[i] == '"')
                throw ScriptError(lineNumber, "a quote inside a word; quote the whole word");
            w.text += text[i++];
        }
        words.push_back(std::move(w));
    }
    return words;
}

std::vector<ScriptLine> ParseScript(const std::string& text) {
    std::vector<ScriptLine> lines;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        ScriptLine line;
        line.number = number;
        line.words = SplitWords(raw, number);
        if (!line.words.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

int ParseInt(const Word& word, const std::string& what, int lineNumber) {
    const std::string& s = word.text;
    int value = 0;
    const char* begin = s.data();
    if (!s.empty() && s[0] == '+') ++begin;
    auto [end, ec] = std::from_chars(begin, s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        throw ScriptError(lineNumber, what + ": \"" + s + "\" is not a whole number");
    return value;
}

float ParseFloat(const Word& word, const std::string& what, int lineNumber) {
    const std::string& s = word.text;
    float value = 0.0f;
    const char* begin = s.data();
    if (!s.empty() && s[0] == '+') ++begin;
    auto [end, ec] = std::from_chars(begin, s.data() + s.size(), value, std::chars_format::fixed);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        throw ScriptError(lineNumber, what + ": \"" + s + "\" is not a decimal number");
    return value;
}

}  // namespace qvapp
