// Statement parser of resource scripts: DIALOG/DIALOGEX templates with their controls, BITMAP
// resources; other resource types are skipped.
#include "rc_parser.h"

#include <algorithm>
#include <cctype>
#include <windows.h>

#include "rc_expr.h"

namespace qv::res {
namespace {

// Deepest chain of #define references followed when resolving a symbol.
constexpr int kMaxDefineDepth = 32;

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// How a control statement reads and which styles it implies.
struct StatementKind {
    const char* keyword;
    ControlClass cls;
    const char* className;
    long defaultStyle;  // besides WS_CHILD | WS_VISIBLE
    bool hasText;
};

const StatementKind kStatements[] = {
    {"LTEXT", ControlClass::Static, "Static", SS_LEFT | WS_GROUP, true},
    {"RTEXT", ControlClass::Static, "Static", SS_RIGHT | WS_GROUP, true},
    {"CTEXT", ControlClass::Static, "Static", SS_CENTER | WS_GROUP, true},
    {"GROUPBOX", ControlClass::Button, "Button", BS_GROUPBOX, true},
    {"PUSHBUTTON", ControlClass::Button, "Button", BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", ControlClass::Button, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"PUSHBOX", ControlClass::Button, "Button", BS_PUSHBOX | WS_TABSTOP, true},
    {"CHECKBOX", ControlClass::Button, "Button", BS_CHECKBOX | WS_TABSTOP, true},
    {"AUTOCHECKBOX", ControlClass::Button, "Button", BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {"STATE3", ControlClass::Button, "Button", BS_3STATE | WS_TABSTOP, true},
    {"AUTO3STATE", ControlClass::Button, "Button", BS_AUTO3STATE | WS_TABSTOP, true},
    {"RADIOBUTTON", ControlClass::Button, "Button", BS_RADIOBUTTON, true},
    {"AUTORADIOBUTTON", ControlClass::Button, "Button", BS_AUTORADIOBUTTON, true},
    {"EDITTEXT", ControlClass::Edit, "Edit", ES_LEFT | WS_BORDER | WS_TABSTOP, false},
    {"COMBOBOX", ControlClass::ComboBox, "ComboBox", CBS_SIMPLE | WS_TABSTOP, false},
    {"LISTBOX", ControlClass::ListBox, "ListBox", LBS_NOTIFY | WS_BORDER, false},
    {"ICON", ControlClass::Static, "Static", SS_ICON, true},
};

const char* const kMemoryOptions[] = {"DISCARDABLE", "MOVEABLE", "PURE",   "PRELOAD", "LOADONCALL",
                                      "FIXED",       "IMPURE",   "SHARED", "NONSHARED"};

ControlClass ClassOf(const std::string& name) {
    if (EqualNoCase(name, "Button")) return ControlClass::Button;
    if (EqualNoCase(name, "Edit")) return ControlClass::Edit;
    if (EqualNoCase(name, "Static")) return ControlClass::Static;
    if (EqualNoCase(name, "ComboBox")) return ControlClass::ComboBox;
    if (EqualNoCase(name, "ListBox")) return ControlClass::ListBox;
    return ControlClass::Other;
}

class Parser {
public:
    Parser(const std::vector<Token>& tokens, const std::map<std::string, std::string>& defines)
        : t_(tokens), defines_(defines) {}

    bool Script(ResourceScript& out, std::string& error);

private:
    const Token& Peek(size_t ahead = 0) const {
        static const Token kEnd;
        return pos_ + ahead < t_.size() ? t_[pos_ + ahead] : kEnd;
    }
    bool IsWord(const char* w, size_t ahead = 0) const {
        const Token& t = Peek(ahead);
        return t.kind == Token::Kind::Ident && EqualNoCase(t.text, w);
    }
    bool IsPunct(const char* p) const {
        return Peek().kind == Token::Kind::Punct && Peek().text == p;
    }
    bool Begins() const { return IsWord("BEGIN") || IsPunct("{"); }
    bool Ends() const { return IsWord("END") || IsPunct("}"); }
    bool Fail(const std::string& what, std::string& error) const;
    bool Comma(const char* after, std::string& error);
    bool Number(const std::string& what, long& v, std::string& error);
    bool Style(long& v, std::string& error);
    bool String(const char* what, std::string& s, std::string& error);
    bool Lookup(const std::string& name, long& v, int depth) const;

    bool Dialog(DialogTemplate& dlg, std::string& error);
    bool DialogOptions(DialogTemplate& dlg, std::string& error);
    bool ControlStatement(const StatementKind& kind, ControlTemplate& c, std::string& error);
    bool GenericControl(ControlTemplate& c, std::string& error);
    // x, y, width and height, comma-separated, into the template's x, y, cx and cy; `whose`
    // ("dialog", "control") names the numbers in messages.
    template <class Template>
    bool Rect(const std::string& whose, Template& t, std::string& error);
    bool SkipResource(std::string& error);
    bool SkipBlock(std::string& error);

    const std::vector<Token>& t_;
    const std::map<std::string, std::string>& defines_;
    size_t pos_ = 0;
};

bool Parser::Fail(const std::string& what, std::string& error) const {
    const Token& t = Peek();
    const Token& at = (t.kind == Token::Kind::End && !t_.empty()) ? t_.back() : t;
    std::string found = t.kind == Token::Kind::End ? "end of script"
                        : t.kind == Token::Kind::String ? "\"" + t.text + "\""
                                                        : "'" + t.text + "'";
    error = at.file + ":" + std::to_string(at.line) + ": " + what + ", found " + found;
    return false;
}

bool Parser::Lookup(const std::string& name, long& v, int depth) const {
    auto it = defines_.find(name);
    if (it != defines_.end() && depth < kMaxDefineDepth) {
        std::vector<Token> toks;
        std::string err;
        if (!Tokenize(it->second, "", 0, toks, err) || toks.empty()) return false;
        size_t pos = 0;
        ExprReader r(toks, pos, [&](const std::string& n, long& x) {
            return Lookup(n, x, depth + 1);
        });
        return r.Value(v, err) && pos == toks.size();
    }
    auto s = StandardSymbols().find(name);
    if (s == StandardSymbols().end()) return false;
    v = s->second;
    return true;
}

bool Parser::Comma(const char* after, std::string& error) {
    if (!IsPunct(",")) return Fail(std::string("expected ',' after ") + after, error);
    ++pos_;
    return true;
}

bool Parser::Number(const std::string& what, long& v, std::string& error) {
    ExprReader r(t_, pos_, [this](const std::string& n, long& x) { return Lookup(n, x, 0); });
    if (Peek().kind == Token::Kind::String || Peek().kind == Token::Kind::End || Begins() ||
        Ends())
        return Fail("expected " + what, error);
    return r.Value(v, error);
}

bool Parser::Style(long& v, std::string& error) {
    ExprReader r(t_, pos_, [this](const std::string& n, long& x) { return Lookup(n, x, 0); });
    return r.Style(v, error);
}

bool Parser::String(const char* what, std::string& s, std::string& error) {
    if (Peek().kind != Token::Kind::String) return Fail(std::string("expected ") + what, error);
    s = Peek().text;
    ++pos_;
    return true;
}

bool Parser::Script(ResourceScript& out, std::string& error) {
    while (Peek().kind != Token::Kind::End) {
        if (IsWord("LANGUAGE")) {  // LANGUAGE primary, sub
            ++pos_;
            long a = 0, b = 0;
            if (!Number("a language id", a, error) || !Comma("the language", error) ||
                !Number("a sublanguage id", b, error))
                return false;
            continue;
        }
        if (IsWord("STRINGTABLE")) {
            ++pos_;
            if (!SkipResource(error)) return false;
            continue;
        }
        const Token& nameTok = Peek();
        if (nameTok.kind != Token::Kind::Ident && nameTok.kind != Token::Kind::Number &&
            nameTok.kind != Token::Kind::String)
            return Fail("expected a resource name", error);
        long id = 0;
        std::string name;
        if (nameTok.kind == Token::Kind::Number) {
            id = nameTok.value;
        } else if (nameTok.kind == Token::Kind::Ident && Lookup(nameTok.text, id, 0)) {
        } else {
            name = nameTok.text;
        }
        ++pos_;
        if (Peek().kind != Token::Kind::Ident) return Fail("expected a resource type", error);
        if (IsWord("DIALOG") || IsWord("DIALOGEX")) {
            DialogTemplate dlg;
            dlg.id = static_cast<int>(id);
            dlg.name = name;
            dlg.extended = IsWord("DIALOGEX");
            ++pos_;
            if (!Dialog(dlg, error)) return false;
            out.dialogs.push_back(std::move(dlg));
        } else if (IsWord("BITMAP")) {
            ++pos_;
            while (Peek().kind == Token::Kind::Ident &&
                   std::any_of(std::begin(kMemoryOptions), std::end(kMemoryOptions),
                               [&](const char* o) { return IsWord(o); }))
                ++pos_;
            BitmapResource bmp;
            bmp.id = static_cast<int>(id);
            bmp.name = name;
            if (!String("a bitmap file name", bmp.file, error)) return false;
            bmp.line = nameTok.line;
            out.bitmaps.push_back(std::move(bmp));
        } else {
            ++pos_;
            if (!SkipResource(error)) return false;
        }
    }
    return true;
}

// Skips a resource of a type this platform does not use: either a file name or options
// followed by a BEGIN/END block.
bool Parser::SkipResource(std::string& error) {
    while (Peek().kind != Token::Kind::End && !Begins()) {
        if (Peek().kind == Token::Kind::String) {  // ID ICON "file.ico"
            ++pos_;
            return true;
        }
        ++pos_;
    }
    if (Peek().kind == Token::Kind::End) return Fail("expected BEGIN", error);
    return SkipBlock(error);
}

bool Parser::SkipBlock(std::string& error) {
    int depth = 0;
    do {
        if (Peek().kind == Token::Kind::End) return Fail("expected END", error);
        if (Begins()) ++depth;
        else if (Ends()) --depth;
        ++pos_;
    } while (depth > 0);
    return true;
}

bool Parser::Dialog(DialogTemplate& dlg, std::string& error) {
    while (Peek().kind == Token::Kind::Ident &&
           std::any_of(std::begin(kMemoryOptions), std::end(kMemoryOptions),
                       [&](const char* o) { return IsWord(o); }))
        ++pos_;
    if (!Rect("dialog", dlg, error)) return false;
    if (dlg.extended && IsPunct(",")) {  // help id
        ++pos_;
        long help = 0;
        if (!Number("a help id", help, error)) return false;
    }
    dlg.style = static_cast<uint32_t>(WS_POPUP | WS_BORDER | WS_SYSMENU);
    if (!DialogOptions(dlg, error)) return false;
    if (!Begins()) return Fail("expected BEGIN or '{' to open the dialog's controls", error);
    ++pos_;
    while (!Ends()) {
        if (Peek().kind == Token::Kind::End)
            return Fail("expected END to close dialog " + (dlg.name.empty()
                                                               ? std::to_string(dlg.id)
                                                               : dlg.name),
                        error);
        if (Peek().kind != Token::Kind::Ident) return Fail("expected a control statement", error);
        ControlTemplate c;
        c.line = Peek().line;
        if (IsWord("CONTROL")) {
            ++pos_;
            if (!GenericControl(c, error)) return false;
        } else {
            const StatementKind* kind = nullptr;
            for (const StatementKind& k : kStatements)
                if (IsWord(k.keyword)) kind = &k;
            if (!kind) return Fail("unknown control statement", error);
            ++pos_;
            if (!ControlStatement(*kind, c, error)) return false;
        }
        dlg.controls.push_back(std::move(c));
    }
    ++pos_;
    return true;
}

bool Parser::DialogOptions(DialogTemplate& dlg, std::string& error) {
    while (!Begins()) {
        if (IsWord("STYLE")) {
            ++pos_;
            long style = 0;
            if (!Style(style, error)) return false;
            dlg.style = static_cast<uint32_t>(style);
        } else if (IsWord("EXSTYLE")) {
            ++pos_;
            long style = 0;
            if (!Style(style, error)) return false;
            dlg.exStyle = static_cast<uint32_t>(style);
        } else if (IsWord("CAPTION")) {
            ++pos_;
            if (!String("the caption text", dlg.caption, error)) return false;
        } else if (IsWord("FONT")) {
            ++pos_;
            long size = 0;
            if (!Number("the font size", size, error) || !Comma("the font size", error) ||
                !String("the font name", dlg.fontName, error))
                return false;
            dlg.fontSize = static_cast<int>(size);
            while (IsPunct(",")) {  // DIALOGEX: weight, italic, charset
                ++pos_;
                long ignored = 0;
                if (!Number("a font attribute", ignored, error)) return false;
            }
        } else if (IsWord("CLASS") || IsWord("MENU")) {
            ++pos_;
            if (Peek().kind == Token::Kind::End) return Fail("expected a name", error);
            ++pos_;
        } else if (IsWord("LANGUAGE")) {
            ++pos_;
            long a = 0, b = 0;
            if (!Number("a language id", a, error) || !Comma("the language", error) ||
                !Number("a sublanguage id", b, error))
                return false;
        } else if (IsWord("CHARACTERISTICS") || IsWord("VERSION")) {
            ++pos_;
            long ignored = 0;
            if (!Number("a number", ignored, error)) return false;
        } else {
            return Fail("expected a dialog option (STYLE, CAPTION, FONT, ...) or BEGIN", error);
        }
    }
    return true;
}

template <class Template>
bool Parser::Rect(const std::string& whose, Template& t, std::string& error) {
    const std::string the = "the " + whose + "'s ";
    long x = 0, y = 0, cx = 0, cy = 0;
    if (!Number(the + "x", x, error) || !Comma("x", error) ||
        !Number(the + "y", y, error) || !Comma("y", error) ||
        !Number(the + "width", cx, error) || !Comma("the width", error) ||
        !Number(the + "height", cy, error))
        return false;
    t.x = x, t.y = y, t.cx = cx, t.cy = cy;
    return true;
}

// LTEXT "text", id, x, y, w, h [, style [, exstyle]]   (EDITTEXT etc. have no text)
bool Parser::ControlStatement(const StatementKind& kind, ControlTemplate& c, std::string& error) {
    c.cls = kind.cls;
    c.className = kind.className;
    if (kind.hasText) {
        if (Peek().kind == Token::Kind::Number) {  // ordinal text (an icon id)
            c.text = Peek().text;
            ++pos_;
        } else if (!String("the control's text", c.text, error)) {
            return false;
        }
        if (!Comma("the control's text", error)) return false;
    }
    long id = 0;
    if (!Number("the control's id", id, error) || !Comma("the control's id", error)) return false;
    c.id = static_cast<int>(id);
    if (std::string(kind.keyword) == "ICON") {  // ICON text, id, x, y [, w, h [, style]]
        long x = 0, y = 0;
        if (!Number("the icon's x", x, error) || !Comma("x", error) ||
            !Number("the icon's y", y, error))
            return false;
        c.x = x, c.y = y;
        if (IsPunct(",")) {
            ++pos_;
            long cx = 0, cy = 0;
            if (!Number("the icon's width", cx, error) || !Comma("the width", error) ||
                !Number("the icon's height", cy, error))
                return false;
            c.cx = cx, c.cy = cy;
        }
    } else if (!Rect("control", c, error)) {
        return false;
    }
    long style = WS_CHILD | WS_VISIBLE | kind.defaultStyle;
    if (IsPunct(",")) {
        ++pos_;
        if (!Style(style, error)) return false;
        if (IsPunct(",")) {
            ++pos_;
            long ex = 0;
            if (!Style(ex, error)) return false;
            c.exStyle = static_cast<uint32_t>(ex);
        }
    }
    c.style = static_cast<uint32_t>(style);
    return true;
}

// CONTROL "text", id, class, style, x, y, w, h [, exstyle]
bool Parser::GenericControl(ControlTemplate& c, std::string& error) {
    if (Peek().kind == Token::Kind::Number) {
        c.text = Peek().text;
        ++pos_;
    } else if (!String("the control's text", c.text, error)) {
        return false;
    }
    long id = 0;
    if (!Comma("the control's text", error) || !Number("the control's id", id, error) ||
        !Comma("the control's id", error))
        return false;
    c.id = static_cast<int>(id);
    if (Peek().kind == Token::Kind::String || Peek().kind == Token::Kind::Ident) {
        c.className = Peek().text;
        ++pos_;
    } else {
        return Fail("expected the control's class", error);
    }
    c.cls = ClassOf(c.className);
    long style = WS_CHILD | WS_VISIBLE;
    if (!Comma("the control's class", error) || !Style(style, error) ||
        !Comma("the control's style", error) || !Rect("control", c, error))
        return false;
    c.style = static_cast<uint32_t>(style);
    if (IsPunct(",")) {
        ++pos_;
        long ex = 0;
        if (!Style(ex, error)) return false;
        c.exStyle = static_cast<uint32_t>(ex);
    }
    return true;
}

long NumericDefine(const std::string& text, bool& ok) {
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 0);
    ok = end && end != text.c_str();
    return v;
}

}  // namespace

bool ParseResourceScript(const std::string& file, const FileReader& reader, ResourceScript& out,
                         std::string& error) {
    out = ResourceScript{};
    Preprocessor pre(reader);
    std::vector<Token> tokens;
    ResourceScript script;
    if (!pre.Run(file, tokens, error)) return false;
    Parser parser(tokens, pre.Defines());
    if (!parser.Script(script, error)) return false;
    for (BitmapResource& b : script.bitmaps) {
        int line = b.line;
        std::string bytes, why;
        if (!reader(b.file, bytes)) {
            error = file + ":" + std::to_string(line) + ": cannot read bitmap file " + b.file;
            return false;
        }
        if (!DecodeBmp(bytes, b.bitmap, why)) {
            error = file + ":" + std::to_string(line) + ": bitmap " + b.file + ": " + why;
            return false;
        }
    }
    for (const auto& [name, text] : pre.Defines()) {
        bool ok = false;
        long v = NumericDefine(text, ok);
        if (ok) script.symbols[name] = v;
    }
    out = std::move(script);
    return true;
}

}  // namespace qv::res
