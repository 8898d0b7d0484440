// Saving a keyed biped and loading the file onto a fresh one: rotations come back bit for
// bit, the root's path within float sums and scaled by the legs; what a save writes for each
// frame range; hand poses saved from one hand and loaded onto either or both.
#include "Skeleton/BipFile/BipFileBph.h"
#include "file_support.h"

namespace pt {
namespace {

// The root's path comes back as a sum of file steps: float rounding of positions near 10 units.
constexpr float kRootTol = 2e-5f;
// Bipeds of heights 8 and 4 differ by a factor of 2 only up to float rounding of their tables.
constexpr float kScaledRootTol = 1e-4f;

// Keys of the right arm and the spine at 20 and 40, the root moved between them.
void KeyAnimation() {
    Interface::SetAnimOn(1);
    for (int t : {20, 40}) {
        for (int slot : {int{kSlotRUpperArm}, int{kSlotRForearm}, kSlotSpine + 1, 50}) {
            cnode* b = bipani.bones[slot];
            b->SetRotation(t, b->GetRotation(t) * QuatFromAngleAxis(7.0f + t * 0.5f, {1, 0.3f, 0}));
        }
        cnode* root = bipani.bones[kSlotRoot];
        root->SetPosition(t, root->GetPosition(t) + cpoint3{0.3f, -1.25f, 0.05f * t});
        root->SetRotation(t, root->GetRotation(t) * QuatFromAngleAxis(5.0f, {0, 0, 1}));
    }
    Interface::SetAnimOn(0);
}

class RoundTrip : public FileTest {};

TEST_F(RoundTrip, FreshBipedTakesBackEveryKeyBitForBitAndTheRootsPath) {
    BoundBiped();
    KeyAnimation();
    const auto saved = AllKeys();
    std::vector<cpoint3> rootPath;
    for (int t = 0; t <= 100; t += 10) rootPath.push_back(bipani.bones[kSlotRoot]->GetPosition(t));
    ASSERT_EQ(Save(Path("take.bpd")), 1);

    ResetTool();
    qv::ResetScene();
    BoundBiped();
    ASSERT_EQ(Load(Path("take.bpd")), 1);
    for (int slot = 1; slot < kNumSlots; ++slot) {
        if (!bipani.bones[slot]) continue;
        // Every loaded key is the saved track's value at its time, all 44 bytes.
        for (const ckey& k : bipani.bones[slot]->anim.Keys()) {
            ckey expected;
            canim original;
            original.SetNumKeys(static_cast<int>(saved[slot].size()), 1);
            for (size_t i = 0; i < saved[slot].size(); ++i)
                original.SetKeyAt(static_cast<int>(i), saved[slot][i], 0);
            original.GetInterpolateKey(k.time, expected);
            EXPECT_EQ(std::memcmp(&k, &expected, sizeof k), 0)
                << FullName(slot) << " at " << k.time;
        }
    }
    EXPECT_EQ(bipani.bones[kSlotRUpperArm]->anim.NumKeys(), 4);  // 0, 20, 40 and the range end
    for (int i = 0; i <= 10; ++i)
        EXPECT_TRUE(PointNear(bipani.bones[kSlotRoot]->GetPosition(10 * i), rootPath[i], kRootTol))
            << "frame " << 10 * i;
}

TEST_F(RoundTrip, HalfSizeBipedTakesHalfTheRootsSteps) {
    BoundBiped();
    KeyAnimation();
    cnode* root = bipani.bones[kSlotRoot];
    const cpoint3 step = root->GetPosition(40) - root->GetPosition(0);
    ASSERT_EQ(Save(Path("take.bpd")), 1);

    ResetTool();
    qv::ResetScene();
    ApplyCounts({});
    ResetBuilder();
    BuildBiped({});
    cnode* small = createRoot;
    SetBipedHeight(small, 4.0f);
    HandOverBiped(false);
    ResetBuilder();
    ASSERT_EQ(Open(small), 1);
    ASSERT_EQ(Load(Path("take.bpd")), 1);
    EXPECT_TRUE(PointNear(small->GetPosition(40) - small->GetPosition(0), step * 0.5f,
                          kScaledRootTol));
}

// --- what a save writes --------------------------------------------------------------------------

struct SaveRange {
    const char* name;
    const char* from;
    const char* to;
    bool allFrames;
    std::vector<int> armTimes;  // times written for "R UpperArm" (keys at 0, 20, 40)
};

void PrintTo(const SaveRange& c, std::ostream* os) { *os << c.name; }

class SaveRanges : public FileTest, public testing::WithParamInterface<SaveRange> {};

TEST_P(SaveRanges, WriteSamplesAtTheEndsAndTheKeysBetween) {
    const SaveRange& c = GetParam();
    BoundBiped();
    KeyAnimation();
    Type("From:", c.from);
    Type("To:", c.to);
    if (c.allFrames) Press("Save All Frames As Keyframes");
    ASSERT_EQ(Save(Path("range.bpd")), 1);
    BpdFile f;
    ASSERT_EQ(ReadBpdFile(Path("range.bpd").c_str(), f), BipFileError::None);
    const int from = std::min(std::atoi(c.from), std::atoi(c.to));
    EXPECT_EQ(f.startFrame, from);
    EXPECT_EQ(f.frameCount, std::abs(std::atoi(c.to) - std::atoi(c.from)) + 1);
    for (const BpdBone& b : f.bones) {
        if (b.slot != kSlotRUpperArm && b.slot != kSlotRoot) continue;
        std::vector<int> times;
        for (const ckey& k : b.keys) times.push_back(k.time);
        EXPECT_EQ(times, c.armTimes) << "slot " << b.slot;
        for (const ckey& k : b.keys) {  // the root holds its node's placement at every time
            if (b.slot != kSlotRoot) continue;
            EXPECT_TRUE(PointNear(k.pos, bipani.bones[0]->GetPosition(from + k.time), 0.0f));
        }
    }
}

std::vector<int> Frames(int n) {
    std::vector<int> out(n);
    for (int i = 0; i < n; ++i) out[i] = i;
    return out;
}

const SaveRange kSaveRanges[] = {
    {"WholeRange", "0", "100", false, {0, 20, 40, 100}},
    {"KeysAtTheEndsWrittenOnce", "20", "40", false, {0, 20}},
    {"NoKeysInside", "21", "39", false, {0, 18}},
    {"OneFrame", "30", "30", false, {0}},
    {"OneFrameAllFrames", "30", "30", true, {0}},
    {"ExchangedEnds", "45", "15", false, {0, 5, 25, 30}},
    {"AllFrames", "10", "17", true, Frames(8)},
};

INSTANTIATE_TEST_SUITE_P(Biped, SaveRanges, testing::ValuesIn(kSaveRanges),
                         [](const auto& info) { return std::string(info.param.name); });

// "Key Range" shows the keyed frames (here 0 to 40); "Anim Range" puts the animation range back.
TEST_F(RoundTrip, RangeButtonsFillTheFramesSaved) {
    BoundBiped();
    KeyAnimation();
    const std::pair<std::vector<const char*>, int> cases[] = {
        {{"Key Range"}, 41}, {{"Key Range", "Anim Range"}, 101}};
    for (const auto& [buttons, frames] : cases) {
        for (const char* b : buttons) Press(b);
        ASSERT_EQ(Save(Path("range.bpd")), 1);
        BpdFile f;
        ASSERT_EQ(ReadBpdFile(Path("range.bpd").c_str(), f), BipFileError::None);
        EXPECT_EQ(f.frameCount, frames) << buttons.back();
        EXPECT_EQ(f.startFrame, 0);
    }
}

TEST_F(RoundTrip, SaveWritesTheLegMeasureAndTheHostsRate) {
    BoundBiped();
    Interface::SetAnimTPF(40);
    ASSERT_EQ(Save(Path("rate.bpd")), 1);
    BpdFile f;
    ASSERT_EQ(ReadBpdFile(Path("rate.bpd").c_str(), f), BipFileError::None);
    EXPECT_EQ(f.fps, 25);
    const float thigh = Length(bipani.bones[2]->GetPosition(0) - bipani.bones[3]->GetPosition(0));
    const float calf = Length(bipani.bones[3]->GetPosition(0) - bipani.bones[4]->GetPosition(0));
    EXPECT_EQ(f.legMeasure, thigh + calf);
    EXPECT_EQ(static_cast<int>(f.bones.size()), ExpectedBoneCount(CurrentCounts()));
}

// --- hand poses ---------------------------------------------------------------------------------

class HandFiles : public FileTest {
protected:
    // Keys on the right hand's bones at frame 10, each turned its own way.
    void PoseRightHand() {
        for (int link = 0; link < kHandLinks; ++link) {
            cnode* b = bipani.bones[kSlotRHand + link];
            if (!b) continue;
            ckey k = KeyAt(kSlotRHand + link, 10);
            k.rot = QuatFromAngleAxis(3.0f * link + 2.0f, {0.2f, 1, 0.4f});
            b->anim.SetKey(k);
        }
    }
    int SaveHand(const char* hand) {
        Press(hand);
        Press("OK");
        return bipani.SaveHand(const_cast<char*>(Path("hand.bph").c_str()));
    }
    int LoadHand(std::vector<const char*> hands, const std::string& path) {
        for (const char* h : hands) Press(h);
        Press("OK");
        return bipani.LoadHand(const_cast<char*>(path.c_str()));
    }
};

TEST_F(HandFiles, RightHandPoseGoesBackAsSavedAndMirroredOntoTheLeft) {
    BoundBiped();
    PoseRightHand();
    Interface::SetAnimTime(10);
    ASSERT_EQ(SaveHand("Right Hand"), 1);
    const auto posed = AllKeys();
    ResetTool();
    qv::ResetScene();
    BoundBiped();
    Interface::SetAnimTime(10);
    ASSERT_EQ(LoadHand({"Right Hand", "Left Hand"}, Path("hand.bph")), 1);
    for (int link = 0; link < kHandLinks; ++link) {
        const cquat r = KeyAt(kSlotRHand + link, 10).rot;
        const cquat l = KeyAt(kSlotLHand + link, 10).rot;
        ckey original;
        for (const ckey& k : posed[kSlotRHand + link])
            if (k.time == 10) original = k;
        EXPECT_EQ(std::memcmp(&r, &original.rot, 16), 0) << "right link " << link;
        const cquat mirrored{-original.rot.x, -original.rot.y, original.rot.z, original.rot.w};
        EXPECT_EQ(std::memcmp(&l, &mirrored, 16), 0) << "left link " << link;
        // A bone without a key at 10 gets one holding its own position there.
        const cpoint3 own = KeyAt(kSlotLHand + link, 10).pos;
        EXPECT_EQ(std::memcmp(&own, &posed[kSlotLHand + link].front().pos, 12), 0);
    }
}

TEST_F(HandFiles, GoldenLeftHandTouchesOnlyTheLinksItHolds) {
    BoundBiped();
    const auto before = AllKeys();
    ASSERT_EQ(LoadHand({"Left Hand"}, GoldenPath(golden::LeftHandPartial().file)), 1);
    const auto& g = golden::LeftHandPartial();
    for (int link = 0; link < kHandLinks; ++link) {
        const int slot = kSlotLHand + link;
        const golden::HandRecord* rec = nullptr;
        for (const auto& r : g.records)
            if (r.link == link) rec = &r;
        if (!rec) {
            EXPECT_TRUE(SameKeys(bipani.bones[slot]->anim.Keys(), before[slot])) << link;
            continue;
        }
        const cquat q = KeyAt(slot, 0).rot;  // same hand as the file: unchanged
        EXPECT_EQ(std::memcmp(&q, rec->rot, 16), 0) << link;
    }
    EXPECT_TRUE(SameKeys(bipani.bones[kSlotRHand]->anim.Keys(), before[kSlotRHand]));
}

TEST_F(HandFiles, HandWithFewerLinksWritesOnlyItsBones) {
    BoundBiped({4, 3, 2, 5, 3});
    ASSERT_EQ(SaveHand("Left Hand"), 1);
    BphFile f;
    ASSERT_EQ(ReadBphFile(Path("hand.bph").c_str(), f), BipFileError::None);
    EXPECT_EQ(f.handType, kSlotLHand);
    std::vector<int> links;
    for (const BphRecord& r : f.records) links.push_back(r.link);
    EXPECT_EQ(links, (std::vector<int>{0, 1, 2, 4, 5, 7, 8}));
}

// --- refusals before or without a file --------------------------------------------------------

struct Refusal {
    const char* name;
    int (cbipanim::*command)(char*);
    const char* file;  // in the test's folder
    std::vector<std::pair<const char*, const char*>> steps;  // control and text typed, or pressed
    bool unbound;      // the tool bound to no biped at all
    const char* message;
};

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

class FileRefusals : public FileTest, public testing::WithParamInterface<Refusal> {};

std::vector<std::vector<ckey>> SceneKeys() {
    std::vector<std::vector<ckey>> out;
    for (int i = 0; i < Interface::NumNodes(); ++i)
        out.push_back(Interface::GetNodeAt(i)->anim.Keys());
    return out;
}

TEST_P(FileRefusals, AreToldAndChangeNoKeyAndWriteNoFile) {
    const Refusal& c = GetParam();
    BoundBiped();
    for (int link = 0; link < kHandLinks; ++link)  // bones go as the user deletes them
        if (cnode* b = Node(FullName(kSlotRHand + link))) b->DeleteThis();
    ASSERT_EQ(Open(Node("Bip01")), 1);
    if (c.unbound) ResetTool();
    const auto before = SceneKeys();
    for (const auto& [control, text] : c.steps) text ? Type(control, text) : Press(control);
    Answer("ok");
    EXPECT_EQ((bipani.*c.command)(const_cast<char*>(Path(c.file).c_str())), 0);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{c.message});
    EXPECT_TRUE(SameKeys(SceneKeys(), before));
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

const Refusal kRefusals[] = {
    {"LoadOfAMissingFile", &cbipanim::Load, "none.bpd", {}, false, "Can't open file!"},
    {"LoadHandOfAMissingFile", &cbipanim::LoadHand, "none.bph",
     {{"Left Hand", nullptr}, {"OK", nullptr}}, false, "Can't open file!"},
    {"SaveHandOfAHandWithNoBones", &cbipanim::SaveHand, "h.bph",
     {{"Right Hand", nullptr}, {"OK", nullptr}}, false, "No Bip Hand bones found! Aborting"},
    {"SaveOfNoBones", &cbipanim::Save, "a.bpd", {}, true, "No Bip bones found! Aborting"},
    {"SaveOfEveryFrameOfAHugeRange", &cbipanim::Save, "a.bpd",
     {{"To:", "2000000"}, {"Save All Frames As Keyframes", nullptr}, {"OK", nullptr}}, false,
     "Frames out of range - Aborting!"},
};

INSTANTIATE_TEST_SUITE_P(Biped, FileRefusals, testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pt
