// Every message box the module shows, reached from a session script as a person would reach it,
// with its caption and text word for word. The table is the list of them all but three that no
// session can reach, since the file dialog hands over only files that exist and a panel opens
// only on a biped that has bones: "Can't open file!" on a .BPD or .BPH load and "No Bip bones
// found! Aborting" (the module's own tests call those commands directly).
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "session_fixture.h"
#include "tests/common/bvh_text.h"

namespace qvapp::test {
namespace {

// A biped with the modify panel open on its right upper arm at frame 10 of 0..100.
const char kStart[] =
    "new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 8 ground\nclose\nrange 0 100\n"
    "select \"Bip01 R UpperArm\"\nmodify \"Biped\"\ntime 10\npress \"Walk\"\ntype \"Num Loops:\" 1\n";

// A binary header of little-endian 32-bit fields, padded with zeros to `size` bytes.
std::string Header(std::initializer_list<int32_t> fields, size_t size) {
    std::string bytes(size, '\0');
    size_t at = 0;
    for (int32_t f : fields) {
        std::memcpy(&bytes[at], &f, 4);
        at += 4;
    }
    return bytes;
}

constexpr int32_t kBpdMagic = 0x5A445042;  // "BPDZ"
constexpr int32_t kBphMagic = 0x48445042;  // "BPDH"
constexpr int32_t kVersion = 1000;

// Deletes the right hand and every link of its five fingers (Finger0, Finger01, Finger02, ...).
std::string WithoutRightHand() {
    std::string lines = "delete \"Bip01 R Hand\"\n";
    for (int finger = 0; finger < 5; ++finger)
        for (const char* link : {"", "1", "2"})
            lines += "delete \"Bip01 R Finger" + std::to_string(finger) + link + "\"\n";
    return lines;
}

struct Box {
    const char* caption;
    const char* text;
    std::map<std::string, std::string> files;  // written into the test's folder first
    std::string script;                         // after kStart; ends by answering the box
};

const char kLoadBpd[] = "press \"File/Load\"\nfile \"bad.bpd\"\nanswer ok\n";
const char kLoadBph[] = "press \"Default Hand Poses/Load\"\nfile \"bad.bph\"\npress \"Right Hand\"\npress \"OK\"\nanswer ok\n";
const char kLoadBvh[] = "press \"Load BVH\"\nfile \"bad.bvh\"\nanswer ok\n";

std::vector<Box> Boxes() {
    // Braces close joints only after an End Site.
    const std::string kEndSite = "End Site\n{\nOFFSET 0 0 0\n}\n";
    const std::string hips = "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 6 Xposition Yposition Zposition "
                             "Zrotation Xrotation Yrotation\n";
    return {
        // Walk generation and .BPD loads past the animation bar.
        {"Biped", "Do you want to adjust animation bar's length\nto match number of Biped animation keys?", {},
         "range 0 20\ntype \"Num Loops:\" 10\npress \"Generate Keyframes\"\nanswer no\n"},
        {"Biped", "Cannot delete key at frame 0!", {}, "time 0\npress \"Posture/Clear\"\nanswer ok\n"},
        // .BPD files.
        {"Biped", "Invalid File ID!", {{"bad.bpd", Header({0x41424344, kVersion, 1}, 64)}}, kLoadBpd},
        {"Biped", "Invalid File Version!", {{"bad.bpd", Header({kBpdMagic, 1001, 1}, 64)}}, kLoadBpd},
        {"Biped", "No frames found - Aborting!", {{"bad.bpd", Header({kBpdMagic, kVersion, 0}, 64)}}, kLoadBpd},
        {"Biped", "No bones in file? Failure!", {{"bad.bpd", Header({kBpdMagic, kVersion, 1, 30, 0, 0, 0}, 64)}}, kLoadBpd},
        {"Biped", "Can't open file for writting!", {},
         "press \"File/Save\"\nfile \"folder.bpd\"\npress \"OK\"\nanswer ok\n"},
        // .BPH hand poses.
        {"Biped", "Invalid File ID!", {{"bad.bph", Header({kBpdMagic, kVersion, 48, 1}, 36)}}, kLoadBph},
        {"Biped", "Invalid File Version!", {{"bad.bph", Header({kBphMagic, 999, 48, 1}, 36)}}, kLoadBph},
        {"Biped", "Invalid hand type id - Aborting!", {{"bad.bph", Header({kBphMagic, kVersion, 50, 1}, 36)}}, kLoadBph},
        {"Biped", "No hand bones in file? Failure!", {{"bad.bph", Header({kBphMagic, kVersion, 48, 0}, 16)}}, kLoadBph},
        {"Biped", "Can't open file for writting!", {},
         "press \"Default Hand Poses/Save\"\nfile \"folder.bph\"\npress \"Right Hand\"\npress \"OK\"\nanswer ok\n"},
        {"Biped", "No Bip Hand bones found! Aborting", {},
         "close\n" + WithoutRightHand() + "select \"Bip01 R UpperArm\"\nmodify \"Biped\"\n"
         "press \"Default Hand Poses/Save\"\nfile \"h.bph\"\npress \"Right Hand\"\npress \"OK\"\nanswer ok\n"},
        // BVH takes.
        {"BVH Loader", "File Error - Expected hierarchy.", {{"bad.bvh", "ROOT Hips\n"}}, kLoadBvh},
        {"BVH Loader", "File Error - Expected OFFSET.", {{"bad.bvh", "HIERARCHY\nROOT Hips {\nOFFSET 0 0 0\n"}}, kLoadBvh},
        {"BVH Loader", "File Error - Expected CHANNELS.", {{"bad.bvh", "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\n}\n"}}, kLoadBvh},
        {"BVH Loader", "File Error - Expected ROOT or JOINT or MOTION.", {{"bad.bvh", hips + "Frames: 1\n"}}, kLoadBvh},
        {"BVH Loader", "File Error - Encountered too many closing braces.", {{"bad.bvh", hips + kEndSite + "}\n}\n"}}, kLoadBvh},
        {"BVH Loader", "Couldn't Find FrameCnt Area", {{"bad.bvh", hips + kEndSite + "}\nMOTION\nFrame Time: 0.1\n"}}, kLoadBvh},
        // Mirror Weights applied before a root bone was picked.
        {"Biped - Mirror Weights", "Biped Root Bone Not Selected!", {{"tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"}},
         "close\nimport \"tri.obj\" name \"Tri\"\nselect \"Tri\"\nmodify \"Biped - Mirror Weights\"\napply\nanswer ok\n"},
        {"Biped - Load BVH", "Do you want to adjust animation bar's length\nto match number of animation keys?",
         {{"long.bvh", bvhtext::ClassicBvh(200, 0.033333f)}}, "press \"Load BVH\"\nfile \"long.bvh\"\nanswer no\n"},
    };
}

class MessageBoxes : public SessionTest {};

TEST_F(MessageBoxes, EveryBoxAppearsWithItsCaptionAndTextWordForWord) {
    for (const Box& box : Boxes()) {
        SCOPED_TRACE(box.text);
        std::filesystem::create_directories(dir_ / "folder.bpd");
        std::filesystem::create_directories(dir_ / "folder.bph");
        for (const auto& [name, bytes] : box.files) std::ofstream(dir_ / name, std::ios::binary) << bytes;
        const Json before = RunAndDump(kStart);
        const Json after = RunAndDump(box.script);
        ASSERT_EQ(after["messages"].size(), before["messages"].size() + 1) << after["messages"].dump();
        EXPECT_EQ(after["messages"].back()["caption"], box.caption);
        EXPECT_EQ(after["messages"].back()["text"], box.text);
        ASSERT_EQ(Run("close\n"), 0) << Error();
    }
}

}  // namespace
}  // namespace qvapp::test
