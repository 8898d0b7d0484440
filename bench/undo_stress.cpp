// Stress program for undo: runs thousands of random action sequences (tests/common/
// undo_sequence.h) through the built module, checks that undoing all of each gives the first
// scene and redoing all the last, and prints every failing sequence shrunk to its fewest actions.
//   undo_stress [SEQUENCES] [ACTIONS] [FIRST-SEED] [print]     (defaults 2000, 20, 1)
// With `print`, the scripts of the sequences are printed instead of run.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "dump.h"
#include "module_loader.h"
#include "qvcore/host.h"
#include "qvplatform/ui.h"
#include "script_runner.h"
#include "tests/common/bvh_text.h"
#include "tests/common/undo_sequence.h"
#include "tools.h"

namespace {

constexpr int kTakeFrames = 30;                 // fits the animation range from frame 0
constexpr float kTakeFrameTime = 0.0333333f;    // seconds

int Arg(int argc, char** argv, int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; }

}  // namespace

int main(int argc, char** argv) {
    const int sequences = Arg(argc, argv, 1, 2000);
    const int actions = Arg(argc, argv, 2, 20);
    const uint32_t first = static_cast<uint32_t>(Arg(argc, argv, 3, 1));

    if (argc > 4 && std::string(argv[4]) == "print") {
        for (uint32_t seed = first; seed < first + static_cast<uint32_t>(sequences); ++seed)
            std::printf("# seed %u\n%s# actions\n%s", seed, undoseq::StartScript(seed).c_str(),
                        undoseq::Join(undoseq::Actions(seed, actions)).c_str());
        return 0;
    }
    std::string error;
    auto module = qvapp::LoadModule(BIPED_MODULE_PATH, error);
    if (!module) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("undo-stress-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / undoseq::kBvhTakeFile, std::ios::binary)
        << bvhtext::ClassicBvh(kTakeFrames, kTakeFrameTime);
    std::filesystem::copy_file(std::filesystem::path(BIPED_SOURCE_DIR) / "tests/data/walk_v1000.bpd",
                               dir / undoseq::kBpdTakeFile);

    qvapp::ToolManager tools;
    tools.AddModule(module);
    tools.InstallHooks();
    std::ostringstream sink;
    const undoseq::Runner run = [&](const std::string& script, undoseq::Json& dump,
                                    std::string& why) {
        qvapp::RunOptions options;
        options.scriptName = "stress.qvs";
        options.outDir = dir;
        options.out = &sink;
        qvapp::ScriptRunner runner(tools, options);
        const int status = runner.Run(script);
        why = runner.Error();
        dump = undoseq::Json::parse(qvapp::DumpSceneText(tools));
        qv::ui::ClearMessages();
        return status;
    };

    const auto started = std::chrono::steady_clock::now();
    int failed = 0;
    for (uint32_t seed = first; seed < first + static_cast<uint32_t>(sequences); ++seed) {
        const std::vector<std::string> list = undoseq::Actions(seed, actions);
        const std::string start = undoseq::StartScript(seed);
        const std::string why = undoseq::CheckUndoRedo(run, start, list);
        if (why.empty()) continue;
        ++failed;
        const auto fails = [&](const std::vector<std::string>& a) {
            return !undoseq::CheckUndoRedo(run, start, a).empty();
        };
        std::printf("seed %u: %s\n%s# actions\n", seed, why.c_str(), start.c_str());
        const std::vector<std::string> shrunk = undoseq::Shrink(list, fails);
        for (size_t i = 0; i < shrunk.size(); ++i)
            std::printf("%s%s", i ? "# --\n" : "", shrunk[i].c_str());
        std::fflush(stdout);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d sequences of %d actions, %d failed, %.1f s\n", sequences, actions, failed,
                seconds);
    tools.Close();
    qv::ResetScene();
    std::filesystem::remove_all(dir);
    return failed ? 1 : 0;
}
