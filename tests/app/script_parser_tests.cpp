// The script tokeniser: words, quotes, comments, control ids, numbers and the lines it refuses.
#include <gtest/gtest.h>

#include "script_parser.h"

namespace qvapp {
namespace {

std::vector<std::string> Texts(const std::vector<Word>& words) {
    std::vector<std::string> out;
    for (const Word& w : words) out.push_back(w.text);
    return out;
}

TEST(ScriptWords, QuotesKeepBlanksAndHashesAndHashDigitsNameAControl) {
    const std::pair<const char*, std::vector<std::string>> lines[] = {
        {R"(create "Bones" "Biped"   press "Generate Keyframes")",
         {"create", "Bones", "Biped", "press", "Generate Keyframes"}},
        {R"(type "Name:" "")", {"type", "Name:", ""}},
        {R"(type "Name:" "say \"hi\"")", {"type", "Name:", "say \"hi\""}},
        {"press #1005   # the spin button", {"press", "#1005"}},
        {"   # only a comment", {}},
        {"time 5 #comment", {"time", "5"}},
        {R"(bone "A # B")", {"bone", "A # B"}},
        {"range\t0 \t 50\r", {"range", "0", "50"}},
    };
    for (const auto& [line, words] : lines) EXPECT_EQ(Texts(SplitWords(line, 1)), words) << line;
    auto words = SplitWords(R"(create "Bones")", 1);
    EXPECT_FALSE(words[0].quoted);
    EXPECT_TRUE(words[1].quoted);
}

TEST(ScriptParse, DropsBlankAndCommentLinesKeepsLineNumbersAndNamesBadLines) {
    auto lines = ParseScript("# header\n\nnew\n   \ntime 4\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].number, 3);
    EXPECT_EQ(lines[0].Command(), "new");
    EXPECT_EQ(lines[1].number, 5);
    // An unterminated quote, and quotes glued to a word.
    for (const auto& [script, line] : {std::pair{"new\nbone \"A\nnew\n", 2},
                                       {"new\nnew\nbone ab\"c\"\n", 3},
                                       {"bone \"A\"x\n", 1}}) {
        try {
            ParseScript(script);
            ADD_FAILURE() << "no error for " << script;
        } catch (const ScriptError& e) {
            EXPECT_EQ(e.Line(), line) << script;
        }
    }
}

TEST(ScriptParse, SkipsAByteOrderMarkBeforeTheFirstLineOnly) {
    auto lines = ParseScript("\xEF\xBB\xBFnew\ntime 4\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Command(), "new");
    EXPECT_EQ(lines[0].number, 1);
    // Elsewhere the mark is part of a word.
    lines = ParseScript("new\n\xEF\xBB\xBFnew\n");
    EXPECT_EQ(lines[1].Command(), "\xEF\xBB\xBFnew");
}

TEST(ScriptNumbers, OnlyWholeDecimalNumbersParseAndFloatsMayCarryAnExponent) {
    EXPECT_EQ(ParseInt({"-12", false}, "frame", 1), -12);
    EXPECT_EQ(ParseInt({"+7", false}, "frame", 1), 7);
    const std::pair<const char*, float> floats[] = {
        {"2.5", 2.5f}, {"-0.125", -0.125f}, {"3", 3.0f},     {"1e-3", 0.001f},
        {"2.5E2", 250.0f}, {"-1e+3", -1000.0f}, {"+.5", 0.5f}, {"3.4e38", 3.4e38f},
    };
    for (const auto& [text, value] : floats)
        EXPECT_FLOAT_EQ(ParseFloat({text, false}, "x", 1), value) << text;
    for (const char* bad : {"", "1.5x", "abc", "1e", "0x10", "nan", "inf", "--1", "1 2"})
        EXPECT_THROW(ParseFloat({bad, false}, "x", 4), ScriptError) << bad;
    // Beyond a float the message says so rather than calling it no number.
    for (const char* far : {"1e39", "-1e39", "1e-50"}) {
        try {
            ParseFloat({far, false}, "x", 4);
            ADD_FAILURE() << "no error for " << far;
        } catch (const ScriptError& e) {
            EXPECT_NE(std::string(e.what()).find("range"), std::string::npos) << e.what();
        }
    }
    for (const char* bad : {"", "1.5", "12a", "99999999999"})
        EXPECT_THROW(ParseInt({bad, false}, "frame", 4), ScriptError) << bad;
    try {
        ParseInt({"ten", false}, "levels", 9);
        ADD_FAILURE() << "no error";
    } catch (const ScriptError& e) {  // the error names what the number was for
        EXPECT_EQ(e.Line(), 9);
        EXPECT_NE(std::string(e.what()).find("levels"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("ten"), std::string::npos);
    }
}

}  // namespace
}  // namespace qvapp
