// Scanning BVH text: lines of any length ended by LF, CR LF or CR alone, tokens split at
// blanks, tabs and line ends, and numbers read the way the reader wants them.
#pragma once

#include <cstddef>
#include <string_view>

// Line by line over the whole text. The text has ended when the last read reached its end:
// a last line without a line end, or no line left at all.
class BvhLines {
public:
    explicit BvhLines(std::string_view text) : text_(text) {}
    // The next line without its line end (empty once the text is used up).
    std::string_view Next();
    bool Ended() const { return ended_; }
    // 1-based number of the line Next returned last.
    int LineNumber() const { return line_; }
    // Bytes not read yet.
    size_t Remaining() const { return text_.size() - pos_; }

private:
    std::string_view text_;
    size_t pos_ = 0;
    bool ended_ = false;
    int line_ = 0;
};

inline bool IsBvhSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Tokens of one line, read from the front.
class BvhTokens {
public:
    explicit BvhTokens(std::string_view line) : p_(line.data()), end_(line.data() + line.size()) {}
    // The next token, or an empty view when the line has no more.
    std::string_view Next();

private:
    const char* p_;
    const char* end_;
};

// A number token read as the reader reads decimals: an optional sign, digits, a fraction and
// an exponent ("-0", ".0083", "1e-3", "+2"); trailing characters of the token are ignored.
// 0 when the token does not start with a finite number.
bool ParseBvhFloat(std::string_view token, float& value);
// An integer token ("455", "-3"); trailing characters are ignored. 0 when it does not start
// with an integer that fits an int.
bool ParseBvhInt(std::string_view token, int& value);

// The numbers of a motion line, read in order without making tokens first.
class BvhNumbers {
public:
    explicit BvhNumbers(std::string_view line) : p_(line.data()), end_(line.data() + line.size()) {}
    enum class Status { Ok, End, NotANumber };
    // The next value, End when the line has none left, NotANumber when the next token is not
    // one (token then holds it).
    Status Next(float& value, std::string_view& token);

private:
    const char* p_;
    const char* end_;
};
