// Inputs whose contents are sound but that would need more than the readers' memory budgets
// (1 GB of keys or samples, a 128 MB scene file, a 256 MB OBJ mesh) are refused with a message before anything is
// allocated for them, and the scene stays as it was.
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "Skeleton/BipFile/BipFileBpd.h"
#include "Skeleton/BipFile/BipFileBvh.h"
#include "obj_import.h"
#include "scene_file.h"
#include "session_fixture.h"

namespace qvapp::test {
namespace {

const char kBiped[] = "new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 8 ground\nclose\n"
                      "select \"Bip01\"\nmodify \"Biped\"\n";

class ResourceLimits : public SessionTest {
protected:
    std::string PathOf(const std::string& name) { return (dir_ / name).string(); }
    // The dump but for its message boxes, and the text of the last message box.
    static Json Scene(Json dump) {
        dump.erase("messages");
        return dump;
    }
    static std::string LastMessage(const Json& dump) {
        return dump["messages"].empty() ? "" : dump["messages"].back()["text"].get<std::string>();
    }
};

// One bone of `keys` keys: a small file whose keys, repeated 100 times, pass 1 GB.
std::string OneBoneBpd(int32_t keys) {
    std::string bytes(kBpdHeaderSize + 8, '\0');
    const int32_t header[] = {kBpdMagic, kBpdVersion, keys, 30, 0, 0, 1};
    std::memcpy(bytes.data(), header, sizeof header);
    const int32_t bone[] = {0, keys};  // the root's slot
    std::memcpy(bytes.data() + kBpdHeaderSize, bone, sizeof bone);
    for (int32_t t = 0; t < keys; ++t) {
        ckey k;
        k.time = t;
        bytes.append(reinterpret_cast<const char*>(&k), sizeof k);
    }
    return bytes;
}

TEST_F(ResourceLimits, AnimationLoadWhoseCopiesWouldPassAGigabyteOfKeysIsRefused) {
    // 250,000 keys x 100 copies x 44 bytes = 1.1 GB; 2,000 x 100 would be 8.8 MB.
    constexpr int32_t kKeys = 250000;
    static_assert(size_t{kKeys} * 100 * sizeof(ckey) > kBipMaxLoadBytes);
    std::ofstream(dir_ / "big.bpd", std::ios::binary) << OneBoneBpd(kKeys);
    const Json before = RunAndDump(kBiped);
    const Json after = RunAndDump("press \"File/Load\"\nfile \"big.bpd\"\ntype \"Repeat:\" 100\n"
                                  "press \"OK\"\nanswer ok\n");
    EXPECT_EQ(LastMessage(after), "Too many keys - Aborting!");
    EXPECT_EQ(Scene(after), Scene(before));
    // The same file once over is a load like any other.
    const Json once = RunAndDump("press \"File/Load\"\nfile \"big.bpd\"\ntype \"Repeat:\" 1\n"
                                 "press \"OK\"\nanswer no\n");
    EXPECT_EQ(once["undo"].back(), "Biped Load File");
}

// A chain of joints without channels under a root of six: a small file per frame, yet the
// import keys every joint at every frame.
std::string ChainBvh(int joints, int frames) {
    std::string t = "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 6 a b c d e f\n";
    for (int j = 0; j < joints; ++j) t += "JOINT J" + std::to_string(j) + "\n{\nOFFSET 0 1 0\nCHANNELS 0\n";
    t += "End Site\n{\nOFFSET 0 1 0\n}\n";
    for (int j = 0; j <= joints; ++j) t += "}\n";
    t += "MOTION\nFrames: " + std::to_string(frames) + "\nFrame Time: 0.033\n";
    for (int f = 0; f < frames; ++f) t += "0 0 0 0 0 0\n";
    return t;
}

TEST_F(ResourceLimits, BvhTakeWhoseKeysWouldPassAGigabyteIsRefusedBeforeAnyBoneIsMade) {
    // 26 joints x 1,000,000 frames x 44 bytes = 1.14 GB of keys from a 12 MB file.
    constexpr int kJoints = 25, kFrames = 1000000;
    static_assert(size_t{kJoints + 1} * kFrames * sizeof(ckey) > kBvhMaxImportBytes);
    std::ofstream(dir_ / "long.bvh", std::ios::binary) << ChainBvh(kJoints, kFrames);
    const Json before = RunAndDump(kBiped);
    const Json after = RunAndDump("press \"Load BVH\"\nfile \"long.bvh\"\nanswer ok\n");
    EXPECT_EQ(LastMessage(after),
              "The take's keys would need more than 1024 MB: 1000000 frames of 27 joints.");
    EXPECT_EQ(Scene(after), Scene(before));
}

TEST_F(ResourceLimits, SceneFileLargerThanTheBudgetIsRefusedUnread) {
    RunAndDump(kBiped);
    const std::string path = PathOf("huge.qscene");
    {
        std::ofstream(path, std::ios::binary) << "{";
    }
    // A sparse file: its size is past the budget without taking the disk space.
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kSceneFileMaxBytes + 1)), 0);
    const Json before = Dump();
    EXPECT_EQ(Run("load \"" + path + "\"\n"), 1);
    EXPECT_NE(Error().find("is larger than a scene file may be (128 MB)"), std::string::npos)
        << Error();
    EXPECT_EQ(Dump(), before);
}

TEST_F(ResourceLimits, ObjFileLargerThanTheBudgetIsRefusedUnread) {
    RunAndDump(kBiped);
    const std::string path = PathOf("huge.obj");
    {
        std::ofstream(path, std::ios::binary) << "v 0 0 0\n";
    }
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kObjFileMaxBytes + 1)), 0);
    const Json before = Dump();
    EXPECT_EQ(Run("import \"" + path + "\"\n"), 1);
    EXPECT_NE(Error().find("is larger than an OBJ file may be (256 MB)"), std::string::npos)
        << Error();
    EXPECT_EQ(Dump(), before);
}

}  // namespace
}  // namespace qvapp::test
