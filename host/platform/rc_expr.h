// Integer expressions of resource scripts: ids, coordinates and style flags, and the
// conditions of #if lines.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "rc_lexer.h"

namespace qv::res {

// Answers a symbol's value; false when the symbol is unknown.
using SymbolLookup = std::function<bool(const std::string& name, long& value)>;

// Reads expressions from a token list, starting at `pos` and leaving it after the expression.
// Operators, loosest first: || && (== !=) (< > <= >=) | & (+ -) (* / %) and unary - ~ ! NOT.
class ExprReader {
public:
    ExprReader(const std::vector<Token>& tokens, size_t& pos, SymbolLookup lookup)
        : t_(tokens), pos_(pos), lookup_(std::move(lookup)) {}
    bool Value(long& value, std::string& error);
    // A style list: terms joined by '|', each set into `value` (which starts as the
    // statement's default styles), or cleared from it when written as "NOT term".
    bool Style(long& value, std::string& error);

private:
    bool Binary(int level, long& value, std::string& error);
    bool Unary(long& value, std::string& error);
    bool Primary(long& value, std::string& error);
    const Token& Peek() const;
    bool IsPunct(const char* p) const;
    bool Fail(const std::string& what, std::string& error) const;

    const std::vector<Token>& t_;
    size_t& pos_;
    SymbolLookup lookup_;
    int depth_ = 0;
};

}  // namespace qv::res
