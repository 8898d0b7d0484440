// BVH files through the modify panel as a person loads them: "Load BVH" and its file dialog,
// refusals that leave the whole scene as it was, keys from the current frame on, the leg
// ratio, the animation bar's question, the time per frame, one undo step back and forth, and
// the hidden "Save BVH" reached by its id.
#include <cmath>
#include <fstream>

#include "bvh_import.h"
#include "bvh_session_support.h"

namespace qvapp::test {
namespace {

using Bvh = BvhSession;

TEST_F(Bvh, AFileOfAHundredFramesAtTimeZeroKeysZeroToNinetyNine) {
    const std::string file = Write("walk.bvh", ClassicBvh(100, 0.033333f));
    const Json before = RunAndDump(BipedScript(8) + "range 0 200\n");
    const Json after = RunAndDump(LoadScript(file));
    for (const char* bone : {"Bip01", "Bip01 R Thigh", "Bip01 L Calf", "Bip01 Head", "Bip01 R Hand"})
        EXPECT_EQ(KeyTimes(after, bone), Range(0, 99)) << bone;
    // No joint feeds the pelvis or the upper spine links: the "Idle" pose keys them at 0 only.
    EXPECT_EQ(KeyTimes(after, "Bip01 Pelvis"), Range(0, 0));
    // One step, the "Idle" pose included: one undo gives the scene back, one redo the load.
    EXPECT_EQ(after["undo"].size(), before["undo"].size() + 1);
    EXPECT_EQ(after["undo"].back(), "Biped Load BVH File");
    EXPECT_EQ(after["tpf"], 33);
    EXPECT_EQ(SceneState(RunAndDump("undo\n")), SceneState(before));
    EXPECT_EQ(SceneState(RunAndDump("redo\n")), SceneState(after));
}

TEST_F(Bvh, AtFrameTenTheRangeTenToOneHundredNineIsClearedAndFilled) {
    const std::string file = Write("walk.bvh", ClassicBvh(100, 0.033333f));
    // Keys at 0, 50 and 150 on the right thigh before the load: 50 lies in the range.
    RunAndDump(BipedScript(8) + "range 0 200\nanim on\nselect \"Bip01 R Thigh\"\ntime 50\n"
               "rotate 1 0 0 10\ntime 150\nrotate 1 0 0 10\nanim off\nselect \"Bip01\"\n"
               "time 10\n");
    const Json after = RunAndDump(LoadScript(file));
    std::vector<int> expected = Range(10, 109);
    expected.insert(expected.begin(), 0);
    expected.push_back(150);
    EXPECT_EQ(KeyTimes(after, "Bip01 R Thigh"), expected);
}

TEST_F(Bvh, AOneFrameFileAtTimeZeroRemovesNoKeys) {
    const std::string file = Write("pose.bvh", ClassicBvh(1, 0.033333f));
    RunAndDump(BipedScript(8) + "anim on\nselect \"Bip01 R Calf\"\ntime 30\nrotate 0 0 1 20\n"
               "anim off\nselect \"Bip01\"\ntime 0\n");
    const Json after = RunAndDump(LoadScript(file));
    EXPECT_EQ(KeyTimes(after, "Bip01 R Calf"), (std::vector<int>{0, 30}));
}

// Both accepted spellings of the leg joints feed the same bones with the same keys.
TEST_F(Bvh, UpLegAndLowLegNamesFeedTheSameBonesAsHipAndKnee) {
    const std::string classic = ClassicBvh(20, 0.033333f);
    std::string other = classic;
    for (auto [from, to] : {std::pair{"RightHip", "RightUpLeg"}, {"RightKnee", "RightLowLeg"},
                            {"RightAnkle", "RightFoot"}, {"LeftShoulder", "LeftUpArm"}})
        other.replace(other.find(from), std::string(from).size(), to);
    const Json a = RunAndDump(BipedScript(8) + LoadScript(Write("a.bvh", classic)));
    const Json b = RunAndDump(BipedScript(8) + LoadScript(Write("b.bvh", other)));
    for (const char* bone : {"Bip01", "Bip01 R Thigh", "Bip01 R Calf", "Bip01 R Foot", "Bip01 L UpperArm"})
        EXPECT_EQ(NodeNamed(a, bone)["keys"], NodeNamed(b, bone)["keys"]) << bone;
}

// The root follows the file's root travel scaled by leg length, from where it stood.
TEST_F(Bvh, ABipedTwiceTheSizeMovesItsRootTwiceAsFar) {
    const std::string file = Write("walk.bvh", ClassicBvh(30, 0.033333f));
    auto travel = [&](float height) {
        const Json d = RunAndDump(BipedScript(height) + LoadScript(file));
        const Json root = NodeNamed(d, "Bip01");
        const Json& keys = root["keys"];
        const Json& first = keys.front()["pos"];
        const Json& last = keys.back()["pos"];
        return std::hypot(last[0].get<float>() - first[0].get<float>(),
                          last[1].get<float>() - first[1].get<float>(),
                          last[2].get<float>() - first[2].get<float>());
    };
    const float small = travel(8.0f);
    const float large = travel(16.0f);
    ASSERT_GT(small, 0.1f);
    // The builder scales in floats: a ratio good to a few parts in a million.
    EXPECT_NEAR(large / small, 2.0f, 1e-4f);
}

TEST_F(Bvh, TheFrameTimeSetsTheTimePerFrame) {
    const std::pair<float, int> cases[] = {{0.008333f, 8}, {0.04f, 40}, {0.0f, 33}};
    for (const auto& [frameTime, tpf] : cases) {
        const Json d = RunAndDump(BipedScript(8) + LoadScript(Write("t.bvh", ClassicBvh(5, frameTime))));
        EXPECT_EQ(d["tpf"], tpf) << frameTime;
    }
}

TEST_F(Bvh, KeysPastTheAnimationBarAskToLengthenIt) {
    const std::string file = Write("long.bvh", ClassicBvh(150, 0.033333f));
    const Json no = RunAndDump(BipedScript(8) + "time 5\n" + LoadScript(file, "answer no\n"));
    EXPECT_EQ(no["range"][1], 100);
    EXPECT_EQ(no["messages"].back()["caption"], "Biped - Load BVH");
    EXPECT_EQ(no["messages"].back()["text"],
              "Do you want to adjust animation bar's length\nto match number of animation keys?");
    const Json yes = RunAndDump(BipedScript(8) + "time 5\n" + LoadScript(file, "answer yes\n"));
    EXPECT_EQ(yes["range"][1], 155);
}

TEST_F(Bvh, UndoAndRedoGiveBackWholeScenes) {
    const std::string file = Write("walk.bvh", ClassicBvh(40, 0.033333f));
    const Json before = SceneState(RunAndDump(BipedScript(8) + "time 3\n"));
    const Json loaded = SceneState(RunAndDump(LoadScript(file)));
    ASSERT_NE(loaded, before);
    EXPECT_EQ(SceneState(RunAndDump("undo\n")), before);
    EXPECT_EQ(SceneState(RunAndDump("redo\n")), loaded);
}

TEST_F(Bvh, ACancelledDialogOrAMissingFileChangesNothing) {
    const Json before = RunAndDump(BipedScript(8));
    const Json cancelled = RunAndDump("press \"Load BVH\"\nfile cancel\n");
    EXPECT_EQ(cancelled, before);
    // The open dialog insists on an existing file and asks again.
    const Json missing = RunAndDump("press \"Load BVH\"\nfile \"" + (dir_ / "none.bvh").string() +
                                    "\"\nfile cancel\n");
    EXPECT_EQ(SceneState(missing), SceneState(before));
    EXPECT_EQ(missing["undo"], before["undo"]);
}

TEST_F(Bvh, RefusedFilesSayWhyAndLeaveTheSceneAsItWas) {
    const std::pair<std::string, std::string> cases[] = {
        {"HIERARCHY\n\nROOT Hips\n", "File Error - Expected ROOT or JOINT or MOTION."},
        {"MOTION\n", "File Error - Expected hierarchy."},
        // No right leg: the motion cannot be scaled to the biped.
        {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 6 a b c d e f\nEnd Site\n{\n"
         "OFFSET 0 10 0\n}\n}\nMOTION\nFrames: 1\nFrame Time: 0.1\n0 0 0 0 0 0\n",
         "The file has no right leg to measure"},
    };
    for (const auto& [text, message] : cases) {
        const Json before = RunAndDump(BipedScript(8));
        const Json after = RunAndDump(LoadScript(Write("bad.bvh", text), "answer ok\n"));
        ExpectUnchangedButForMessage(before, after, message);
    }
}

TEST_F(Bvh, SkeletonsBeyondTheBoneListAreRefused) {
    // 31 joints with children and one more entry fill the 32 entries; 32 do not fit.
    const Json fits = RunAndDump(BipedScript(8) + LoadScript(Write("fits.bvh", WideBvh(31))));
    EXPECT_EQ(fits["undo"].back(), "Biped Load BVH File");
    const Json before = RunAndDump("undo\n");
    const Json after = RunAndDump(LoadScript(Write("wide.bvh", WideBvh(32)), "answer ok\n"));
    ExpectUnchangedButForMessage(before, after, "32 joints with children (End Sites count as children); at most 31");
}

TEST_F(Bvh, TheHiddenSaveButtonStaysHiddenAndWritesByItsId) {
    const Json d = RunAndDump(BipedScript(8));
    int hidden = 0;
    for (const qv::ui::ControlInfo& c : qv::ui::Controls(tools_.Panel()))
        if (c.id == 1017) hidden += c.visible ? 0 : 1;
    EXPECT_EQ(hidden, 1);
    const std::string path = (dir_ / "saved").string();
    const Json after = RunAndDump("press #1017\nfile \"" + path + "\"\n");
    std::ifstream in(path + ".BVH");  // a name without "." gets the extension
    ASSERT_TRUE(in.good());
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "HIERARCHY");
    EXPECT_EQ(SceneState(after), SceneState(d));
    EXPECT_EQ(after["undo"], d["undo"]);
}

// `quorvane bvh import`: the same load from the command line, for batch work.
TEST_F(Bvh, CommandLineImportWritesTheSceneItsDumpAndAGif) {
    const auto data = std::filesystem::path(BVH_DATA_DIR);
    const auto out = dir_ / "batch";
    ASSERT_EQ(BvhImport((data / "real/20tab_test_mocapbank.bvh").string(), out.string(), tools_), 0);
    for (const char* ext : {".qscene", ".json", ".gif"})
        EXPECT_TRUE(std::filesystem::exists(out / ("20tab_test_mocapbank" + std::string(ext)))) << ext;
    std::ifstream in(out / "20tab_test_mocapbank.json");
    const Json dump = Json::parse(in);
    EXPECT_EQ(KeyTimes(dump, "Bip01"), Range(0, 454));
    EXPECT_EQ(dump["undo"].back(), "Biped Load BVH File");
    EXPECT_EQ(BvhImport((data / "edge/pybvh_frames3_rows2.bvh").string(), out.string(), tools_), 1);
    EXPECT_EQ(BvhImport((data / "real/wspr_walk.bvh").string(), out.string(), tools_), 1);
}

}  // namespace
}  // namespace qvapp::test
