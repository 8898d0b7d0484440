// The reversible escape of texts that are not UTF-8: well-formed UTF-8 sequences pass, every
// other byte becomes \xHH, and the backslash itself becomes \\.
#include "text_escape.h"

namespace qvapp {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool InRange(unsigned char c, unsigned char low, unsigned char high) {
    return c >= low && c <= high;
}

// Length of the well-formed UTF-8 sequence at s[i], or 0 when none starts there. The ranges
// of the second byte leave out overlong forms, surrogates and code points past U+10FFFF.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (InRange(lead, 0xC2, 0xDF)) length = 2;
    else if (lead == 0xE0) length = 3, low = 0xA0;
    else if (lead == 0xED) length = 3, high = 0x9F;
    else if (InRange(lead, 0xE1, 0xEF)) length = 3;
    else if (lead == 0xF0) length = 4, low = 0x90;
    else if (lead == 0xF4) length = 4, high = 0x8F;
    else if (InRange(lead, 0xF1, 0xF3)) length = 4;
    else return 0;
    if (i + length > s.size() || !InRange(byte(1), low, high)) return 0;
    for (size_t k = 2; k < length; ++k)
        if (!InRange(byte(k), 0x80, 0xBF)) return 0;
    return length;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string EscapeText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        if (bytes[i] == '\\') {
            out += "\\\\";
            ++i;
        } else if (size_t n = Utf8SequenceLength(bytes, i)) {
            out.append(bytes.substr(i, n));
            i += n;
        } else {
            const auto b = static_cast<unsigned char>(bytes[i++]);
            out += "\\x";
            out += kHexDigits[b >> 4];
            out += kHexDigits[b & 0xF];
        }
    }
    return out;
}

bool UnescapeText(std::string_view text, std::string& bytes) {
    bytes.clear();
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            bytes += '\\';
            ++i;
            continue;
        }
        if (i + 3 >= text.size() || text[i + 1] != 'x') return false;
        const int high = HexValue(text[i + 2]), low = HexValue(text[i + 3]);
        if (high < 0 || low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return true;
}

}  // namespace qvapp
