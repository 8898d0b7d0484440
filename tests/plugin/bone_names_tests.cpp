// Full bone names built from a biped's prefix, in the module's one name buffer.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "Skeleton/BipAnim.h"
#include "Skeleton/BipNames.h"

namespace {

TEST(BoneName, PrefixWithBlankThenBaseName) {
    cbipanim tool;
    std::strcpy(tool.prefix, "Bip01 ");
    EXPECT_STREQ(tool.MakeName("L Thigh"), "Bip01 L Thigh");
    EXPECT_STREQ(tool.MakeName_("L Thigh"), "Bip01_L_Thigh");
    EXPECT_STREQ(tool.MakeName("Spine2"), "Bip01 Spine2");
}

TEST(BoneName, EveryCallOverwritesTheOneBuffer) {
    cbipanim tool;
    std::strcpy(tool.prefix, "Bip02 ");
    char* first = tool.MakeName("R Hand");
    char* second = tool.MakeName_("L Finger42");
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "Bip02_L_Finger42");
    char* third = MakeBoneName("Bip03 ", "Head");
    EXPECT_EQ(third, first);
    EXPECT_STREQ(first, "Bip03 Head");
}

TEST(BoneName, UnderscoreFormReplacesEveryBlank) {
    EXPECT_STREQ(MakeBoneName_("My Big Bip ", "R Toe 3 "), "My_Big_Bip_R_Toe_3_");
    EXPECT_STREQ(MakeBoneName_("", ""), "");
}

TEST(BoneName, LongNamesAreCutToTheBuffer) {
    const std::string prefix(200, 'p');
    const std::string base(100, ' ');
    const char* name = MakeBoneName(prefix.c_str(), base.c_str());
    ASSERT_EQ(std::strlen(name), static_cast<size_t>(kNameBufferSize - 1));
    EXPECT_EQ(std::string(name, 200), prefix);
    const char* under = MakeBoneName_(prefix.c_str(), base.c_str());
    EXPECT_EQ(std::string(under + 200), std::string(kNameBufferSize - 1 - 200, '_'));
    // A prefix alone longer than the buffer keeps its first 255 characters and no base name.
    const std::string huge(400, 'q');
    EXPECT_EQ(std::string(MakeBoneName(huge.c_str(), "Pelvis")), std::string(255, 'q'));
}

TEST(BoneName, UnboundToolHasAnEmptyPrefix) {
    cbipanim tool;
    EXPECT_STREQ(tool.MakeName("Pelvis"), "Pelvis");
}

}  // namespace
