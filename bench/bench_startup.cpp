// Start-up speed: the wall time of `quorvane run` on a script that renders nothing (the
// program started, the module loaded, a bone made, the program gone). QV_BENCH_PROGRAM and
// QV_BENCH_MODULE name another build of the program and its module to measure side by side.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::string WriteScript() {
    auto path = std::filesystem::temp_directory_path() / "bench_startup.qvs";
    std::ofstream(path) << "new\nbone \"Hip\" 0 0 4\nbone \"Knee\" 0 0 2 parent \"Hip\"\n";
    return path.string();
}

// Runs the program once with its output thrown away; false when it did not exit with 0.
// cpuSeconds: the user and system time the program took (its own, whatever else runs).
bool RunProgram(const std::string& script, double& cpuSeconds) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const char* other = std::getenv("QV_BENCH_PROGRAM");
    std::string program = other ? other : QV_PROGRAM;
    const char* module = std::getenv("QV_BENCH_MODULE");
    std::vector<char*> argv{program.data(), const_cast<char*>("run"),
                            const_cast<char*>(script.c_str())};
    if (module) {
        argv.push_back(const_cast<char*>("--module"));
        argv.push_back(const_cast<char*>(module));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                 1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_RunScriptWithoutRender(benchmark::State& state) {
    const std::string script = WriteScript();
    double programCpu = 0.0;
    for (auto _ : state) {
        double cpu = 0.0;
        auto start = std::chrono::steady_clock::now();
        bool ok = RunProgram(script, cpu);
        auto end = std::chrono::steady_clock::now();
        if (!ok) {
            state.SkipWithError("quorvane run failed");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        programCpu += cpu;
    }
    state.counters["program_cpu_ms"] =
        benchmark::Counter(1e3 * programCpu, benchmark::Counter::kAvgIterations);
    state.SetLabel("quorvane run, three lines, no render");
}
BENCHMARK(BM_RunScriptWithoutRender)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
