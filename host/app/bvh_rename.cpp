// Renaming BVH joints line by line: a line whose first word is ROOT or JOINT has its second
// word replaced when the map names it; every other byte goes through as it is.
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

bool RenameBvhJoints(std::string_view text, const BvhNameMap& map, std::string& out,
                     int& renamed, std::string& error) {
    out.clear();
    out.reserve(text.size());
    renamed = 0;
    std::set<std::string, std::less<>> names;
    for (size_t at = 0; at < text.size();) {
        const size_t n = LineLength(text, at);
        const std::string_view line = text.substr(at, n);
        const size_t next = at + n + EndingLength(text, at + n);
        const std::vector<Word> w = Words(line, 2);
        const std::string_view keyword = w.empty() ? "" : line.substr(w[0].at, w[0].size);
        if (w.size() == 2 && (keyword == "ROOT" || keyword == "JOINT")) {
            const std::string_view name = line.substr(w[1].at, w[1].size);
            const auto it = map.find(name);
            const std::string_view written = it == map.end() ? name : std::string_view(it->second);
            if (!names.emplace(written).second) {
                error = "two joints would be named " + std::string(written);
                return false;
            }
            if (it != map.end() && it->second != name) ++renamed;
            out.append(line.substr(0, w[1].at));
            out.append(written);
            out.append(text.substr(at + w[1].at + w[1].size, next - (at + w[1].at + w[1].size)));
        } else {
            out.append(text.substr(at, next - at));
        }
        if (keyword == "MOTION") {
            out.append(text.substr(next));  // the motion holds no names
            break;
        }
        at = next;
    }
    return true;
}

}  // namespace qvapp
