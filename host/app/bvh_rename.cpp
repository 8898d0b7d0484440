// Name maps read from their text, and joints renamed through them.
#include "bvh_rename.h"

#include <set>
#include <vector>

namespace qvapp {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// The words of a line (spaces and tabs between), as offsets into it.
struct Word {
    size_t at, size;
};
std::vector<Word> Words(std::string_view line, size_t most) {
    std::vector<Word> out;
    size_t i = 0;
    while (out.size() < most) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        if (i >= line.size()) break;
        const size_t start = i;
        while (i < line.size() && !IsSpace(line[i])) ++i;
        out.push_back({start, i - start});
    }
    return out;
}

// The length of the line starting at `from`, without its ending (LF, CR LF or CR).
size_t LineLength(std::string_view text, size_t from) {
    size_t i = from;
    while (i < text.size() && text[i] != '\n' && text[i] != '\r') ++i;
    return i - from;
}

size_t EndingLength(std::string_view text, size_t at) {
    if (at >= text.size()) return 0;
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') return 2;
    return 1;
}

}  // namespace

bool ParseBvhNameMap(std::string_view text, BvhNameMap& map, std::string& error) {
    map.clear();
    int number = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t n = LineLength(text, at);
        std::string_view line = text.substr(at, n);
        at += n + EndingLength(text, at + n);
        ++number;
        if (const size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        const std::vector<Word> w = Words(line, 3);
        if (w.empty()) continue;
        if (w.size() != 2) {
            error = "line " + std::to_string(number) + ": expected \"source-name target-name\"";
            return false;
        }
        std::string source(line.substr(w[0].at, w[0].size));
        if (!map.emplace(source, std::string(line.substr(w[1].at, w[1].size))).second) {
            error = "line " + std::to_string(number) + ": " + source + " is mapped twice";
            return false;
        }
    }
    return true;
}

bool RenameBvhJoints(BvhTake& take, const BvhNameMap& map, int& renamed, std::string& error) {
    std::vector<std::string> names;
    std::set<std::string, std::less<>> seen;
    renamed = 0;
    for (const BvhTakeJoint& joint : take.joints) {
        const auto it = map.find(joint.name);
        const std::string& written = it == map.end() ? joint.name : it->second;
        if (!seen.insert(written).second) {
            error = "two joints would be named " + written;
            return false;
        }
        renamed += it != map.end() && written != joint.name;
        names.push_back(written);
    }
    for (size_t j = 0; j < names.size(); ++j) take.joints[j].name = std::move(names[j]);
    return true;
}

}  // namespace qvapp
