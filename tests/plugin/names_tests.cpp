// Bone slots and names: toe and finger numbering, mirror pairs and sides, the default
// hierarchy and which slots a shape has; full names built from a prefix; the prefix of a new
// biped; and the joint classes read off names with the IK limits they give.
#include <set>

#include "Skeleton/Bip/BipJointLimits.h"
#include "Skeleton/Bip/BipPrefix.h"
#include "plugin_support.h"

namespace pt {
namespace {

std::string Name(int slot) {
    const char* n = BipBaseName(slot);
    return n ? n : "";
}

TEST(BoneTable, ToeAndFingerSlotsFollowTheirNumbering) {
    // "R Toe3" / "L Finger41": side letter, word, digit number, and the link number past link 0.
    for (int right = 0; right <= 1; ++right)
        for (int d = 0; d < kMaxDigits; ++d)
            for (int l = 0; l < kMaxDigitLinks; ++l) {
                const std::string tail = std::to_string(d) + (l > 0 ? std::to_string(l) : "");
                EXPECT_EQ(Name(ToeSlot(right, d, l)), (right ? "R Toe" : "L Toe") + tail);
                EXPECT_EQ(Name(FingerSlot(right, d, l)), (right ? "R Finger" : "L Finger") + tail);
            }
    EXPECT_EQ(ToeSlot(1, 3, 1), 15);
    EXPECT_EQ(ToeSlot(0, 0, 0), 23);
    EXPECT_EQ(FingerSlot(1, 4, 2), 63);
    EXPECT_EQ(FingerSlot(0, 0, 0), 68);
    EXPECT_EQ(ToeSlot(1, 5, 0), -1);
    EXPECT_EQ(FingerSlot(0, 0, 3), -1);
    EXPECT_EQ(FingerSlot(1, -1, 0), -1);
    std::set<std::string> seen;
    for (int slot = 1; slot <= kSlotLast; ++slot)
        EXPECT_TRUE(seen.insert(Name(slot)).second) << slot;
    for (int slot : {0, -1, 83}) EXPECT_EQ(BipBaseName(slot), nullptr) << slot;
}

TEST(MirrorSlot, PairsLegsAndArms) {
    const std::pair<int, int> pairs[] = {{2, 20}, {19, 37}, {20, 2}, {37, 19},
                                         {45, 64}, {63, 82}, {64, 45}, {82, 63}};
    for (const auto& [s, m] : pairs) EXPECT_EQ(GetMirrorSlot(s), m) << "slot " << s;
    for (int s : {0, 1, 38, 39, 42, 43, 44, -1, 83, 1000, -83})
        EXPECT_EQ(GetMirrorSlot(s), -1) << s;
}

TEST(MirrorSlot, SwapsTheSideLetterOfTheNameAndMatchesTheSide) {
    int counts[4] = {};
    for (int s = 0; s <= kSlotLast; ++s) {
        const SlotSide side = GetSlotSide(s);
        ++counts[static_cast<int>(side)];
        const std::string lead = Name(s).substr(0, 2);
        EXPECT_EQ(lead == "R "   ? SlotSide::Right
                  : lead == "L " ? SlotSide::Left
                                 : SlotSide::Centre,
                  side)
            << s;
        const int m = GetMirrorSlot(s);
        EXPECT_EQ(m >= 0, side == SlotSide::Right || side == SlotSide::Left) << s;
        if (m < 0) continue;
        EXPECT_EQ(GetMirrorSlot(m), s);
        std::string n = Name(s);
        n[0] = n[0] == 'R' ? 'L' : 'R';
        EXPECT_EQ(Name(m), n);
    }
    EXPECT_EQ(counts[static_cast<int>(SlotSide::Right)], 37);
    EXPECT_EQ(counts[static_cast<int>(SlotSide::Left)], 37);
    EXPECT_EQ(counts[static_cast<int>(SlotSide::Centre)], 9);
    EXPECT_EQ(GetSlotSide(-1), SlotSide::None);
    EXPECT_EQ(GetSlotSide(83), SlotSide::None);
}

TEST(DefaultHierarchy, LimbsHangFromPelvisAndTopSpineLinkAndDigitsChain) {
    const std::pair<int, int> parents[] = {{0, -1},  {1, 0},   {2, 1},   {20, 1},  {4, 3},
                                           {22, 21}, {38, 1},  {41, 40}, {44, 43}, {48, 47},
                                           {67, 66}, {83, -1}, {-1, -1}};
    for (const auto& [s, p] : parents) EXPECT_EQ(DefaultParentSlot(s, 4), p) << s;
    for (int n = 1; n <= kMaxSpineLinks; ++n)
        for (int s : {43, 45, 64})
            EXPECT_EQ(DefaultParentSlot(s, n), 38 + n - 1) << s << " n=" << n;
    for (int d = 0; d < kMaxDigits; ++d)
        for (int right = 0; right <= 1; ++right) {
            EXPECT_EQ(DefaultParentSlot(ToeSlot(right, d, 0), 4), right ? 4 : 22);
            EXPECT_EQ(DefaultParentSlot(FingerSlot(right, d, 0), 4), right ? 48 : 67);
            for (int l = 1; l < kMaxDigitLinks; ++l) {
                EXPECT_EQ(DefaultParentSlot(ToeSlot(right, d, l), 4), ToeSlot(right, d, l - 1));
                EXPECT_EQ(DefaultParentSlot(FingerSlot(right, d, l), 4),
                          FingerSlot(right, d, l - 1));
            }
        }
}

TEST(Presence, CountsFollowTheShapeAndEveryParentIsPresent) {
    auto count = [](const BipShape& shape) {
        int n = 0;
        for (int s = -1; s <= kSlotLast + 1; ++s) n += IsSlotPresent(s, shape);
        return n;
    };
    for (const BipShape& shape :
         {BipShape{5, 5, 3, 5, 3}, {1, 0, 1, 1, 1}, {4, 5, 3, 5, 3}, {2, 1, 2, 2, 3}})
        EXPECT_EQ(count(shape), ExpectedBoneCount(shape));
    const BipShape two{2, 1, 2, 1, 1};  // spine links, digits and links from the first
    for (int s : {39, FingerSlot(0, 0, 1), ToeSlot(1, 0, 0)})
        EXPECT_TRUE(IsSlotPresent(s, two)) << s;
    for (int s : {40, FingerSlot(0, 0, 2), FingerSlot(1, 1, 0), ToeSlot(1, 0, 1)})
        EXPECT_FALSE(IsSlotPresent(s, two)) << s;
    for (int spines = 1; spines <= 5; ++spines)
        for (int digits = 0; digits <= 5; ++digits)
            for (int links = 1; links <= 3; ++links) {
                const BipShape shape{spines, digits, links, digits, links};
                for (int s = 1; s <= kSlotLast; ++s)
                    EXPECT_TRUE(!IsSlotPresent(s, shape) ||
                                IsSlotPresent(DefaultParentSlot(s, spines), shape))
                        << s;
            }
}

// --- full names in the module's one name buffer --------------------------------------------------

TEST(BoneName, PrefixThenBaseNameInOneBufferEveryCallOverwrites) {
    cbipanim tool;
    EXPECT_STREQ(tool.MakeName("Pelvis"), "Pelvis");  // unbound: an empty prefix
    std::strcpy(tool.prefix, "Bip02 ");
    char* first = tool.MakeName("L Thigh");
    EXPECT_STREQ(first, "Bip02 L Thigh");
    char* second = tool.MakeName_("L Finger42");
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "Bip02_L_Finger42");
    EXPECT_EQ(MakeBoneName("Bip03 ", "Head"), first);
    EXPECT_STREQ(first, "Bip03 Head");
    EXPECT_STREQ(MakeBoneName_("My Big Bip ", "R Toe 3 "), "My_Big_Bip_R_Toe_3_");
    EXPECT_STREQ(MakeBoneName_("", ""), "");
}

TEST(BoneName, LongNamesAreCutToTheBuffer) {
    const std::string prefix(200, 'p');
    const char* name = MakeBoneName(prefix.c_str(), std::string(100, ' ').c_str());
    ASSERT_EQ(std::strlen(name), static_cast<size_t>(kNameBufferSize - 1));
    EXPECT_EQ(std::string(name, 200), prefix);
    const char* under = MakeBoneName_(prefix.c_str(), std::string(100, ' ').c_str());
    EXPECT_EQ(std::string(under + 200), std::string(kNameBufferSize - 1 - 200, '_'));
    // A prefix alone longer than the buffer keeps its first 255 characters and no base name.
    EXPECT_EQ(std::string(MakeBoneName(std::string(400, 'q').c_str(), "Pelvis")),
              std::string(255, 'q'));
}

// --- the prefix of a new biped: the smallest number no root-like node name uses ------------------

TEST(PrefixNumber, ShortBipNamesWithDigitsCount) {
    const std::pair<const char*, int> names[] = {
        {"Bip01", 1}, {"bip7", 7}, {"BIP123", 123}, {"Bip999", 999}, {"Bip0", 0},
        {"Bip12x", 12},  // digits up to the first non-digit
        {"Biped", -1}, {"Bip01 Pelvis", -1}, {"Bip", -1}, {"BipX1", -1}, {"xBip01", -1},
        {"Bip1000", -1}, {"", -1}, {"Bo01", -1}, {"Bi", -1}};
    for (const auto& [name, number] : names) EXPECT_EQ(PrefixNumberOfName(name), number) << name;
    EXPECT_EQ(PrefixNumberOfName(nullptr), -1);
}

TEST(NewPrefix, FirstFreeNumberAmongTheScenesNames) {
    auto upTo = [](int last, const char* form) {
        std::vector<std::string> names;
        for (int n = 1; n <= last; ++n)
            names.push_back((n < 10 ? std::string(form) + "0" : form) + std::to_string(n));
        return names;
    };
    std::vector<std::string> upper = upTo(122, "bip");
    upper.push_back("BIP123");
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{}, "Bip01"}, {{"Bip01", "Bip02"}, "Bip03"}, {{"Bip02"}, "Bip01"},
        {upTo(9, "Bip"), "Bip10"}, {upTo(15, "Bip"), "Bip16"},
        {{"Biped", "Bip01 Pelvis", "bip0"}, "Bip01"}, {upper, "Bip124"}};
    for (const auto& [names, prefix] : cases) {
        qv::ResetScene();
        for (const std::string& name : names) {
            cbone* bone = CreateNewBone();
            bone->SetName(name.c_str());
            Interface::AddToScene(bone, 0);
        }
        char out[kPrefixBufferSize] = {};
        NewBipPrefix(out);
        EXPECT_STREQ(out, prefix) << names.size() << " names";
    }
    qv::ResetScene();
}

// --- joint classes and the IK limits they give a bone --------------------------------------------

TEST(JointClass, ReadOffTheNameInAnyCaseWithThumbsNeedingTwoFingers) {
    struct Case { const char* name; int fingers, jointClass; };
    const Case cases[] = {
        {"Bip01 Pelvis", 5, 0}, {"Bip01 R Clavicle", 5, 1}, {"Bip01 L Forearm", 5, 2},
        {"Bip01 L Calf", 5, 3}, {"Bip01 R Foot", 5, 4}, {"Bip01 L Hand", 5, 5},
        {"Bip01 R Finger0", 5, 6}, {"Bip01 R Finger01", 5, 7}, {"Bip01 R Finger02", 5, 7},
        {"Bip01 R Finger32", 5, 8}, {"Bip01 L Finger4", 5, 9}, {"Bip01 R Toe41", 5, 10},
        {"Bip01 R Toe4", 5, 11}, {"Bip01 L Finger0", 1, 9}, {"Bip01 L Finger01", 1, 8},
        {"Bip01 L Finger0", 2, 6}, {"Bip01 L Finger01", 2, 7}, {"Bip01 L Finger0", 0, 9},
        {"BIP01 R FINGER01", 5, 7}, {"bip01 l toe2", 5, 11}, {"Bip01 L cAlF", 5, 3},
        {"BIP02 PELVIS", 5, 0}, {"Bip01", 5, kNoJointClass}, {"Bip01 Spine3", 5, kNoJointClass},
        {"Bip01 L Thigh", 5, kNoJointClass}, {"Bip01 R UpperArm", 5, kNoJointClass},
        {"Bip01 Neck", 5, kNoJointClass}, {"Bip01 Head", 5, kNoJointClass}, {"", 5, kNoJointClass},
        {"Bip01 Finger", 5, kNoJointClass}};
    for (const Case& c : cases) {
        numFingers = c.fingers;
        EXPECT_EQ(GetJointClass(c.name), c.jointClass) << '"' << c.name << "\" with " << c.fingers;
    }
    numFingers = 5;
    EXPECT_EQ(GetJointClass(nullptr), kNoJointClass);
}

// A bone that records the IK calls made on it, in order.
class RecordingBone : public cbone {
public:
    explicit RecordingBone(const char* name) { SetName(name); }
    std::vector<std::string> calls;
    void SetIKInitialRot(const cquat& q) override {
        calls.push_back("initial");
        cbone::SetIKInitialRot(q);
    }
    void SetIKMinRot(const cpoint3& d) override { calls.push_back("min"); cbone::SetIKMinRot(d); }
    void SetIKMaxRot(const cpoint3& d) override { calls.push_back("max"); cbone::SetIKMaxRot(d); }
    void EnableIKDOF(int on) override { calls.push_back("dof"); cbone::EnableIKDOF(on); }
};

TEST(JointSetup, ClassedBonesGetFirstKeyRotationAndTheirLimitsOthersKeepTheHostSettings) {
    RecordingBone calf("Bip01 L Calf");
    const cquat first = Normalize(cquat(0.1f, 0.2f, 0.3f, 0.9f));
    ckey k;
    k.rot = first;
    calf.anim.SetKey(k);
    k.time = 10;
    k.rot = cquat(0.0f, 0.0f, 1.0f, 0.0f);  // a later key must not be taken
    calf.anim.SetKey(k);
    SetupJointLimits(&calf);
    EXPECT_EQ(calf.calls, (std::vector<std::string>{"initial", "min", "max", "dof"}));
    EXPECT_EQ(calf.GetIKInfo().initial, first);
    EXPECT_EQ(calf.GetIKInfo().dof, 1);
    struct Limits { const char* name; cpoint3 min, max; };
    for (const Limits& l : {Limits{"Bip01 L Calf", {0, 0, 0}, {0, 0, 180}},
                            {"Bip01 R Finger0", {0, -90, -15}, {0, 20, 15}},
                            {"Bip01 L Toe3", {0, -15, -20}, {0, 15, 90}},
                            {"Bip01 Pelvis", {0, -180, 0}, {0, 180, 0}}}) {
        RecordingBone bone(l.name);
        SetupJointLimits(&bone);
        EXPECT_EQ(bone.GetIKInfo().min, l.min) << l.name;
        EXPECT_EQ(bone.GetIKInfo().max, l.max) << l.name;
    }
    RecordingBone neck("Bip01 Neck");  // no class: the host's settings stay
    cikinfo before;
    before.min = cpoint3(1, 2, 3);
    before.dof = 0;
    neck.SetIKInfo(before);
    SetupJointLimits(&neck);
    SetupJointLimits(nullptr);  // no bone: nothing happens
    EXPECT_TRUE(neck.calls.empty());
    EXPECT_EQ(neck.GetIKInfo().min, cpoint3(1, 2, 3));
    EXPECT_EQ(neck.GetIKInfo().dof, 0);
}

}  // namespace
}  // namespace pt
