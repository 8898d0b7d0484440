// Writing a take as BVH text: tabs for nesting, six decimals, LF line ends. Names keep to one
// word of at most 79 characters, as the plug-in's reader takes them.
#include <cstdio>

#include "bvh_take.h"

namespace qvapp {
namespace {

constexpr size_t kMaxNameLength = 79;  // characters of a joint name the plug-in's reader keeps

const char* ChannelName(BvhChannel c) {
    static const char* const kNames[] = {"Xposition", "Yposition", "Zposition",
                                         "Xrotation", "Yrotation", "Zrotation"};
    return kNames[static_cast<int>(c)];
}

std::string OneWord(const std::string& name) {
    std::string word = name.substr(0, kMaxNameLength);
    for (char& c : word)
        if (c == ' ' || c == '\t') c = '_';
    return word;
}

void AppendNumber(std::string& out, double v, const char* format = "%.6f") {
    char buffer[48];
    const int n = std::snprintf(buffer, sizeof buffer, format, v);
    out.append(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

void AppendOffset(std::string& out, const std::string& indent, const double (&o)[3]) {
    out += indent + "OFFSET";
    for (double v : o) {
        out += ' ';
        AppendNumber(out, v);
    }
    out += '\n';
}

}  // namespace

std::string WriteBvhTake(const BvhTake& take) {
    std::string out = "HIERARCHY\n";
    std::vector<int> depth(take.joints.size(), 0);
    for (size_t j = 0; j < take.joints.size(); ++j) {
        const BvhTakeJoint& joint = take.joints[j];
        depth[j] = joint.parent < 0 ? 0 : depth[joint.parent] + 1;
        const std::string in(depth[j], '\t');
        out += in + (joint.parent < 0 ? "ROOT " : "JOINT ") + OneWord(joint.name) + "\n" + in + "{\n";
        AppendOffset(out, in + "\t", joint.offset);
        out += in + "\tCHANNELS " + std::to_string(joint.channels.size());
        for (BvhChannel c : joint.channels) out += std::string(" ") + ChannelName(c);
        out += '\n';
        if (joint.hasEndSite) {
            out += in + "\tEnd Site\n" + in + "\t{\n";
            AppendOffset(out, in + "\t\t", joint.endSite);
            out += in + "\t}\n";
        }
        // Close this joint's block and those the next joint is not inside.
        const int next = j + 1 < take.joints.size() ? depth[take.joints[j + 1].parent] + 1 : 0;
        for (int d = depth[j]; d >= next; --d) out += std::string(d, '\t') + "}\n";
    }
    out += "MOTION\nFrames: " + std::to_string(take.Frames()) + "\nFrame Time: ";
    AppendNumber(out, take.frameTime, "%.9g");  // in full: the host's time per frame comes from it
    out += '\n';
    for (int f = 0; f < take.Frames(); ++f) {
        const double* row = take.Row(f);
        for (int v = 0; v < take.valuesPerFrame; ++v) {
            if (v) out += ' ';
            AppendNumber(out, row[v]);
        }
        out += '\n';
    }
    return out;
}

}  // namespace qvapp
