// Tokeniser and number parsing for session scripts.
#include "script_parser.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <string_view>

namespace qvapp {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

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
    // Editors that save UTF-8 with a byte-order mark put it before the first line.
    const bool marked = text.compare(0, kUtf8ByteOrderMark.size(), kUtf8ByteOrderMark) == 0;
    std::istringstream in(marked ? text.substr(kUtf8ByteOrderMark.size()) : text);
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
    // Decimal, with or without an exponent (1e-3); inf and nan parse but are refused below.
    auto [end, ec] = std::from_chars(begin, s.data() + s.size(), value, std::chars_format::general);
    const std::string prefix = what + ": \"" + s + "\" ";
    if (ec == std::errc::result_out_of_range)
        throw ScriptError(lineNumber, prefix + "is out of a float's range (magnitudes from about "
                                               "1e-45 to 3.4e38)");
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        throw ScriptError(lineNumber, prefix + "is not a number");
    return value;
}

}  // namespace qvapp
