// Every BVH file of tests/data/bvh (whole takes from several capture pipelines, other readers'
// edge cases, bare hierarchies) loaded through the panel: it imports, keyed frame for frame and
// undone to the scene before, or it is refused with its message and the whole scene, undo
// history included, stays as it was.
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "bvh_session_support.h"

namespace qvapp::test {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    const char* file;     // under tests/data/bvh
    const char* refusal;  // the message that refuses it; null when it imports
};

// Most files of other pipelines are refused: the reader reads a fixed line layout, and the
// import needs a right leg under the classic names and at most 31 joints with children.
const char kNoLeg[] = "The file has no right leg to measure";
const char kTooWide[] = "joints with children (End Sites count as children); at most 31";
const Outcome kOutcomes[] = {
    {"real/20tab_test_freebvh.bvh", kTooWide},
    {"real/20tab_test_mocapbank.bvh", nullptr},
    {"real/dme_xia_angry_13_000.bvh", kNoLeg},
    {"real/pybvh_bvh_example.bvh", kNoLeg},
    {"real/pybvh_bvh_test2.bvh", nullptr},
    {"real/pybvh_bvh_test3.bvh", kTooWide},
    {"real/sl_opencollar_walk_Male_CRonly.bvh", kNoLeg},
    {"real/wspr_walk.bvh", kNoLeg},
    {"hierarchies/unihumanoid_bvh_cgspeed.bvh", kNoLeg},
    // A bare hierarchy imports its rest pose as one key on top of "Idle".
    {"hierarchies/unihumanoid_bvh_louise.bvh", nullptr},
    {"hierarchies/unihumanoid_bvh_mocap.bvh", kNoLeg},
    {"hierarchies/unihumanoid_bvh_mocap2.bvh", nullptr},
    {"hierarchies/unihumanoid_daz_friendry_herarchy.bvh", kTooWide},
    {"hierarchies/unihumanoid_mocapdata_com_hierarchy.bvh", nullptr},
    {"hierarchies/unihumanoid_mocapdatacom_hierarchy_2.bvh", nullptr},
    {"edge/bvh_anim_nonstandard_formatting.bvh", "File Error - Expected hierarchy."},
    {"edge/bvh_anim_test_simple.bvh", kNoLeg},
    {"edge/bvhio_example_blank_lines.bvh", "File Error - Expected ROOT or JOINT or MOTION."},
    {"edge/pybvh_blank_lines.bvh", "File Error - Expected ROOT or JOINT or MOTION."},
    {"edge/pybvh_frames3_rows2.bvh", "Frames: says 3, the file holds 2"},
    {"edge/pybvh_full_precision_frame_time.bvh", kNoLeg},
    {"edge/pybvh_rotation_first_root.bvh", kNoLeg},
    {"edge/pybvh_six_channel_non_root.bvh", kNoLeg},
    {"edge/pybvh_zero_frames_zero_frametime.bvh", kNoLeg},
};

std::string DataPath(const char* file) { return (fs::path(BVH_DATA_DIR) / file).string(); }

// The frame count the file states ("Frames:" and a number), 0 for a bare hierarchy.
int StatedFrames(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::smatch m;
    return std::regex_search(text, m, std::regex("Frames:\\s*(\\d+)")) ? std::stoi(m[1]) : 0;
}

TEST(BvhData, EveryFileOfTheFolderHasItsOutcome) {
    std::set<std::string> listed, found;
    for (const Outcome& o : kOutcomes) listed.insert(o.file);
    for (const auto& e : fs::recursive_directory_iterator(BVH_DATA_DIR))
        if (e.path().extension() == ".bvh")
            found.insert(fs::relative(e.path(), BVH_DATA_DIR).generic_string());
    EXPECT_EQ(found, listed);
}

class BvhDataFile : public BvhSession, public testing::WithParamInterface<Outcome> {};

TEST_P(BvhDataFile, ImportsOrIsRefusedLeavingTheSceneAsItWas) {
    const Outcome& o = GetParam();
    const std::string path = DataPath(o.file);
    // A long bar, so that no file asks to lengthen it.
    const Json before = RunAndDump(BipedScript(8) + "range 0 100000\ntime 2\n");
    if (o.refusal) {
        const Json after = RunAndDump(LoadScript(path, "answer ok\n"));
        ExpectUnchangedButForMessage(before, after, o.refusal);
        return;
    }
    const Json loaded = RunAndDump(LoadScript(path));
    EXPECT_EQ(loaded["messages"].size(), before["messages"].size()) << loaded["messages"].dump();
    const int frames = std::max(StatedFrames(path), 1);
    for (const char* bone : {"Bip01", "Bip01 R Thigh", "Bip01 L Foot", "Bip01 Spine", "Bip01 L Hand"}) {
        std::vector<int> expected = Range(2, 2 + frames - 1);
        expected.insert(expected.begin(), 0);
        EXPECT_EQ(KeyTimes(loaded, bone), expected) << bone;
    }
    for (const Json& node : loaded["nodes"])
        for (const Json& key : node["keys"])
            for (const char* field : {"pos", "rot"})
                for (const Json& v : key[field]) ASSERT_TRUE(v.is_number()) << node["name"];
    EXPECT_EQ(SceneState(RunAndDump("undo\n")), SceneState(before));  // one step, the pose included
    EXPECT_EQ(SceneState(RunAndDump("redo\n")), SceneState(loaded));
}

INSTANTIATE_TEST_SUITE_P(Folder, BvhDataFile, testing::ValuesIn(kOutcomes), [](const auto& info) {
    std::string name = info.param.file;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
});

}  // namespace
}  // namespace qvapp::test
