// Animation and hand-pose files through the modify panel as a person uses them: a saved walk
// loaded onto a smaller biped as one undo step, refused files and failed saves that leave the
// whole scene as it was, and the names the file dialogs give.
#include <cstring>
#include <fstream>

#include "session_fixture.h"

namespace qvapp::test {
namespace {

// A biped whose root walks along -y and whose right upper arm turns, keyed at 0, 20 and 40
// with recording on; a second, smaller biped beside it; the modify tool open on the first.
const char kTwoBipeds[] = R"(new
create "Bones" "Biped"
drag 0 0 4.88 8
drag 6 0 3.66 6
close
anim on
select "Bip01"
time 20
move 0 -2 0
time 40
move 0 -2 0.3
select "Bip01 R UpperArm"
time 20
rotate 1 0 0 40
time 40
rotate 1 0 0 -70
anim off
time 0
select "Bip01"
modify "Biped"
)";

const char kSaveWalk[] = "press \"File/Save\"\nfile \"walk.bpd\"\npress \"OK\"\n";

// The scene and its undo history, without the message boxes shown so far.
Json WithoutMessages(Json dump) {
    dump.erase("messages");
    return dump;
}
std::string LastMessage(const Json& dump) {
    return dump["messages"].empty() ? "" : dump["messages"].back()["text"].get<std::string>();
}

class FileSession : public SessionTest {
protected:
    void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::string ReadFile(const std::string& name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(FileSession, WalkLoadedOntoASmallerBipedIsOneUndoStepBothWays) {
    RunAndDump(std::string(kTwoBipeds) + kSaveWalk);
    const Json before = RunAndDump("select \"Bip02\"\nmodify \"Biped\"\ntime 10\n");
    const Json loaded = RunAndDump(
        "press \"File/Load\"\nfile \"walk.bpd\"\npress \"Invert\"\npress \"OK\"\nanswer yes\n");
    EXPECT_EQ(loaded["range"], Json::array({0, 110}));  // 101 frames from frame 10
    EXPECT_EQ(loaded["undo"].back(), "Biped Load File");
    EXPECT_EQ(loaded["undo"].size(), before["undo"].size() + 1);
    EXPECT_NE(NodeNamed(loaded, "Bip02 R UpperArm")["keys"],
              NodeNamed(before, "Bip02 R UpperArm")["keys"]);
    EXPECT_EQ(NodeNamed(loaded, "Bip01")["keys"], NodeNamed(before, "Bip01")["keys"]);
    EXPECT_EQ(WithoutMessages(RunAndDump("undo\n"))["nodes"], before["nodes"]);
    EXPECT_EQ(WithoutMessages(RunAndDump("redo\n"))["nodes"], loaded["nodes"]);
}

TEST_F(FileSession, CancelledDialogsLeaveNoFileAndNoUndoStep) {
    const Json before = RunAndDump(kTwoBipeds);
    const Json after = RunAndDump(
        "press \"File/Save\"\nfile \"a.bpd\"\npress \"Cancel\"\n"
        "press \"File/Save\"\nfile cancel\n"
        "press \"Default Hand Poses/Save\"\nfile \"h.bph\"\npress \"Cancel\"\n");
    EXPECT_EQ(WithoutMessages(after), WithoutMessages(before));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "a.bpd"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "h.bph"));
}

// --- refusals ---------------------------------------------------------------------------------

// The golden-like walk this session saves, with one 32-bit field replaced.
std::string Patched(std::string bytes, size_t offset, int32_t value) {
    std::memcpy(&bytes[offset], &value, 4);
    return bytes;
}

struct Refusal {
    const char* name;
    const char* file;      // written into the folder before the load
    std::function<std::string(const std::string& walk)> bytes;  // from the saved walk's bytes
    const char* lines;     // the load and its answers
    const char* message;
};

const char kLoadBad[] = "press \"File/Load\"\nfile \"bad.bpd\"\nanswer ok\n";
const char kLoadBadHand[] =
    "press \"Default Hand Poses/Load\"\nfile \"bad.bph\"\npress \"Right Hand\"\npress \"OK\"\n"
    "answer ok\n";

const Refusal kRefusals[] = {
    {"WrongMagic", "bad.bpd", [](const std::string& w) { return Patched(w, 0, 0x41424344); },
     kLoadBad, "Invalid File ID!"},
    {"WrongVersion", "bad.bpd", [](const std::string& w) { return Patched(w, 4, 1001); }, kLoadBad,
     "Invalid File Version!"},
    {"NoFrames", "bad.bpd", [](const std::string& w) { return Patched(w, 8, 0); }, kLoadBad,
     "No frames found - Aborting!"},
    {"NoBones", "bad.bpd", [](const std::string& w) { return Patched(w, 24, 0); }, kLoadBad,
     "No bones in file? Failure!"},
    {"NegativeKeyCount", "bad.bpd", [](const std::string& w) { return Patched(w, 32, -2); },
     kLoadBad, "Invalid key count - Aborting!"},
    // Cut in the last bone's keys: the first bones' records are whole, yet none may load.
    {"CutInTheLastBone", "bad.bpd",
     [](const std::string& w) { return w.substr(0, w.size() - 10); }, kLoadBad,
     "File ends too early - Aborting!"},
    {"FramesBeyondAnyFrameNumber", "bad.bpd", [](const std::string& w) { return w; },
     "press \"File/Load\"\nfile \"bad.bpd\"\ntype \"Insert At:\" 2000000000\npress \"OK\"\n"
     "answer ok\n",
     "Frames out of range - Aborting!"},
    {"AnimationFileAsHandPose", "bad.bph", [](const std::string& w) { return w; }, kLoadBadHand,
     "Invalid File ID!"},
    {"HandTypeOfNoHand", "bad.bph",
     [](const std::string&) {
         std::string h(16, '\0');
         const int32_t header[] = {0x48445042, 1000, 50, 1};
         std::memcpy(h.data(), header, 16);
         return h + std::string(20, '\0');
     },
     kLoadBadHand, "Invalid hand type id - Aborting!"},
    {"NoHandRecords", "bad.bph",
     [](const std::string&) {
         std::string h(16, '\0');
         const int32_t header[] = {0x48445042, 1000, 48, 0};
         std::memcpy(h.data(), header, 16);
         return h;
     },
     kLoadBadHand, "No hand bones in file? Failure!"},
};

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

class RefusedFile : public FileSession, public testing::WithParamInterface<Refusal> {};

TEST_P(RefusedFile, IsToldAndLeavesTheWholeSceneAndHistoryAsTheyWere) {
    const Refusal& c = GetParam();
    RunAndDump(std::string(kTwoBipeds) + kSaveWalk);
    WriteFile(c.file, c.bytes(ReadFile("walk.bpd")));
    const Json before = RunAndDump("time 5\n");
    const Json after = RunAndDump(c.lines);
    EXPECT_EQ(LastMessage(after), c.message);
    EXPECT_EQ(after["messages"].size(), before["messages"].size() + 1);
    EXPECT_EQ(WithoutMessages(after), WithoutMessages(before));
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedFile, testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileSession, SaveThatCannotWriteIsToldAndLeavesNoPartialFile) {
    std::filesystem::create_directory(dir_ / "taken.bpd");  // a folder stands at the name
    const Json before = RunAndDump(kTwoBipeds);
    const Json after =
        RunAndDump("press \"File/Save\"\nfile \"taken.bpd\"\npress \"OK\"\nanswer ok\n"
                   "press \"Default Hand Poses/Save\"\nfile \"taken.bpd\"\npress \"Left Hand\"\n"
                   "press \"OK\"\nanswer ok\n");
    ASSERT_EQ(after["messages"].size(), 2u);
    for (const Json& m : after["messages"]) EXPECT_EQ(m["text"], "Can't open file for writting!");
    EXPECT_EQ(WithoutMessages(after), WithoutMessages(before));
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir_))
        left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"taken.bpd"});
}

TEST_F(FileSession, SavingOverAFileAsksFirstAndNoAsksForAnotherName) {
    RunAndDump(std::string(kTwoBipeds) + kSaveWalk);
    const std::string first = ReadFile("walk.bpd");
    const Json d = RunAndDump(
        "time 30\npress \"File/Save\"\nfile \"walk.bpd\"\nanswer no\nfile \"other.bpd\"\n"
        "type \"From:\" 10\npress \"OK\"\n");
    ASSERT_FALSE(d["messages"].empty());
    EXPECT_EQ(d["messages"].back()["caption"], "Save Biped Animation");
    EXPECT_EQ(ReadFile("walk.bpd"), first);
    EXPECT_NE(ReadFile("other.bpd"), first);
    RunAndDump("press \"File/Save\"\nfile \"walk.bpd\"\nanswer yes\ntype \"From:\" 10\n"
               "press \"OK\"\n");
    EXPECT_EQ(ReadFile("walk.bpd"), ReadFile("other.bpd"));
}

TEST_F(FileSession, NameWithoutAnyDotGetsTheFileTypesExtension) {
    std::filesystem::create_directory(dir_ / "my.takes");
    RunAndDump(std::string(kTwoBipeds) +
               "press \"File/Save\"\nfile \"walk\"\npress \"OK\"\n"
               "press \"File/Save\"\nfile \"my.takes/walk\"\npress \"OK\"\n"
               "press \"Default Hand Poses/Save\"\nfile \"fist\"\npress \"Right Hand\"\n"
               "press \"OK\"\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "walk.BPD"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "my.takes" / "walk"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "fist.BPH"));
    // The hand file loads back through its own dialog, one undo step.
    const Json d = RunAndDump(
        "press \"Default Hand Poses/Load\"\nfile \"fist.BPH\"\npress \"Left Hand\"\n"
        "press \"OK\"\n");
    EXPECT_EQ(d["undo"].back(), "Biped Load Hand File");
}

// The example script runs to its end: the second biped walks the take back from frame 40 on.
TEST_F(FileSession, FilesExampleLoadsTheTakeReversedOntoTheSmallerBiped) {
    std::ifstream in(std::string(BIPED_EXAMPLES_DIR) + "/files.qvs");
    const std::string script{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(script.empty());
    const Json d = RunAndDump(script);
    for (const char* out : {"take.bpd", "hand.BPH", "saved.png", "loaded.png", "both.gif"})
        EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / out)) << out;
    EXPECT_EQ(d["undo"].back(), "Biped Load Hand File");
    const Json arm = NodeNamed(d, "Bip02 R UpperArm")["keys"];
    ASSERT_FALSE(arm.empty());
    EXPECT_EQ(arm.back()["t"], 80);
}

}  // namespace
}  // namespace qvapp::test
