// Tokens and preprocessor lines of resource scripts.
#include "rc_lexer.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "rc_expr.h"

namespace qv::res {
namespace {

// Deepest chain of #include accepted (guards against a header including itself).
constexpr int kMaxIncludeDepth = 16;

std::string Where(const std::string& file, int line) {
    return file + ":" + std::to_string(line) + ": ";
}

// Replaces comments by blanks, keeping newlines so that line numbers stay right.
bool StripComments(const std::string& in, const std::string& file, std::string& out,
                   std::string& error) {
    out.clear();
    out.reserve(in.size());
    int line = 1;
    for (size_t i = 0; i < in.size(); ++i) {
        char c = in[i];
        if (c == '\n') ++line;
        if (c == '"') {  // copy a string literal unchanged ("" and \" stay inside it)
            out += c;
            for (++i; i < in.size(); ++i) {
                out += in[i];
                if (in[i] == '\\' && i + 1 < in.size() && in[i + 1] != '\n') {
                    out += in[++i];
                } else if (in[i] == '"') {
                    if (i + 1 < in.size() && in[i + 1] == '"') out += in[++i];
                    else break;
                } else if (in[i] == '\n') {
                    break;  // Tokenize reports the unterminated string
                }
            }
            if (i < in.size() && in[i] == '\n') ++line;
            continue;
        }
        if (c == '/' && i + 1 < in.size() && in[i + 1] == '/') {
            while (i < in.size() && in[i] != '\n') ++i;
            if (i < in.size()) {
                out += '\n';
                ++line;
            }
            continue;
        }
        if (c == '/' && i + 1 < in.size() && in[i + 1] == '*') {
            int startLine = line;
            size_t end = in.find("*/", i + 2);
            if (end == std::string::npos) {
                error = Where(file, startLine) + "unterminated comment";
                return false;
            }
            for (size_t k = i; k < end + 2; ++k)
                if (in[k] == '\n') {
                    out += '\n';
                    ++line;
                }
            out += ' ';
            i = end + 1;
            continue;
        }
        out += c;
    }
    return true;
}

bool ReadNumber(const std::string& s, size_t& i, long& value) {
    size_t start = i;
    int base = 10;
    if (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    unsigned long v = 0;
    size_t digitsStart = i;
    while (i < s.size() && std::isxdigit(static_cast<unsigned char>(s[i]))) {
        char c = s[i];
        int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                                                            : std::tolower(c) - 'a' + 10;
        if (d >= base) break;
        v = v * base + d;
        ++i;
    }
    if (i == digitsStart && base == 16) {
        i = start;
        return false;
    }
    while (i < s.size() && (s[i] == 'L' || s[i] == 'l' || s[i] == 'U' || s[i] == 'u')) ++i;
    // Values are 32-bit in scripts: 0xFFFFFFFF reads as -1, as the resource compiler does.
    value = static_cast<long>(static_cast<int32_t>(static_cast<uint32_t>(v)));
    return true;
}

const char* const kPuncts[] = {"||", "&&", "==", "!=", "<=", ">=", "<<", ">>", "|", "&", "+",
                               "-",  "*",  "/",  "%",  "<",  ">",  "(",  ")",  ",", "{", "}",
                               "~",  "!",  "=",  ";",  "."};

// The punctuator at s[i], two-character ones first; null when there is none.
const char* MatchPunct(const std::string& s, size_t i) {
    for (const char* p : kPuncts)
        if (s.compare(i, std::char_traits<char>::length(p), p) == 0) return p;
    return nullptr;
}

// Decodes the string literal whose opening quote is at s[i] into text ("" is a quote; after a
// backslash n, t and 0 are escapes and any other character stands for itself) and leaves i
// after the closing quote; false when the line ends first.
bool ReadString(const std::string& s, size_t& i, std::string& text) {
    for (++i; i < s.size() && s[i] != '\n'; ++i) {
        if (s[i] == '"') {
            if (i + 1 < s.size() && s[i + 1] == '"') {
                text += '"';
                ++i;
                continue;
            }
            ++i;
            return true;
        }
        if (s[i] == '\\' && i + 1 < s.size()) {
            char e = s[++i];
            text += e == 'n' ? '\n' : e == 't' ? '\t' : e == '0' ? '\0' : e;
            continue;
        }
        text += s[i];
    }
    return false;
}

// Splits a directive's body (after the #) into its word and the rest, trimmed.
void SplitDirective(const std::string& body, std::string& word, std::string& rest) {
    std::istringstream in(body);
    in >> word;
    std::getline(in, rest);
    size_t b = rest.find_first_not_of(" \t");
    rest = b == std::string::npos ? "" : rest.substr(b);
    while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.back()))) rest.pop_back();
}

bool IsConditional(const std::string& word) {
    return word == "ifdef" || word == "ifndef" || word == "if" || word == "elif" ||
           word == "else" || word == "endif";
}

// Headers that only bring the standard symbols, which every script has anyway.
bool IsSystemHeader(const std::string& rest, const std::string& name) {
    return rest.front() == '<' || name == "windows.h" || name == "winres.h" ||
           name == "afxres.h" || name == "winresrc.h";
}

}  // namespace

bool Tokenize(const std::string& s, const std::string& file, int firstLine,
              std::vector<Token>& out, std::string& error) {
    int line = firstLine;
    for (size_t i = 0; i < s.size();) {
        char c = s[i];
        if (c == '\n') {
            ++line;
            ++i;
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        Token t;
        t.file = file;
        t.line = line;
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t start = i;
            while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_'))
                ++i;
            t.kind = Token::Kind::Ident;
            t.text = s.substr(start, i - start);
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            size_t start = i;
            if (!ReadNumber(s, i, t.value)) {
                error = Where(file, line) + "malformed number";
                return false;
            }
            t.kind = Token::Kind::Number;
            t.text = s.substr(start, i - start);
        } else if (c == '"') {
            t.kind = Token::Kind::String;
            if (!ReadString(s, i, t.text)) {
                error = Where(file, line) + "unterminated string";
                return false;
            }
        } else {
            const char* match = MatchPunct(s, i);
            if (!match) {
                error = Where(file, line) + "unexpected character '" + std::string(1, c) + "'";
                return false;
            }
            t.kind = Token::Kind::Punct;
            t.text = match;
            i += t.text.size();
        }
        out.push_back(std::move(t));
    }
    return true;
}

bool Preprocessor::Active() const {
    return branches_.empty() || branches_.back().active;
}

bool Preprocessor::Run(const std::string& file, std::vector<Token>& out, std::string& error) {
    branches_.clear();
    if (!RunFile(file, 0, out, error)) return false;
    if (!branches_.empty()) {
        error = file + ": #if without #endif";
        return false;
    }
    return true;
}

bool Preprocessor::RunFile(const std::string& file, int depth, std::vector<Token>& out,
                           std::string& error) {
    std::string raw;
    if (!reader_(file, raw)) {
        error = "cannot read " + file;
        return false;
    }
    std::string text;
    if (!StripComments(raw, file, text, error)) return false;
    size_t outerBranches = branches_.size();

    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        int startNumber = number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        while (!line.empty() && line.back() == '\\') {  // continued directive or line
            line.pop_back();
            std::string next;
            if (!std::getline(lines, next)) break;
            ++number;
            if (!next.empty() && next.back() == '\r') next.pop_back();
            line += next;
        }
        size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] == '#') {
            if (!Directive(line.substr(first + 1), file, startNumber, depth, out, error))
                return false;
        } else if (Active()) {
            if (!Tokenize(line, file, startNumber, out, error)) return false;
        }
    }
    if (branches_.size() != outerBranches) {
        error = file + ": #if without #endif";
        return false;
    }
    return true;
}

bool Preprocessor::Directive(const std::string& body, const std::string& file, int line,
                             int depth, std::vector<Token>& out, std::string& error) {
    std::string word, rest;
    SplitDirective(body, word, rest);
    if (IsConditional(word)) return Conditional(word, rest, file, line, error);
    if (!Active()) return true;
    if (word == "define") return Define(rest, file, line, error);
    if (word == "undef") {
        defines_.erase(rest);
        return true;
    }
    if (word == "include") return Include(rest, file, line, depth, out, error);
    if (word == "error") {
        error = Where(file, line) + "#error " + rest;
        return false;
    }
    if (word == "pragma" || word == "line" || word.empty()) return true;
    error = Where(file, line) + "unknown directive #" + word;
    return false;
}

bool Preprocessor::Conditional(const std::string& word, const std::string& rest,
                               const std::string& file, int line, std::string& error) {
    if (word == "ifdef" || word == "ifndef") {
        bool defined = defines_.count(rest) > 0;
        bool cond = word == "ifdef" ? defined : !defined;
        bool outer = Active();
        branches_.push_back({outer && cond, cond, outer});
        return true;
    }
    if (word == "if" || word == "elif") {
        bool outer = word == "if" ? Active() : (!branches_.empty() && branches_.back().outerActive);
        if (word == "elif" && branches_.empty()) {
            error = Where(file, line) + "#elif without #if";
            return false;
        }
        long value = 0;
        if (outer && !Condition(word, rest, file, line, value, error)) return false;
        if (word == "if") {
            branches_.push_back({outer && value != 0, value != 0, outer});
        } else {
            Branch& br = branches_.back();
            br.active = outer && !br.taken && value != 0;
            br.taken = br.taken || value != 0;
        }
        return true;
    }
    // #else or #endif
    if (branches_.empty()) {
        error = Where(file, line) + "#" + word + " without #if";
        return false;
    }
    if (word == "endif") {
        branches_.pop_back();
    } else {
        Branch& br = branches_.back();
        br.active = br.outerActive && !br.taken;
        br.taken = true;
    }
    return true;
}

bool Preprocessor::Condition(const std::string& word, const std::string& rest,
                             const std::string& file, int line, long& value,
                             std::string& error) {
    std::vector<Token> toks;
    if (!Tokenize(rest, file, line, toks, error)) return false;
    // defined(X) and defined X become 1 or 0 before evaluation.
    std::vector<Token> expanded;
    for (size_t i = 0; i < toks.size(); ++i) {
        if (toks[i].kind == Token::Kind::Ident && toks[i].text == "defined") {
            size_t k = i + 1;
            bool paren = k < toks.size() && toks[k].text == "(";
            if (paren) ++k;
            if (k >= toks.size() || toks[k].kind != Token::Kind::Ident) {
                error = Where(file, line) + "defined needs a name";
                return false;
            }
            Token one = toks[k];
            one.kind = Token::Kind::Number;
            one.value = defines_.count(toks[k].text) ? 1 : 0;
            expanded.push_back(one);
            i = paren ? k + 1 : k;
            continue;
        }
        expanded.push_back(toks[i]);
    }
    size_t pos = 0;
    // Unknown names count as 0 in conditions, as in C.
    ExprReader reader(expanded, pos, [this](const std::string& n, long& v) {
        auto it = defines_.find(n);
        v = 0;
        if (it != defines_.end()) v = std::strtol(it->second.c_str(), nullptr, 0);
        return true;
    });
    if (!reader.Value(value, error)) return false;
    if (pos != expanded.size()) {
        error = Where(file, line) + "unexpected text after #" + word + " condition";
        return false;
    }
    return true;
}

bool Preprocessor::Define(const std::string& rest, const std::string& file, int line,
                          std::string& error) {
    std::istringstream d(rest);
    std::string name;
    d >> name;
    if (name.empty()) {
        error = Where(file, line) + "#define needs a name";
        return false;
    }
    if (name.find('(') != std::string::npos) return true;  // function-like: not used here
    std::string value;
    std::getline(d, value);
    size_t v = value.find_first_not_of(" \t");
    defines_[name] = v == std::string::npos ? "" : value.substr(v);
    return true;
}

bool Preprocessor::Include(const std::string& rest, const std::string& file, int line,
                           int depth, std::vector<Token>& out, std::string& error) {
    if (rest.size() < 2 || !((rest.front() == '"' && rest.back() == '"') ||
                             (rest.front() == '<' && rest.back() == '>'))) {
        error = Where(file, line) + "#include needs \"file\" or <file>";
        return false;
    }
    std::string name = rest.substr(1, rest.size() - 2);
    std::string probe;
    if (!reader_(name, probe)) {
        if (IsSystemHeader(rest, name)) return true;
        error = Where(file, line) + "cannot open include file " + name;
        return false;
    }
    if (depth + 1 > kMaxIncludeDepth) {
        error = Where(file, line) + "#include nested too deeply";
        return false;
    }
    return RunFile(name, depth + 1, out, error);
}

}  // namespace qv::res
