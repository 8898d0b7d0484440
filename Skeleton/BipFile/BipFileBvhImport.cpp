// Loading a BVH file onto the bound biped: read, rebuild the file's skeleton as temporary
// bones, find the joints the biped knows, key their motion from the current frame on, and fit
// the animation bar and the time per frame to the file. Everything that can refuse the file is
// decided before the biped is touched.
#include <cmath>
#include <cstdio>
#include <cstring>

#include <windows.h>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipPoseTables.h"
#include "Skeleton/BipFile/BipFileBvh.h"
#include "Skeleton/BipFile/BipFileBvhSkeleton.h"
#include "Skeleton/BipFile/BipFileBvhTransfer.h"
#include "quorvane/interface.h"

namespace {

const char kCaption[] = "Biped - Load BVH";
const char kAdjustRange[] =
    "Do you want to adjust animation bar's length\nto match number of animation keys?";
const char kNoRightLeg[] =
    "The file has no right leg to measure: it needs a hip (RightHip or RightUpLeg), a knee "
    "(RightKnee or RightLowLeg) and an ankle (RightAnkle or RightFoot) apart from each other, "
    "so that its motion can be scaled to the biped.";
constexpr float kFallbackFramesPerSecond = 30.0f;  // a file without a frame time plays at 30
constexpr float kMsPerSecond = 1000.0f;
constexpr float kMaxTpfMs = 1.0e6f;  // frame times beyond 1000 s are taken as 1000 s

void Refuse(const char* text) { MessageBoxA(nullptr, text, kCaption, MB_ICONSTOP); }

// The temporary bone list holds 32 entries; a larger skeleton is refused before any bone is made.
bool FitsTheBoneList(const BVHBone& container) {
    const int needed = BvhListEntriesNeeded(container);
    if (needed <= kBvhMaxListBones) return true;
    char text[200];
    std::snprintf(text, sizeof text,
                  "The file's skeleton has %d joints with children (End Sites count as "
                  "children); at most %d can be loaded.",
                  needed - 1, kBvhMaxListBones - 1);
    Refuse(text);
    return false;
}

// The temporary skeleton keys every joint at every frame before the biped takes its keys: a
// take whose keys would pass kBvhMaxImportBytes is refused before any is made.
bool FitsInMemory(const BVHBone& container) {
    if (container.children.empty()) return true;
    BVHBone* first = container.children.front().get();
    const size_t joints = BvhPreOrder(first).size();
    const size_t frames = static_cast<size_t>(first->frameCount);
    if (frames * joints * sizeof(ckey) <= kBvhMaxImportBytes) return true;
    char text[200];
    std::snprintf(text, sizeof text,
                  "The take's keys would need more than %zu MB: %zu frames of %zu joints.",
                  kBvhMaxImportBytes >> 20, frames, joints);
    Refuse(text);
    return false;
}

// The question of the animation bar's length, when the keys run past its end.
void OfferLongerRange(int frames) {
    const int end = GetAnimTime() + frames;
    if (end <= Interface::GetAnimEnd()) return;
    if (MessageBoxA(nullptr, kAdjustRange, kCaption, MB_YESNO) == IDYES) Interface::SetAnimEnd(end);
}

// trunc(1000 / r), r = 1 / frame time, or 30 frames per second without a frame time.
void ApplyFrameTime(float frameTime) {
    const float rate = frameTime > 0.0f ? 1.0f / frameTime : kFallbackFramesPerSecond;
    const float ms = std::fmin(kMsPerSecond / rate, kMaxTpfMs);
    Interface::SetAnimTPF(static_cast<int>(ms));
}

}  // namespace

int cbipanim::LoadBVH(char* path) {
    BVHBone container;
    std::strcpy(container.name, "Skeleton");
    if (!ParseBVHFile(path, container)) {
        FreeBvh(container);
        return 0;
    }
    if (!FitsTheBoneList(container) || !FitsInMemory(container)) {
        FreeBvh(container);
        return 0;
    }
    BvhTempSkeleton skeleton;
    BuildBvhSkeleton(container, skeleton);
    FreeBvh(container);
    const BvhNodeTable table = MapBvhBones(skeleton);
    const float ratio = BipLegMeasure(*this) / BvhLegMeasure(table);
    if (!std::isfinite(ratio) || ratio <= 0.0f) {
        DeleteBvhSkeleton(skeleton);
        Refuse(kNoRightLeg);
        return 0;
    }
    PoseKeys(kBodyPoseIdle, 0);  // the root included; the panel's load step records it
    TransferBvhMotion(*this, table, skeleton.frames, ratio);
    const int frames = skeleton.frames;
    const float frameTime = skeleton.frameTime;
    DeleteBvhSkeleton(skeleton);
    OfferLongerRange(frames);
    ApplyFrameTime(frameTime);
    return 1;
}
