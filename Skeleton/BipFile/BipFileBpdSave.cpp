// The keys a save writes: samples at the range's ends and the keys between them (or every
// frame), the root's always sampled from its node so that the file holds where it stood.
#include "Skeleton/BipFile/BipFileBpdSave.h"

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
    const int n = track.NumKeys();
    for (int i = track.FindIndexAtOrBefore(from) + 1; i < n; ++i) {
        ckey k;
        track.GetKeyAt(i, k);
        if (k.time >= to) break;
        out.push_back(slot == kSlotRoot ? Sample(bone, slot, k.time) : k);
    }
}

BpdBone SampleBone(cnode* bone, int slot, int from, int to, int allFrames) {
    BpdBone b;
    b.slot = slot;
    b.keys.push_back(Sample(bone, slot, from));
    if (to > from) {
        if (allFrames) {
            b.keys.reserve(static_cast<size_t>(to - from) + 1);
            for (int t = from + 1; t < to; ++t) b.keys.push_back(Sample(bone, slot, t));
        } else {
            AddInnerKeys(bone, slot, from, to, b.keys);
        }
        b.keys.push_back(Sample(bone, slot, to));
    }
    for (ckey& k : b.keys) k.time -= from;
    return b;
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

BpdFile SampleBpd(cnode* const* bones, int from, int to, int allFrames) {
    BpdFile file;
    file.frameCount = to - from + 1;
    file.fps = FpsOfTpf(Interface::GetAnimTPF());
    file.startFrame = from;
    file.legMeasure = BipLegMeasure(bones);
    for (int s = 0; s < kNumSlots; ++s)
        if (bones[s]) file.bones.push_back(SampleBone(bones[s], s, from, to, allFrames));
    return file;
}
