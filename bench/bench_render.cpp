// Rendering speed: a default biped drawn at 1920x1080 and written as a PNG, through the
// program's own render command, in the shaded look (2x2 samples at this size) and in the flat
// one-sample look, and the PNG encoding of such a picture alone.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "module_loader.h"
#include "qvcore/host.h"
#include "qvview/gl.h"
#include "script_runner.h"
#include "tools.h"

namespace {

constexpr int kWidth = 1920;   // pixels
constexpr int kHeight = 1080;  // pixels

std::filesystem::path OutDir() { return std::filesystem::temp_directory_path() / "bench_render"; }

// The program's pieces, loaded once: the module, its tools and a runner holding a biped.
struct Session {
    qvapp::ToolManager tools;
    std::unique_ptr<qvapp::ScriptRunner> runner;
    bool ok = false;
    Session() {
        std::string error;
        auto module = qvapp::LoadModule(qvapp::DefaultModulePath(), error);
        if (!module) {
            std::fprintf(stderr, "bench_render: %s\n", error.c_str());
            return;
        }
        tools.AddModule(module);
        tools.InstallHooks();
        qvapp::RunOptions options;
        options.scriptName = "bench_render";
        options.outDir = OutDir();
        runner = std::make_unique<qvapp::ScriptRunner>(tools, options);
        ok = Run("new\ncreate \"Bones\" \"Biped\"\ndrag 0 0 0 8 ground\nclose\n");
    }
    bool Run(const std::string& text) {
        if (runner->Run(text) == 0) return true;
        std::fprintf(stderr, "bench_render: %s\n", runner->Error().c_str());
        return false;
    }
};

Session& TheSession() {
    static Session session;
    return session;
}

void RenderPng(benchmark::State& state, const std::string& look) {
    Session& s = TheSession();
    if (!s.ok) {
        state.SkipWithError("no biped to render");
        return;
    }
    const std::string command = "render \"biped_1920.png\" view persp size " +
                                std::to_string(kWidth) + " " + std::to_string(kHeight) +
                                " look " + look + "\n";
    for (auto _ : state)
        if (!s.Run(command)) state.SkipWithError("render failed");
    state.SetLabel("default biped, 1920x1080, " + look + ", " + (OutDir() / "biped_1920.png").string());
}
void BM_RenderPng(benchmark::State& state) { RenderPng(state, "shaded"); }
void BM_RenderPngFlat(benchmark::State& state) { RenderPng(state, "flat"); }
// A picture takes a few hundred milliseconds: several of them per measurement.
constexpr double kMinSeconds = 2.0;
BENCHMARK(BM_RenderPng)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinSeconds);
BENCHMARK(BM_RenderPngFlat)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(kMinSeconds);

// The encoding share: a rendered picture's pixels written as a PNG.
void BM_WritePng(benchmark::State& state) {
    Session& s = TheSession();
    int w = 0, h = 0;
    std::vector<unsigned char> rgba;
    std::string error;
    if (!s.ok || !s.Run("render \"source.png\" view persp size 1920 1080\n") ||
        !qv::gl::ReadPng((OutDir() / "source.png").string(), w, h, rgba, error)) {
        state.SkipWithError("no picture to encode");
        return;
    }
    const std::string path = (OutDir() / "encoded.png").string();
    for (auto _ : state)
        if (!qv::gl::WritePng(path, w, h, rgba, error)) state.SkipWithError(error.c_str());
}
BENCHMARK(BM_WritePng)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
