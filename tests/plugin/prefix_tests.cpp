// The prefix of a new biped: the smallest number no root-like node name of the scene uses.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Skeleton/BipPrefix.h"
#include "qvcore/host.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace {

TEST(PrefixNumber, ShortBipNamesWithDigitsCount) {
    EXPECT_EQ(PrefixNumberOfName("Bip01"), 1);
    EXPECT_EQ(PrefixNumberOfName("bip7"), 7);
    EXPECT_EQ(PrefixNumberOfName("BIP123"), 123);
    EXPECT_EQ(PrefixNumberOfName("Bip999"), 999);
    EXPECT_EQ(PrefixNumberOfName("Bip0"), 0);
    EXPECT_EQ(PrefixNumberOfName("Bip12x"), 12);  // digits up to the first non-digit
}

TEST(PrefixNumber, OtherNamesDoNotCount) {
    for (const char* name : {"Biped", "Bip01 Pelvis", "Bip", "BipX1", "xBip01", "Bip1000", "",
                             "Bo01", "Bi"})
        EXPECT_EQ(PrefixNumberOfName(name), -1) << name;
    EXPECT_EQ(PrefixNumberOfName(nullptr), -1);
}

TEST(PrefixNumber, UsedSetIsBitNMinusOneByteByByte) {
    unsigned char used[kUsedSetBytes] = {};
    MarkPrefixNumberUsed(used, 1);
    MarkPrefixNumberUsed(used, 9);
    MarkPrefixNumberUsed(used, 1000);
    MarkPrefixNumberUsed(used, 0);     // never counts
    MarkPrefixNumberUsed(used, 1001);  // outside the set
    EXPECT_EQ(used[0], 0x01);
    EXPECT_EQ(used[1], 0x01);
    EXPECT_EQ(used[124], 0x80);
    EXPECT_EQ(FirstFreePrefixNumber(used), 2);
}

TEST(PrefixNumber, SearchRunsUpToOneThousand) {
    unsigned char used[kUsedSetBytes] = {};
    for (int n = 1; n <= 999; ++n) MarkPrefixNumberUsed(used, n);
    EXPECT_EQ(FirstFreePrefixNumber(used), 1000);
    MarkPrefixNumberUsed(used, 1000);
    EXPECT_EQ(FirstFreePrefixNumber(used), 1001);
}

TEST(PrefixFormat, TwoDigitsBelowTen) {
    char out[kPrefixBufferSize];
    const std::pair<int, const char*> cases[] = {
        {1, "Bip01"}, {9, "Bip09"}, {10, "Bip10"}, {125, "Bip125"}, {1000, "Bip1000"}};
    for (const auto& [n, text] : cases) {
        FormatPrefix(n, out);
        EXPECT_STREQ(out, text);
    }
}

// A scene holding bones with the given names.
class NewPrefix : public testing::Test {
protected:
    void SetUp() override { qv::ResetScene(); }
    void TearDown() override { qv::ResetScene(); }
    void Add(const std::string& name) {
        cbone* bone = CreateNewBone();
        bone->SetName(name.c_str());
        Interface::AddToScene(bone, 0);
    }
    std::string Prefix() {
        char out[kPrefixBufferSize] = {};
        NewBipPrefix(out);
        return out;
    }
};

TEST_F(NewPrefix, EmptySceneGivesBip01) { EXPECT_EQ(Prefix(), "Bip01"); }

TEST_F(NewPrefix, NextAfterTheUsedOnes) {
    Add("Bip01");
    Add("Bip02");
    EXPECT_EQ(Prefix(), "Bip03");
}

TEST_F(NewPrefix, FillsTheFirstGap) {
    Add("Bip02");
    EXPECT_EQ(Prefix(), "Bip01");
}

TEST_F(NewPrefix, TenAfterNine) {
    for (int n = 1; n <= 9; ++n) Add("Bip0" + std::to_string(n));
    EXPECT_EQ(Prefix(), "Bip10");
}

TEST_F(NewPrefix, SixteenAfterFifteen) {
    for (int n = 1; n <= 15; ++n) Add(n < 10 ? "Bip0" + std::to_string(n) : "Bip" + std::to_string(n));
    EXPECT_EQ(Prefix(), "Bip16");
}

TEST_F(NewPrefix, BoneNamesAndBipZeroChangeNothing) {
    Add("Biped");
    Add("Bip01 Pelvis");
    Add("bip0");
    EXPECT_EQ(Prefix(), "Bip01");
}

TEST_F(NewPrefix, UpperCaseNamesCount) {
    for (int n = 1; n <= 122; ++n) Add("bip" + std::to_string(n));
    Add("BIP123");
    EXPECT_EQ(Prefix(), "Bip124");
}

}  // namespace
