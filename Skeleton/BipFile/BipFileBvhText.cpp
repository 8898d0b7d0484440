// Scanning BVH text: line ends of every kind, tokens, and numbers converted with
// std::from_chars so that one pass over a large motion section stays cheap.
#include "Skeleton/BipFile/BipFileBvhText.h"

#include <charconv>
#include <cmath>

std::string_view BvhLines::Next() {
    if (pos_ >= text_.size()) {
        ended_ = true;
        return {};
    }
    ++line_;
    const size_t start = pos_;
    size_t i = start;
    while (i < text_.size() && text_[i] != '\n' && text_[i] != '\r') ++i;
    const std::string_view line = text_.substr(start, i - start);
    if (i == text_.size()) {
        ended_ = true;  // a last line without a line end
        pos_ = i;
        return line;
    }
    // LF, CR LF, or a CR alone.
    pos_ = i + 1;
    if (text_[i] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    return line;
}

std::string_view BvhTokens::Next() {
    while (p_ < end_ && IsBvhSeparator(*p_)) ++p_;
    const char* start = p_;
    while (p_ < end_ && !IsBvhSeparator(*p_)) ++p_;
    return {start, static_cast<size_t>(p_ - start)};
}

namespace {

// from_chars takes no leading '+'; a decimal reader does.
const char* SkipPlus(const char* p, const char* end) {
    return (p < end && *p == '+' && p + 1 < end && *(p + 1) != '-') ? p + 1 : p;
}

}  // namespace

bool ParseBvhFloat(std::string_view token, float& value) {
    const char* end = token.data() + token.size();
    float v = 0.0f;
    const auto r = std::from_chars(SkipPlus(token.data(), end), end, v);
    if (r.ec != std::errc() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool ParseBvhInt(std::string_view token, int& value) {
    const char* end = token.data() + token.size();
    int v = 0;
    const auto r = std::from_chars(SkipPlus(token.data(), end), end, v);
    if (r.ec != std::errc()) return false;
    value = v;
    return true;
}

BvhNumbers::Status BvhNumbers::Next(float& value, std::string_view& token) {
    while (p_ < end_ && IsBvhSeparator(*p_)) ++p_;
    if (p_ == end_) return Status::End;
    const char* start = p_;
    const auto r = std::from_chars(SkipPlus(p_, end_), end_, value);
    const char* stop = r.ptr;
    while (stop < end_ && !IsBvhSeparator(*stop)) ++stop;  // the rest of the token
    p_ = stop;
    if (r.ec != std::errc() || !std::isfinite(value)) {
        token = {start, static_cast<size_t>(stop - start)};
        return Status::NotANumber;
    }
    return Status::Ok;
}
