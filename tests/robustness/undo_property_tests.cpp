// Undo as a property: random sequences of user actions from seeded generators, after which
// undoing every level must give the first scene back exactly and redoing every level the last;
// and the shrunk sequences that once failed (tests/app/data/undo/), kept as regression cases.
#include <fstream>

#include "session_fixture.h"
#include "tests/common/bvh_text.h"
#include "tests/common/undo_sequence.h"

namespace qvapp::test {
namespace {

// Sequences per run and actions per sequence: a few hundred sequences keep the run under a
// minute; `undo_stress` runs thousands of longer ones.
constexpr uint32_t kSequences = 200;
constexpr int kActionsPerSequence = 10;
constexpr int kTakeFrames = 30;         // the BVH take's length: it fits the range from frame 0
constexpr float kTakeFrameTime = 0.0333333f;  // seconds, so that the time per frame stays 33 ms

const std::filesystem::path kGoldenWalk =
    std::filesystem::path(BIPED_SOURCE_DIR) / "tests/data/walk_v1000.bpd";
const std::filesystem::path kRegressions = std::filesystem::path(APP_TEST_DATA_DIR) / "undo";

class UndoProperty : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        std::ofstream(dir_ / undoseq::kBvhTakeFile, std::ios::binary)
            << bvhtext::ClassicBvh(kTakeFrames, kTakeFrameTime);
        std::filesystem::copy_file(kGoldenWalk, dir_ / undoseq::kBpdTakeFile);
    }
    undoseq::Runner Runner() {
        return [this](const std::string& script, Json& dump, std::string& error) {
            const int status = Run(script);
            error = Error();
            dump = Dump();
            return status;
        };
    }
};

TEST_F(UndoProperty, UndoingEveryActionGivesTheFirstSceneAndRedoingGivesTheLast) {
    for (uint32_t seed = 1; seed <= kSequences; ++seed) {
        const std::vector<std::string> actions = undoseq::Actions(seed, kActionsPerSequence);
        const std::string start = undoseq::StartScript(seed);
        const std::string why = undoseq::CheckUndoRedo(Runner(), start, actions);
        if (why.empty()) continue;
        const auto fails = [&](const std::vector<std::string>& a) {
            return !undoseq::CheckUndoRedo(Runner(), start, a).empty();
        };
        ADD_FAILURE() << "seed " << seed << ": " << why << "\nshrunk to:\n"
                      << start << undoseq::Join(undoseq::Shrink(actions, fails));
    }
}

// Each regression file is a start (up to the line "# actions") and actions, one block each,
// separated by lines "# --"; other lines starting with "#" before the actions are comments.
TEST_F(UndoProperty, ShrunkSequencesThatOnceFailedUndoAndRedoWhole) {
    ASSERT_TRUE(std::filesystem::exists(kRegressions));
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(kRegressions)) {
        std::ifstream in(e.path());
        std::string start, line;
        std::vector<std::string> actions;
        bool inActions = false;
        while (std::getline(in, line)) {
            if (line == "# actions" || line == "# --") {
                inActions = true;
                actions.emplace_back();
            } else if (inActions) {
                actions.back() += line + "\n";
            } else {
                start += line + "\n";
            }
        }
        ASSERT_FALSE(actions.empty()) << e.path();
        EXPECT_EQ(undoseq::CheckUndoRedo(Runner(), start, actions), "") << e.path();
        // What the undo and redo left behind must not trouble the next scene either.
        Json again;
        std::string error;
        EXPECT_EQ(Runner()(start, again, error), 0) << e.path() << ": " << error;
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace qvapp::test
