// The bone table, slot sides and groups, mirror pairs and the default hierarchy.
#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "Skeleton/BipBones.h"
#include "Skeleton/BipNames.h"

namespace {

std::string Name(int slot) {
    const char* n = BipBaseName(slot);
    return n ? n : "";
}

// "R Toe3" / "L Finger41": side letter, word, digit number, and the link number past link 0.
std::string DigitName(bool right, const char* word, int digit, int link) {
    std::string s = std::string(right ? "R " : "L ") + word + std::to_string(digit);
    if (link > 0) s += std::to_string(link);
    return s;
}

TEST(BoneTable, EntriesAreZeroPaddedSixtyFourByteFields) {
    static_assert(sizeof(BipBoneTable) == 82 * 64);
    for (int i = 0; i < kNumBoneNames; ++i) {
        const size_t len = std::strlen(BipBoneTable[i]);
        ASSERT_GT(len, 0u) << "entry " << i;
        for (size_t b = len; b < kBoneNameSize; ++b)
            ASSERT_EQ(BipBoneTable[i][b], '\0') << "entry " << i << " byte " << b;
    }
}

TEST(BoneTable, EntryIHoldsSlotIPlusOne) {
    EXPECT_EQ(std::string(BipBoneTable[0]), "Pelvis");
    EXPECT_EQ(std::string(BipBoneTable[81]), "L Finger42");
    for (int slot = 1; slot <= kSlotLast; ++slot) EXPECT_EQ(BipBaseName(slot), BipBoneTable[slot - 1]);
}

TEST(BoneTable, LimbAndTrunkNames) {
    const std::pair<int, const char*> expected[] = {
        {1, "Pelvis"},      {2, "R Thigh"},     {3, "R Calf"},      {4, "R Foot"},
        {20, "L Thigh"},    {21, "L Calf"},     {22, "L Foot"},     {38, "Spine"},
        {39, "Spine1"},     {42, "Spine4"},     {43, "Neck"},       {44, "Head"},
        {45, "R Clavicle"}, {46, "R UpperArm"}, {47, "R Forearm"},  {48, "R Hand"},
        {64, "L Clavicle"}, {65, "L UpperArm"}, {66, "L Forearm"},  {67, "L Hand"},
    };
    for (const auto& [slot, name] : expected) EXPECT_EQ(Name(slot), name) << "slot " << slot;
}

TEST(BoneTable, ToeAndFingerSlotsFollowTheirNumbering) {
    for (int right = 0; right <= 1; ++right)
        for (int d = 0; d < kMaxDigits; ++d)
            for (int l = 0; l < kMaxDigitLinks; ++l) {
                EXPECT_EQ(Name(ToeSlot(right, d, l)), DigitName(right, "Toe", d, l));
                EXPECT_EQ(Name(FingerSlot(right, d, l)), DigitName(right, "Finger", d, l));
            }
    EXPECT_EQ(ToeSlot(1, 3, 1), 15);
    EXPECT_EQ(ToeSlot(0, 0, 0), 23);
    EXPECT_EQ(FingerSlot(1, 4, 2), 63);
    EXPECT_EQ(FingerSlot(0, 0, 0), 68);
    EXPECT_EQ(ToeSlot(1, 5, 0), -1);
    EXPECT_EQ(FingerSlot(0, 0, 3), -1);
    EXPECT_EQ(FingerSlot(1, -1, 0), -1);
}

TEST(BoneTable, NamesAreUnique) {
    std::set<std::string> seen;
    for (int slot = 1; slot <= kSlotLast; ++slot) EXPECT_TRUE(seen.insert(Name(slot)).second) << slot;
}

TEST(BoneTable, RootAndOutOfRangeSlotsHaveNoBaseName) {
    EXPECT_EQ(BipBaseName(0), nullptr);
    EXPECT_EQ(BipBaseName(-1), nullptr);
    EXPECT_EQ(BipBaseName(83), nullptr);
}

TEST(MirrorSlot, PairsLegsAndArms) {
    const std::pair<int, int> pairs[] = {{2, 20},  {19, 37}, {20, 2},  {37, 19},
                                         {45, 64}, {63, 82}, {64, 45}, {82, 63}};
    for (const auto& [s, m] : pairs) EXPECT_EQ(GetMirrorSlot(s), m) << "slot " << s;
}

TEST(MirrorSlot, CentreAndOutOfRangeSlotsHaveNone) {
    for (int s : {0, 1, 38, 39, 42, 43, 44, -1, 83, 1000, -83}) EXPECT_EQ(GetMirrorSlot(s), -1) << s;
}

TEST(MirrorSlot, SwapsTheSideLetterOfTheName) {
    for (int s = 0; s <= kSlotLast; ++s) {
        const int m = GetMirrorSlot(s);
        if (m < 0) continue;
        EXPECT_EQ(GetMirrorSlot(m), s);
        std::string n = Name(s);
        ASSERT_TRUE(n[0] == 'R' || n[0] == 'L') << n;
        n[0] = n[0] == 'R' ? 'L' : 'R';
        EXPECT_EQ(Name(m), n);
    }
}

TEST(SlotSide, AgreesWithTheNamesSideLetter) {
    int counts[4] = {};
    for (int s = 0; s <= kSlotLast; ++s) {
        const SlotSide side = GetSlotSide(s);
        ++counts[static_cast<int>(side)];
        const std::string n = Name(s);
        const std::string lead = n.substr(0, 2);
        if (side == SlotSide::Right) {
            EXPECT_EQ(lead, "R ") << s;
        } else if (side == SlotSide::Left) {
            EXPECT_EQ(lead, "L ") << s;
        } else {
            EXPECT_TRUE(lead != "R " && lead != "L ") << s;
        }
        // A slot has a mirror exactly when it is on a side.
        EXPECT_EQ(GetMirrorSlot(s) >= 0, side == SlotSide::Right || side == SlotSide::Left) << s;
    }
    EXPECT_EQ(counts[static_cast<int>(SlotSide::Right)], 37);
    EXPECT_EQ(counts[static_cast<int>(SlotSide::Left)], 37);
    EXPECT_EQ(counts[static_cast<int>(SlotSide::Centre)], 9);
    EXPECT_EQ(GetSlotSide(-1), SlotSide::None);
    EXPECT_EQ(GetSlotSide(83), SlotSide::None);
}

TEST(SlotGroup, GroupsByAnatomy) {
    EXPECT_EQ(GetSlotGroup(0), SlotGroup::Root);
    EXPECT_EQ(GetSlotGroup(1), SlotGroup::Pelvis);
    for (int s : {2, 3, 4, 20, 21, 22}) EXPECT_EQ(GetSlotGroup(s), SlotGroup::Leg) << s;
    for (int s : {5, 19, 23, 37}) EXPECT_EQ(GetSlotGroup(s), SlotGroup::Toes) << s;
    for (int s : {38, 42}) EXPECT_EQ(GetSlotGroup(s), SlotGroup::Spine) << s;
    for (int s : {43, 44}) EXPECT_EQ(GetSlotGroup(s), SlotGroup::NeckHead) << s;
    for (int s : {45, 48, 64, 67}) EXPECT_EQ(GetSlotGroup(s), SlotGroup::Arm) << s;
    for (int s : {49, 63, 68, 82}) EXPECT_EQ(GetSlotGroup(s), SlotGroup::Fingers) << s;
    EXPECT_EQ(GetSlotGroup(83), SlotGroup::None);
}

TEST(DefaultHierarchy, LimbsHangFromPelvisAndTopSpineLink) {
    EXPECT_EQ(DefaultParentSlot(0, 4), -1);
    EXPECT_EQ(DefaultParentSlot(1, 4), 0);
    EXPECT_EQ(DefaultParentSlot(2, 4), 1);
    EXPECT_EQ(DefaultParentSlot(20, 4), 1);
    EXPECT_EQ(DefaultParentSlot(4, 4), 3);
    EXPECT_EQ(DefaultParentSlot(22, 4), 21);
    EXPECT_EQ(DefaultParentSlot(38, 4), 1);
    EXPECT_EQ(DefaultParentSlot(41, 4), 40);
    EXPECT_EQ(DefaultParentSlot(44, 4), 43);
    EXPECT_EQ(DefaultParentSlot(48, 4), 47);
    EXPECT_EQ(DefaultParentSlot(67, 4), 66);
    for (int n = 1; n <= kMaxSpineLinks; ++n)
        for (int s : {43, 45, 64}) EXPECT_EQ(DefaultParentSlot(s, n), 38 + n - 1) << s << " n=" << n;
    EXPECT_EQ(DefaultParentSlot(83, 4), -1);
    EXPECT_EQ(DefaultParentSlot(-1, 4), -1);
}

TEST(DefaultHierarchy, DigitLinksChainFromFootAndHand) {
    for (int d = 0; d < kMaxDigits; ++d) {
        EXPECT_EQ(DefaultParentSlot(ToeSlot(1, d, 0), 4), 4);
        EXPECT_EQ(DefaultParentSlot(ToeSlot(0, d, 0), 4), 22);
        EXPECT_EQ(DefaultParentSlot(FingerSlot(1, d, 0), 4), 48);
        EXPECT_EQ(DefaultParentSlot(FingerSlot(0, d, 0), 4), 67);
        for (int l = 1; l < kMaxDigitLinks; ++l) {
            EXPECT_EQ(DefaultParentSlot(ToeSlot(0, d, l), 4), ToeSlot(0, d, l - 1));
            EXPECT_EQ(DefaultParentSlot(FingerSlot(1, d, l), 4), FingerSlot(1, d, l - 1));
        }
    }
}

TEST(DefaultHierarchy, MirrorBonesHaveMirrorParents) {
    for (int s = 0; s <= kSlotLast; ++s) {
        const int m = GetMirrorSlot(s);
        if (m < 0) continue;
        const int p = DefaultParentSlot(s, 3);
        const int mp = DefaultParentSlot(m, 3);
        EXPECT_EQ(GetMirrorSlot(p) >= 0 ? GetMirrorSlot(p) : p, mp) << "slot " << s;
    }
}

int CountPresent(const BipShape& shape) {
    int n = 0;
    for (int s = -1; s <= kSlotLast + 1; ++s) n += IsSlotPresent(s, shape);
    return n;
}

TEST(Presence, CountsFollowTheShape) {
    // 23 fixed bones: root, pelvis, 2 x 3 leg, 5 spine at most, neck, head, 2 x 4 arm.
    EXPECT_EQ(CountPresent({5, 5, 3, 5, 3}), 83);
    EXPECT_EQ(CountPresent({1, 0, 1, 1, 1}), 19 + 2);
    EXPECT_EQ(CountPresent({4, 5, 3, 5, 3}), 82);
    EXPECT_EQ(CountPresent({2, 1, 2, 2, 3}), 20 + 2 * 2 + 2 * 6);
}

TEST(Presence, ParentOfEveryPresentBoneIsPresent) {
    for (int spines = 1; spines <= 5; ++spines)
        for (int digits = 0; digits <= 5; ++digits)
            for (int links = 1; links <= 3; ++links) {
                const BipShape shape{spines, digits, links, digits, links};
                for (int s = 1; s <= kSlotLast; ++s) {
                    if (!IsSlotPresent(s, shape)) continue;
                    EXPECT_TRUE(IsSlotPresent(DefaultParentSlot(s, spines), shape)) << s;
                }
            }
}

TEST(Presence, SpineLinksFromTheBottom) {
    const BipShape two{2, 5, 3, 5, 3};
    EXPECT_TRUE(IsSlotPresent(38, two));
    EXPECT_TRUE(IsSlotPresent(39, two));
    EXPECT_FALSE(IsSlotPresent(40, two));
    const BipShape thumbs{4, 1, 2, 1, 1};
    EXPECT_TRUE(IsSlotPresent(FingerSlot(0, 0, 1), thumbs));
    EXPECT_FALSE(IsSlotPresent(FingerSlot(0, 0, 2), thumbs));
    EXPECT_FALSE(IsSlotPresent(FingerSlot(1, 1, 0), thumbs));
    EXPECT_FALSE(IsSlotPresent(ToeSlot(1, 0, 1), thumbs));
}

}  // namespace
