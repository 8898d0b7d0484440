// A BVH take as other pipelines write it: any channel set in any order on any joint, read by a
// tolerant reader, and written back in the layout the plug-in's reader takes (the root with
// X, Y, Z position and Z, X, Y rotation channels, every other joint Z, X, Y rotation only).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvapp {

enum class BvhChannel : uint8_t { Xposition, Yposition, Zposition, Xrotation, Yrotation, Zrotation };

struct BvhTakeJoint {
    std::string name;
    int parent = -1;                   // index into the take's joints, -1 for the root
    double offset[3] = {0, 0, 0};      // file units, in the parent's frame
    std::vector<BvhChannel> channels;  // in file order
    int firstValue = 0;                // index of its first channel in a motion row
    bool hasEndSite = false;
    double endSite[3] = {0, 0, 0};     // the End Site's offset, when it has one
};

struct BvhTake {
    std::vector<BvhTakeJoint> joints;  // pre-order; joints[0] is the root
    int valuesPerFrame = 0;
    std::vector<double> values;        // frames × valuesPerFrame, frame by frame
    double frameTime = 0;              // seconds
    int Frames() const { return valuesPerFrame ? static_cast<int>(values.size() / valuesPerFrame) : 0; }
    const double* Row(int frame) const { return values.data() + static_cast<size_t>(frame) * valuesPerFrame; }
};

// The outcome of the tolerant reader: ok (with notes on what it forgave), or why not.
struct BvhTakeResult {
    bool ok = false;
    std::string message;             // why not, with the line number
    std::vector<std::string> notes;  // what the reader forgave: missing or extra motion rows
};

// Most motion values a take may hold (8 bytes each): larger takes are refused before reading.
constexpr size_t kBvhTakeMaxValues = size_t{1} << 27;
// Most joints and nesting a take may have; real skeletons have a few hundred at the most.
constexpr int kBvhTakeMaxJoints = 4096;
constexpr int kBvhTakeMaxDepth = 256;

// Reads BVH text: keywords and braces wherever they stand on their lines, channel names read
// and kept, CR, LF or CR LF line ends. A second ROOT is refused; a hierarchy without MOTION is a
// take of no frames. When the motion has fewer rows than "Frames:" says the rows read are kept;
// extra rows are ignored.
BvhTakeResult ReadBvhTake(std::string_view text, BvhTake& take);

// The take in the plug-in reader's layout (the joints and values as they are: rewrite first
// with FoldBvhTake when channels are in another layout).
std::string WriteBvhTake(const BvhTake& take);

}  // namespace qvapp
