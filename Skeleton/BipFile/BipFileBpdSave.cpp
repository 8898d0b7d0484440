// The keys a save writes: samples at the range's ends and the keys between them (or every
// frame), the root's always sampled from its node so that the file holds where it stood.
#include "Skeleton/BipFile/BipFileBpdSave.h"

#include <algorithm>

#include "Skeleton/Bip/BipBones.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace {

constexpr double kMsPerSecond = 1000.0;

// The node's value at t: the root its own world placement and scale, every other bone its
// track's interpolated key.
ckey Sample(cnode* bone, int slot, int t) {
    ckey k;
    if (slot == kSlotRoot) {
        k.time = t;
        k.pos = bone->GetPosition(t);
        k.rot = bone->GetRotation(t);
        k.scale = bone->GetScale(t);
    } else {
        bone->anim.GetInterpolateKey(t, k);
    }
    return k;
}

// The keys strictly between from and to: the track's own, the root's sampled at their times.
void AddInnerKeys(cnode* bone, int slot, int from, int to, std::vector<ckey>& out) {
    const canim& track = bone->anim;
    const int first = track.FindIndexAtOrBefore(from) + 1;
    const int end = track.FindIndexAtOrBefore(to - 1) + 1;
    out.reserve(out.size() + static_cast<size_t>(std::max(end - first, 0)) + 1);
    for (int i = first; i < end; ++i) {
        ckey k;
        track.GetKeyAt(i, k);
        out.push_back(slot == kSlotRoot ? Sample(bone, slot, k.time) : k);
    }
}

}  // namespace

float BipLegMeasure(cnode* const* bones) {
    if (!bones[kSlotRThigh] || !bones[kSlotRCalf] || !bones[kSlotRFoot]) return 0.0f;
    const cpoint3 thigh = bones[kSlotRThigh]->GetPosition(0);
    const cpoint3 calf = bones[kSlotRCalf]->GetPosition(0);
    const cpoint3 foot = bones[kSlotRFoot]->GetPosition(0);
    return Length(thigh - calf) + Length(calf - foot);
}

int FpsOfTpf(int tpfMs) {
    return tpfMs == 0 ? kDefaultFps : static_cast<int>(kMsPerSecond / tpfMs);
}
int TpfOfFps(int fps) { return fps == 0 ? kDefaultTpf : static_cast<int>(kMsPerSecond / fps); }

int BipKeyRange(cnode* const* bones, int& least, int& greatest) {
    least = kNoKeyRangeStart;
    greatest = 0;
    int present = 0;
    for (int s = 0; s < kNumSlots; ++s) {
        if (!bones[s]) continue;
        ++present;
        const canim& track = bones[s]->anim;
        ckey first, last;
        if (!track.GetKeyAt(0, first) || !track.GetKeyAt(track.NumKeys() - 1, last)) continue;
        if (first.time < least) least = first.time;
        if (last.time > greatest) greatest = last.time;
    }
    return present;
}

void SampleBone(cnode* bone, int slot, int from, int to, int allFrames, std::vector<ckey>& keys) {
    keys.clear();
    keys.push_back(Sample(bone, slot, from));
    if (to > from) {
        if (allFrames) {
            keys.reserve(static_cast<size_t>(to - from) + 1);
            for (int t = from + 1; t < to; ++t) keys.push_back(Sample(bone, slot, t));
        } else {
            AddInnerKeys(bone, slot, from, to, keys);
        }
        keys.push_back(Sample(bone, slot, to));
    }
    for (ckey& k : keys) k.time -= from;
}

BipFileError WriteBipedBpd(const char* path, cnode* const* bones, int from, int to,
                           int allFrames) {
    BpdFile header;
    header.frameCount = to - from + 1;
    header.fps = FpsOfTpf(Interface::GetAnimTPF());
    header.startFrame = from;
    header.legMeasure = BipLegMeasure(bones);
    int present = 0;
    for (int s = 0; s < kNumSlots; ++s) present += bones[s] ? 1 : 0;
    BpdFileWriter out(path, header, present);
    std::vector<ckey> keys;  // one bone's keys at a time, its storage reused
    for (int s = 0; s < kNumSlots; ++s) {
        if (!bones[s]) continue;
        SampleBone(bones[s], s, from, to, allFrames, keys);
        out.Bone(s, keys);
    }
    return out.Commit();
}
