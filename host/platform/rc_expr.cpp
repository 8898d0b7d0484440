// Integer expression evaluation for resource scripts (precedence climbing over tokens).
#include "rc_expr.h"

#include <array>

namespace qv::res {
namespace {

// Deepest nesting of parentheses and unary operators accepted (guards the stack).
constexpr int kMaxDepth = 200;

// Binary operators by level, loosest first.
const std::array<std::vector<const char*>, 8> kLevels = {{
    {"||"}, {"&&"}, {"==", "!="}, {"<", ">", "<=", ">="}, {"|"}, {"&"}, {"+", "-"}, {"*", "/", "%"}}};

long Apply(const std::string& op, long a, long b, bool& divByZero) {
    if (op == "||") return (a || b) ? 1 : 0;
    if (op == "&&") return (a && b) ? 1 : 0;
    if (op == "==") return a == b;
    if (op == "!=") return a != b;
    if (op == "<") return a < b;
    if (op == ">") return a > b;
    if (op == "<=") return a <= b;
    if (op == ">=") return a >= b;
    if (op == "|") return a | b;
    if (op == "&") return a & b;
    if (op == "+") return a + b;
    if (op == "-") return a - b;
    if (op == "*") return a * b;
    if (b == 0) {
        divByZero = true;
        return 0;
    }
    return op == "/" ? a / b : a % b;
}

}  // namespace

const Token& ExprReader::Peek() const {
    static const Token kEnd;
    return pos_ < t_.size() ? t_[pos_] : kEnd;
}

bool ExprReader::IsPunct(const char* p) const {
    const Token& t = Peek();
    return t.kind == Token::Kind::Punct && t.text == p;
}

bool ExprReader::Fail(const std::string& what, std::string& error) const {
    const Token& t = Peek();
    const Token& at = (t.kind == Token::Kind::End && !t_.empty()) ? t_.back() : t;
    std::string found = t.kind == Token::Kind::End ? "end of script" : "'" + t.text + "'";
    error = at.file + ":" + std::to_string(at.line) + ": " + what + ", found " + found;
    return false;
}

bool ExprReader::Value(long& value, std::string& error) {
    return Binary(0, value, error);
}

bool ExprReader::Binary(int level, long& value, std::string& error) {
    if (level == static_cast<int>(kLevels.size())) return Unary(value, error);
    if (!Binary(level + 1, value, error)) return false;
    for (;;) {
        const char* op = nullptr;
        for (const char* candidate : kLevels[level])
            if (IsPunct(candidate)) op = candidate;
        if (!op) return true;
        const Token& opTok = Peek();
        ++pos_;
        long rhs = 0;
        if (!Binary(level + 1, rhs, error)) return false;
        bool divByZero = false;
        value = Apply(op, value, rhs, divByZero);
        if (divByZero) {
            error = opTok.file + ":" + std::to_string(opTok.line) + ": division by zero";
            return false;
        }
    }
}

bool ExprReader::Unary(long& value, std::string& error) {
    if (++depth_ > kMaxDepth) return Fail("expression nested too deeply", error);
    bool ok = true;
    const Token& t = Peek();
    if (IsPunct("-") || IsPunct("~") || IsPunct("!") || IsPunct("+") ||
        (t.kind == Token::Kind::Ident && t.text == "NOT")) {
        std::string op = t.text;
        ++pos_;
        ok = Unary(value, error);
        if (op == "-") value = -value;
        else if (op == "~" || op == "NOT") value = ~value;
        else if (op == "!") value = !value;
    } else {
        ok = Primary(value, error);
    }
    --depth_;
    return ok;
}

bool ExprReader::Primary(long& value, std::string& error) {
    const Token& t = Peek();
    if (t.kind == Token::Kind::Number) {
        value = t.value;
        ++pos_;
        return true;
    }
    if (t.kind == Token::Kind::Ident) {
        if (!lookup_ || !lookup_(t.text, value)) {
            error = t.file + ":" + std::to_string(t.line) + ": unknown symbol " + t.text;
            return false;
        }
        ++pos_;
        return true;
    }
    if (IsPunct("(")) {
        ++pos_;
        if (!Value(value, error)) return false;
        if (!IsPunct(")")) return Fail("expected ')'", error);
        ++pos_;
        return true;
    }
    return Fail("expected a number or symbol", error);
}

bool ExprReader::Style(long& value, std::string& error) {
    for (;;) {
        const Token& t = Peek();
        bool clear = t.kind == Token::Kind::Ident && t.text == "NOT";
        if (clear) ++pos_;
        long term = 0;
        // A term stops at '|' so that NOT applies to it alone.
        if (!Binary(5, term, error)) return false;
        if (clear) value &= ~term;
        else value |= term;
        if (!IsPunct("|")) return true;
        ++pos_;
    }
}

}  // namespace qv::res
