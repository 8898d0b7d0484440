// `quorvane bvh info`: the joints of real files with their channels and the biped bones they
// map onto, the joints the import leaves alone, and files the reader refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "bvh_info.h"

namespace qvapp::test {
namespace {

std::string Data(const char* file) { return (std::filesystem::path(BVH_DATA_DIR) / file).string(); }

struct Info {
    int status;
    std::string out, err;
};

Info InfoOf(const std::string& path) {
    std::ostringstream out, err;
    const int status = BvhInfo(path, out, err);
    return {status, out.str(), err.str()};
}

TEST(BvhInfo, AClassicTakeMapsItsLegsArmsAndSpine) {
    const Info i = InfoOf(Data("real/20tab_test_mocapbank.bvh"));
    ASSERT_EQ(i.status, 0) << i.err;
    EXPECT_NE(i.out.find("frames: 455"), std::string::npos) << i.out;
    for (const char* line : {"Hips                     channels 6  -> Bip01\n",
                             "RightHip                 channels 3  -> Bip01 R Thigh\n",
                             "LeftWrist                channels 3  -> Bip01 L Hand\n"})
        EXPECT_NE(i.out.find(line), std::string::npos) << line << " in\n" << i.out;
}

// Motion-capture database names: the knees ("LeftLeg") and the hip joints are not the import's.
TEST(BvhInfo, JointsTheImportDoesNotKnowAreListed) {
    const Info i = InfoOf(Data("real/wspr_walk.bvh"));
    ASSERT_EQ(i.status, 0) << i.err;
    const std::string notMapped = i.out.substr(i.out.find("not mapped:"));
    for (const char* name : {" LHipJoint", " LeftLeg", " RightLeg", " LeftArm"})
        EXPECT_NE(notMapped.find(name), std::string::npos) << name;
    EXPECT_EQ(notMapped.find(" RightUpLeg"), std::string::npos);  // mapped onto the thigh
}

TEST(BvhInfo, RefusedAndMissingFilesSayWhy) {
    const Info refused = InfoOf(Data("edge/pybvh_frames3_rows2.bvh"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("Frames: says 3, the file holds 2"), std::string::npos) << refused.err;
    const Info missing = InfoOf(Data("no such file.bvh"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
}

}  // namespace
}  // namespace qvapp::test
