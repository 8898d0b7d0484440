// The panel number fields of the host SDK: reading the leading number of an edit's text and
// writing numbers back with a fixed number of decimals.
#include <cctype>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cstdio>
#include <string>

#include "quorvane/util.h"

namespace {

std::string EditText(HWND dlg, int id) {
    HWND edit = GetDlgItem(dlg, id);
    if (!edit) return {};
    std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    int n = GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(n));
    return text;
}

// The leading number of the text after blanks: [+|-] digits [. digits] [e [+|-] digits].
// Empty when there is no digit before the point or after it.
std::string LeadingNumber(const std::string& s, bool allowFraction) {
    size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    std::string out;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') out += '-';
        ++i;
    }
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) out += s[i++], ++digits;
    if (allowFraction && i < s.size() && s[i] == '.') {
        out += s[i++];
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) out += s[i++], ++digits;
        if (digits > 0 && i + 1 < s.size() && (s[i] == 'e' || s[i] == 'E')) {
            size_t k = i + 1;
            std::string exp = "e";
            if (s[k] == '+' || s[k] == '-') exp += s[k++];
            if (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) {
                while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) exp += s[k++];
                out += exp;
            }
        }
    }
    return digits > 0 ? out : std::string();
}

}  // namespace

int winGetEditInt(HWND dlg, int id, int& value) {
    std::string n = LeadingNumber(EditText(dlg, id), false);
    if (n.empty()) return 0;
    long long v = 0;
    auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), v);
    (void)end;
    // Numbers beyond the int range stop at its ends.
    if (ec == std::errc::result_out_of_range || v > INT_MAX || v < INT_MIN)
        v = n[0] == '-' ? INT_MIN : INT_MAX;
    value = static_cast<int>(v);
    return 1;
}

int winGetEditFloat(HWND dlg, int id, float& value) {
    std::string n = LeadingNumber(EditText(dlg, id), true);
    if (n.empty()) return 0;
    double v = 0;
    auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), v);
    (void)end;
    if (ec == std::errc::result_out_of_range) return 0;
    if (v > FLT_MAX) v = FLT_MAX;  // beyond a float: its largest value
    if (v < -FLT_MAX) v = -FLT_MAX;
    value = static_cast<float>(v);
    return 1;
}

void winSetEditInt(HWND dlg, int id, int value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d", value);
    SetDlgItemTextA(dlg, id, buf);
}

void winSetEditFloat(HWND dlg, int id, float value, int decimals) {
    char buf[64];
    if (decimals < 0) decimals = 0;
    if (decimals > 9) decimals = 9;  // beyond a float's precision
    std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(value));
    SetDlgItemTextA(dlg, id, buf);
}
