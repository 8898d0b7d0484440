// BVH motion files in memory: the joint tree the reader builds from a file, each joint holding
// its own motion samples, posed frame by frame. The tree knows nothing of the host or the biped.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "quorvane/math.h"

class cnode;

constexpr int kBvhNameSize = 80;      // a joint name of at most 79 characters and its terminator
constexpr float kBvhUnitsPerHost = 12.0f;  // file units per tree unit: OFFSETs and positions / 12
constexpr int kBvhMaxDepth = 256;     // joints nested deeper are refused (real skeletons: < 30)
// The most memory a take may need: its samples as read, and its keys as imported.
constexpr size_t kBvhMaxSampleBytes = size_t{1} << 30;  // 1 GB
constexpr size_t kBvhMaxImportBytes = size_t{1} << 30;  // 1 GB

// Channel layouts by the CHANNELS count: 6 position and rotation, 3 rotation, anything else none.
enum class BvhLayout { None, Rotation, PositionRotation };

// One joint of the tree; the container the caller hands to the reader is one too.
struct BVHBone {
    char name[kBvhNameSize] = "Bone";  // "Bone" for an End Site and before the name is read
    BVHBone* parent = nullptr;         // the enclosing joint; the container for a ROOT
    std::vector<std::unique_ptr<BVHBone>> children;  // in file order
    cpoint3 scale{1.0f, 1.0f, 1.0f};   // not set from the file
    cpoint3 euler;                     // current frame's X, Y, Z rotation, degrees
    cpoint3 position;                  // OFFSET / 12, or the current frame's position / 12
    cquat rotation;                    // current frame's rotation, from euler
    BvhLayout layout = BvhLayout::None;
    std::vector<float> samples;        // frame count × channel count values, frame by frame
    float frameCount = 0.0f;           // the file's "Frames:"
    float time = 0.0f;                 // playback position, frames
    float frameTime = 0.0f;            // the file's "Frame Time:", seconds
    cnode* user = nullptr;             // free for the importer
};

// Values per frame of a layout: 6, 3 or 0.
int BvhChannelCount(BvhLayout layout);

// The outcome of reading BVH text: ok, or the message that says why not.
struct BvhReadResult {
    bool ok = false;
    std::string message;  // empty when ok
};

// Reads BVH text into the container's tree (the ROOT becomes its child). On failure the tree
// holds what was read so far; the caller frees it.
BvhReadResult ReadBvhText(std::string_view text, BVHBone& container);

// Reads the file into the container's tree: 1 on success, 0 on failure, after a message box
// titled "BVH Loader" saying why (none when the file cannot be opened).
int ParseBVHFile(const char* path, BVHBone& container);

// The joint's position, euler angles and rotation from its samples of `frame`; a joint without
// samples (or without that frame) is left as it is.
void SetBvhPose(BVHBone& joint, int frame);
// Moves every child of the joint by delta frames (wrapping within the frame count) and poses
// it; with recurse, the children's children too, depth first.
void AdvanceBvh(BVHBone& joint, float delta, int recurse);
// Frees the samples and the children of the joint and of all its descendants.
void FreeBvh(BVHBone& joint);

// The rotation of euler angles (degrees) as the reader computes it: qZ ⊗ qX ⊗ qY (Hamilton
// product, x y z w), normalised.
cquat BvhEulerToQuat(const cpoint3& eulerDeg);

// Joints in pre-order (a joint, then each child's subtree), starting at `first`.
std::vector<BVHBone*> BvhPreOrder(BVHBone* first);

// Each joint's world position at its current pose, in the file's own frame (tree units):
// world = parentWorld ∘ (offset, rotation), the rotation turning column vectors as the
// file's channels read Z, then X, then Y. In the order of BvhPreOrder(first).
std::vector<cpoint3> BvhWorldPositions(BVHBone* first);
