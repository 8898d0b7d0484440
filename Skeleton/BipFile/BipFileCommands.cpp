// The modify tool's file commands: Save and Load of ".BPD" animation files with their
// options dialogs, SaveHand and LoadHand of ".BPH" hand poses. A file is read and checked
// whole before any key changes; every refusal is told in a box and changes nothing.
#include <cstdint>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipHand.h"
#include "Skeleton/BipFile/BipFileBpdLoad.h"
#include "Skeleton/BipFile/BipFileBpdSave.h"
#include "Skeleton/BipFile/BipFileBph.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace {

// Frames a save may write every frame of: 83 bones of 44-byte keys make 365 MB at this count.
constexpr long long kMaxAllFrames = 100000;

constexpr char kNoBones[] = "No Bip bones found! Aborting";
constexpr char kNoHandBones[] = "No Bip Hand bones found! Aborting";
constexpr char kFramesOutOfRange[] = "Frames out of range - Aborting!";
constexpr char kAdjustRange[] =
    "Do you want to adjust animation bar's length\nto match number of Biped animation keys?";

int Refuse(const char* text) {
    MessageBoxA(GetActiveWindow(), text, "Biped", MB_OK | MB_ICONSTOP);
    return 0;
}
int Refuse(BipFileError error) { return Refuse(BipFileErrorText(error)); }

// The hands a hand code stands for, right first.
int HandGoesTo(int code, int hand) { return code == hand || code == kHandBoth; }

}  // namespace

int cbipanim::Save(char* path) {
    BpdSaveOptions& o = bpdSaveOptions;
    if (BipKeyRange(bones, o.keyFrom, o.keyTo) == 0) return Refuse(kNoBones);
    o.from = Interface::GetAnimStart();
    o.to = Interface::GetAnimEnd();
    if (!AskBpdSaveOptions()) return 0;
    // The frame count is a file field; every frame as a key must also fit in memory.
    const long long frames = static_cast<long long>(o.to) - o.from + 1;
    if (frames > INT32_MAX || (o.allFrames && frames > kMaxAllFrames))
        return Refuse(kFramesOutOfRange);
    const BipFileError e = WriteBipedBpd(path, bones, o.from, o.to, o.allFrames);
    return e == BipFileError::None ? 1 : Refuse(e);
}

int cbipanim::Load(char* path) {
    BpdFile file;
    if (BipFileError e = ReadBpdFile(path, file); e != BipFileError::None) return Refuse(e);
    BpdLoadOptions& o = bpdLoadOptions;
    o.firstFrame = 0;
    o.lastFrame = file.frameCount - 1;
    o.insertAt = GetAnimTime();
    o.numFrames = file.frameCount;
    if (!AskBpdLoadOptions(file.frameCount)) return 0;
    if (BpdLoadKeyBytes(file, o) > kBipMaxLoadBytes) return Refuse(BipFileError::TooManyKeys);
    BpdLoadPlan plan;
    if (!PlanBpdLoad(bones, file, o, plan)) return Refuse(kFramesOutOfRange);
    ApplyBpd(bones, file, o, plan);
    if (plan.end > Interface::GetAnimEnd() &&
        MessageBoxA(nullptr, kAdjustRange, "Biped", MB_YESNO) == IDYES)
        Interface::SetAnimEnd(plan.end);
    Interface::SetAnimTPF(TpfOfFps(file.fps));
    return 1;
}

int cbipanim::SaveHand(char* path) {
    const int hand = WhichHand(0);
    if (hand != kHandRight && hand != kHandLeft) return 0;
    const int t = GetAnimTime();
    BphFile file;
    file.handType = hand;
    for (int link = 0; link < kHandLinks; ++link) {
        cnode* bone = bones[hand + link];
        if (!bone) continue;
        ckey key;  // the identity when the bone has no key at t
        bone->anim.GetKey(t, key);
        file.records.push_back({link, key.rot});
    }
    if (file.records.empty()) return Refuse(kNoHandBones);
    const BipFileError e = WriteBphFile(path, file);
    return e == BipFileError::None ? 1 : Refuse(e);
}

// A bone without a key at the current frame gets one holding its interpolated values there,
// as a hand pose does, with the file's rotation.
int cbipanim::LoadHand(char* path) {
    const int hands = WhichHand(1);
    if (hands == kHandNone) return 0;
    BphFile file;
    if (BipFileError e = ReadBphFile(path, file); e != BipFileError::None) return Refuse(e);
    const int t = GetAnimTime();
    for (const BphRecord& rec : file.records) {
        if (rec.link < 0 || rec.link >= kHandLinks) continue;
        for (int hand : {kHandRight, kHandLeft}) {
            cnode* bone = HandGoesTo(hands, hand) ? bones[hand + rec.link] : nullptr;
            if (!bone) continue;
            ckey key;
            bone->anim.GetInterpolateKey(t, key);
            key.rot = rec.rot;
            if (hand != file.handType) key.rot.x = -key.rot.x, key.rot.y = -key.rot.y;
            bone->anim.SetKey(key);
            bone->UpdateTimeIdle();
        }
    }
    return 1;
}
