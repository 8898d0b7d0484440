// The escape of texts written into JSON: every byte sequence reads back exactly, the escaped
// form is always text JSON accepts, and well-formed UTF-8 passes unchanged.
#include <gtest/gtest.h>

#include <string>

#include "json_values.h"
#include "text_escape.h"

namespace qvapp {
namespace {

// Escapes, writes as JSON text, parses and unescapes: the bytes must come back.
void ExpectRoundTrip(const std::string& bytes) {
    std::string text;
    ASSERT_NO_THROW(text = Json(EscapeText(bytes)).dump()) << testing::PrintToString(bytes);
    std::string back;
    ASSERT_TRUE(UnescapeText(Json::parse(text).get<std::string>(), back));
    EXPECT_EQ(back, bytes) << testing::PrintToString(bytes);
}

TEST(TextEscape, NamedCasesReadBackAndOnlyBrokenUtf8AndBackslashesChange) {
    const std::pair<std::string, std::string> cases[] = {
        {"Bip01 L Hand", "Bip01 L Hand"},
        {"caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\xA6\xB4", "caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\xA6\xB4"},
        {"caf\xE9", "caf\\xE9"},                        // Latin-1
        {"a\\b", "a\\\\b"},                             // a backslash
        {"\\xE9", "\\\\xE9"},                           // the escape's own spelling
        {"\xC0\x80", "\\xC0\\x80"},                     // overlong NUL
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},            // a surrogate
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},   // past U+10FFFF
        {"\xE2\x82", "\\xE2\\x82"},                     // cut short
        {"\xE2\x82\xAC\xE2", "\xE2\x82\xAC\\xE2"},      // a whole sequence, then a cut one
        {std::string("\x01\x7F\"\n", 4), std::string("\x01\x7F\"\n", 4)},
    };
    for (const auto& [bytes, escaped] : cases) {
        EXPECT_EQ(EscapeText(bytes), escaped) << testing::PrintToString(bytes);
        ExpectRoundTrip(bytes);
    }
}

TEST(TextEscape, EveryOneAndTwoByteSequenceAndEveryThreeByteLeadReadBack) {
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) ExpectRoundTrip({char(a), char(b)});
    // Each lead byte from 0xC0 with second and third bytes at and around the borders of the
    // continuation range.
    const int edges[] = {0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xFF};
    for (int lead = 0xC0; lead < 256; ++lead)
        for (int b : edges)
            for (int c : edges) ExpectRoundTrip({char(lead), char(b), char(c), char(0x80)});
}

TEST(TextEscape, RefusesABackslashThatStartsNoEscape) {
    for (const char* text : {"\\", "a\\q", "\\x4", "\\xG0", "end\\"}) {
        std::string bytes;
        EXPECT_FALSE(UnescapeText(text, bytes)) << text;
    }
    std::string bytes;
    ASSERT_TRUE(UnescapeText("\\xe9\\xE9", bytes));  // either case of hex digit reads
    EXPECT_EQ(bytes, "\xE9\xE9");
}

}  // namespace
}  // namespace qvapp
