// The script tokeniser: words, quotes, comments, control ids, numbers and the lines it refuses.
#include <gtest/gtest.h>

#include "script_parser.h"

using qvapp::ParseFloat;
using qvapp::ParseInt;
using qvapp::ParseScript;
using qvapp::ScriptError;
using qvapp::SplitWords;
using qvapp::Word;

namespace {

std::vector<std::string> Texts(const std::vector<Word>& words) {
    std::vector<std::string> out;
    for (const Word& w : words) out.push_back(w.text);
    return out;
}

int ErrorLine(const std::string& script) {
    try {
        ParseScript(script);
    } catch (const ScriptError& e) {
        return e.Line();
    }
    return -1;
}

}  // namespace

TEST(ScriptWords, QuotedWordsKeepBlanks) {
    auto words = SplitWords(R"(create "Bones" "Biped"   press "Generate Keyframes")", 1);
    EXPECT_EQ(Texts(words),
              (std::vector<std::string>{"create", "Bones", "Biped", "press", "Generate Keyframes"}));
    EXPECT_FALSE(words[0].quoted);
    EXPECT_TRUE(words[4].quoted);
}

TEST(ScriptWords, EmptyQuotesAreAnEmptyWord) {
    auto words = SplitWords(R"(type "Name:" "")", 1);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[2].text, "");
    EXPECT_TRUE(words[2].quoted);
}

TEST(ScriptWords, EscapedQuoteInsideQuotes) {
    auto words = SplitWords(R"(type "Name:" "say \"hi\"")", 1);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[2].text, "say \"hi\"");
}

TEST(ScriptWords, HashStartsACommentButHashDigitsNameAControl) {
    EXPECT_EQ(Texts(SplitWords("press #1005   # the spin button", 1)),
              (std::vector<std::string>{"press", "#1005"}));
    EXPECT_TRUE(SplitWords("   # only a comment", 1).empty());
    EXPECT_EQ(Texts(SplitWords("time 5 #comment", 1)), (std::vector<std::string>{"time", "5"}));
}

TEST(ScriptWords, HashInsideQuotesIsText) {
    auto words = SplitWords(R"(bone "A # B")", 1);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[1].text, "A # B");
}

TEST(ScriptWords, TabsAndCarriageReturnsSeparate) {
    EXPECT_EQ(Texts(SplitWords("range\t0 \t 50\r", 1)),
              (std::vector<std::string>{"range", "0", "50"}));
}

TEST(ScriptParse, DropsBlankAndCommentLinesAndKeepsLineNumbers) {
    auto lines = ParseScript("# header\n\nnew\n   \ntime 4\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].number, 3);
    EXPECT_EQ(lines[0].Command(), "new");
    EXPECT_EQ(lines[1].number, 5);
}

TEST(ScriptParse, UnterminatedQuoteNamesItsLine) {
    EXPECT_EQ(ErrorLine("new\nbone \"A\nnew\n"), 2);
}

TEST(ScriptParse, QuoteGluedToAWordIsRefused) {
    EXPECT_EQ(ErrorLine("new\nnew\nbone ab\"c\"\n"), 3);
    EXPECT_EQ(ErrorLine("bone \"A\"x\n"), 1);
}

TEST(ScriptNumbers, DecimalNumbersParse) {
    EXPECT_EQ(ParseInt({"-12", false}, "frame", 1), -12);
    EXPECT_EQ(ParseInt({"+7", false}, "frame", 1), 7);
    EXPECT_FLOAT_EQ(ParseFloat({"2.5", false}, "x", 1), 2.5f);
    EXPECT_FLOAT_EQ(ParseFloat({"-0.125", false}, "x", 1), -0.125f);
    EXPECT_FLOAT_EQ(ParseFloat({"3", false}, "x", 1), 3.0f);
}

TEST(ScriptNumbers, GarbageAndNonDecimalFormsAreRefused) {
    for (const char* bad : {"", "1.5x", "abc", "1e3", "0x10", "nan", "inf", "--1", "1 2"})
        EXPECT_THROW(ParseFloat({bad, false}, "x", 4), ScriptError) << bad;
    for (const char* bad : {"", "1.5", "12a", "99999999999"})
        EXPECT_THROW(ParseInt({bad, false}, "frame", 4), ScriptError) << bad;
}

TEST(ScriptNumbers, ErrorNamesWhatTheNumberWasFor) {
    try {
        ParseInt({"ten", false}, "levels", 9);
        FAIL() << "no error";
    } catch (const ScriptError& e) {
        EXPECT_EQ(e.Line(), 9);
        EXPECT_NE(std::string(e.what()).find("levels"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("ten"), std::string::npos);
    }
}
