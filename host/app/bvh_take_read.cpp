// The tolerant BVH reader: the hierarchy as a stream of words on numbered lines (braces stand
// alone or cling to a word), then one motion row per line.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <utility>

#include "bvh_take.h"

namespace qvapp {
namespace {

// Words of the text with the number of the line each stands on; "{" and "}" are words of their
// own even where they touch another.
class Words {
public:
    explicit Words(std::string_view text) : text_(text) {}

    // The next word, empty at the end of the text.
    std::string_view Next() {
        SkipBlanks();
        if (at_ >= text_.size()) return {};
        const size_t start = at_;
        if (IsBrace(text_[at_])) return text_.substr(at_++, 1);
        while (at_ < text_.size() && !IsBlank(text_[at_]) && !IsLineEnd(text_[at_]) && !IsBrace(text_[at_]))
            ++at_;
        return text_.substr(start, at_ - start);
    }
    // The rest of the current line up to a brace, blanks trimmed (names may hold spaces).
    std::string_view RestOfLine() {
        while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
        const size_t start = at_;
        while (at_ < text_.size() && !IsLineEnd(text_[at_]) && !IsBrace(text_[at_])) ++at_;
        size_t end = at_;
        while (end > start && IsBlank(text_[end - 1])) --end;
        return text_.substr(start, end - start);
    }
    // The next line whole (without its ending), false at the end of the text.
    bool NextLine(std::string_view& line) {
        SkipLineEnd();
        if (at_ >= text_.size()) return false;
        const size_t start = at_;
        while (at_ < text_.size() && !IsLineEnd(text_[at_])) ++at_;
        line = text_.substr(start, at_ - start);
        return true;
    }
    int Line() const { return line_; }
    size_t Remaining() const { return text_.size() - at_; }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }
    static bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
    static bool IsBrace(char c) { return c == '{' || c == '}'; }
    void SkipLineEnd() {
        if (at_ >= text_.size() || !IsLineEnd(text_[at_])) return;
        if (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') ++at_;
        ++at_;
        ++line_;
    }
    void SkipBlanks() {
        while (at_ < text_.size() && (IsBlank(text_[at_]) || IsLineEnd(text_[at_]))) {
            if (IsLineEnd(text_[at_])) SkipLineEnd();
            else ++at_;
        }
    }

    std::string_view text_;
    size_t at_ = 0;
    int line_ = 1;
};

bool ParseNumber(std::string_view word, double& value) {
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

bool ParseChannel(std::string_view word, BvhChannel& channel) {
    static constexpr std::pair<std::string_view, BvhChannel> kNames[] = {
        {"Xposition", BvhChannel::Xposition}, {"Yposition", BvhChannel::Yposition},
        {"Zposition", BvhChannel::Zposition}, {"Xrotation", BvhChannel::Xrotation},
        {"Yrotation", BvhChannel::Yrotation}, {"Zrotation", BvhChannel::Zrotation}};
    for (const auto& [name, c] : kNames) {
        if (word.size() != name.size()) continue;
        bool same = true;
        for (size_t i = 0; i < word.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(word[i])) ==
                   std::tolower(static_cast<unsigned char>(name[i]));
        if (same) {
            channel = c;
            return true;
        }
    }
    return false;
}

constexpr int kMaxChannels = 6;

class Reader {
public:
    Reader(std::string_view text, BvhTake& take, BvhTakeResult& result)
        : words_(text), take_(take), result_(result) {}

    bool Read() {
        if (words_.Next() != "HIERARCHY") return Fail("the file does not start with HIERARCHY");
        if (words_.Next() != "ROOT") return Fail("expected ROOT");
        if (!Joint(-1, 1)) return false;
        const std::string_view next = words_.Next();
        if (next == "ROOT") return Fail("a second ROOT hierarchy is not supported");
        if (next.empty()) return true;  // a skeleton without motion
        if (next != "MOTION") return Fail("expected MOTION after the hierarchy");
        return Motion();
    }

private:
    bool Fail(const std::string& why) {
        result_.message = "line " + std::to_string(words_.Line()) + ": " + why;
        return false;
    }
    bool Expect(std::string_view word) {
        if (words_.Next() == word) return true;
        return Fail("expected " + std::string(word));
    }
    bool Offset(double (&out)[3]) {
        if (!Expect("OFFSET")) return false;
        for (double& v : out)
            if (!ParseNumber(words_.Next(), v)) return Fail("OFFSET takes three finite numbers");
        return true;
    }
    bool Channels(BvhTakeJoint& joint) {
        if (!Expect("CHANNELS")) return false;
        double count = 0;
        if (!ParseNumber(words_.Next(), count) || count != std::floor(count) || count < 0 ||
            count > kMaxChannels)
            return Fail("CHANNELS takes a count from 0 to 6");
        for (int i = 0; i < static_cast<int>(count); ++i) {
            BvhChannel c;
            if (!ParseChannel(words_.Next(), c)) return Fail("unknown channel name");
            for (BvhChannel seen : joint.channels)
                if (seen == c) return Fail("a channel named twice");
            joint.channels.push_back(c);
        }
        joint.firstValue = take_.valuesPerFrame;
        take_.valuesPerFrame += static_cast<int>(count);
        return true;
    }
    bool EndSite(BvhTakeJoint& joint) {
        if (words_.Next() != "Site") return Fail("expected Site after End");
        if (!Expect("{") || !Offset(joint.endSite)) return false;
        joint.hasEndSite = true;
        std::string_view w = words_.Next();
        if (w == "CHANNELS") {  // some pipelines give End Sites an empty channel list
            double count = 0;
            if (!ParseNumber(words_.Next(), count) || count != 0)
                return Fail("an End Site has no channels");
            w = words_.Next();
        }
        return w == "}" ? true : Fail("expected } closing the End Site");
    }
    // A joint after its ROOT or JOINT word: its name, block, offset, channels and children.
    bool Joint(int parent, int depth) {
        if (depth > kBvhTakeMaxDepth) return Fail("joints nested too deep");
        if (static_cast<int>(take_.joints.size()) >= kBvhTakeMaxJoints) return Fail("too many joints");
        const int self = static_cast<int>(take_.joints.size());
        take_.joints.emplace_back();
        take_.joints[self].name = std::string(words_.RestOfLine());
        take_.joints[self].parent = parent;
        if (take_.joints[self].name.empty()) return Fail("a joint without a name");
        if (!Expect("{") || !Offset(take_.joints[self].offset) || !Channels(take_.joints[self]))
            return false;
        for (;;) {
            const std::string_view w = words_.Next();
            if (w == "}") return true;
            if (w == "JOINT") {
                if (!Joint(self, depth + 1)) return false;
            } else if (w == "End") {
                if (!EndSite(take_.joints[self])) return false;
            } else {
                return Fail(w.empty() ? "the file ends inside a joint" : "expected JOINT, End Site or }");
            }
        }
    }
    bool Motion() {
        if (words_.Next() != "Frames:") return Fail("expected Frames:");
        double frames = 0;
        if (!ParseNumber(words_.Next(), frames) || frames < 0 || frames != std::floor(frames))
            return Fail("Frames: takes a whole number");
        const size_t perFrame = static_cast<size_t>(take_.valuesPerFrame);
        if (perFrame && frames > static_cast<double>(kBvhTakeMaxValues / perFrame))
            return Fail("Frames: " + std::to_string(static_cast<long long>(frames)) +
                        " would need more memory than a take may use");
        if (words_.Next() != "Frame" || words_.Next() != "Time:" || !ParseNumber(words_.Next(), take_.frameTime))
            return Fail("expected Frame Time: and a number");
        const size_t declared = static_cast<size_t>(frames);
        // Each value takes two bytes at least: never reserve beyond what the text can hold.
        take_.values.reserve(std::min(declared * perFrame, words_.Remaining() / 2 + 1));
        std::string_view line;
        size_t rows = 0;
        while (rows < declared && words_.NextLine(line)) {
            const size_t before = take_.values.size();
            if (!Row(line)) return false;
            if (take_.values.size() == before) continue;  // a blank line
            if (take_.values.size() - before != perFrame)
                return Fail("a motion row holds " + std::to_string(take_.values.size() - before) +
                            " values, the joints have " + std::to_string(perFrame) + " channels");
            ++rows;
        }
        if (rows < declared)
            result_.notes.push_back("Frames: says " + std::to_string(declared) + ", " +
                                    std::to_string(rows) + " rows read");
        else if (words_.NextLine(line) && line.find_first_not_of(" \t\r\n") != std::string_view::npos)
            result_.notes.push_back("rows after the " + std::to_string(declared) +
                                    " that Frames: says are ignored");
        return true;
    }
    bool Row(std::string_view line) {
        size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
            if (i >= line.size()) break;
            const size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
            double v = 0;
            if (!ParseNumber(line.substr(start, i - start), v))
                return Fail("a motion value that is not a finite number");
            take_.values.push_back(v);
        }
        return true;
    }

    Words words_;
    BvhTake& take_;
    BvhTakeResult& result_;
};

}  // namespace

BvhTakeResult ReadBvhTake(std::string_view text, BvhTake& take) {
    take = BvhTake();
    BvhTakeResult result;
    Reader reader(text, take, result);
    result.ok = reader.Read();
    if (!result.ok) take = BvhTake();
    return result;
}

}  // namespace qvapp
