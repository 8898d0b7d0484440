// BVH speed, side by side in one process so that the ratios hold on a busy machine: parsing
// a synthetic 30 joints × 5,000 frames take and the largest real file with our reader, with
// the assimp BVH loader, and with nothing but a scan converting every number (the practical
// limit); and importing classic captures of 300, 3,000 and 30,000 frames onto a biped.
#include <benchmark/benchmark.h>

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <string>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipBuild.h"
#include "Skeleton/Bip/BipCreateTool.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "Skeleton/BipFile/BipFileBvh.h"
#include "plugin/BipPreview.h"
#include "quorvane/interface.h"
#include "qvcore/host.h"
#include "tests/common/bvh_text.h"

namespace {

constexpr int kSyntheticJoints = 30;
constexpr int kSyntheticFrames = 5000;
const char kLargestRealFile[] = "real/wspr_walk.bvh";

const std::string& Synthetic() {
    static const std::string text = bvhtext::SyntheticBvh(kSyntheticJoints, kSyntheticFrames);
    return text;
}

const std::string& RealFile() {
    static const std::string text = [] {
        std::ifstream in(std::filesystem::path(BVH_DATA_DIR) / kLargestRealFile, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }();
    return text;
}

const std::string& Text(int which) { return which == 0 ? Synthetic() : RealFile(); }

void Report(benchmark::State& state, const std::string& text) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
    state.SetLabel(std::to_string(text.size() / 1024) + " KiB");
}

void BM_ParseOurReader(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        BVHBone container;
        const BvhReadResult r = ReadBvhText(text, container);
        if (!r.ok) state.SkipWithError(r.message.c_str());
        benchmark::DoNotOptimize(container.children.data());
    }
    Report(state, text);
}

void BM_ParseAssimp(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFileFromMemory(text.data(), text.size(), 0, "bvh");
        if (!scene) state.SkipWithError(importer.GetErrorString());
        benchmark::DoNotOptimize(scene);
    }
    Report(state, text);
}

// Every number of the text converted with std::from_chars, nothing else: the floor any reader
// of the same bytes stands on.
void BM_ParseFromCharsOnly(benchmark::State& state) {
    const std::string& text = Text(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const char* p = text.data();
        const char* end = p + text.size();
        double sum = 0.0;
        while (p < end) {
            float v;
            const auto r = std::from_chars(p, end, v);
            if (r.ec == std::errc()) {
                sum += v;
                p = r.ptr;
            } else {
                ++p;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    Report(state, text);
}

// Arg 0: the synthetic take; 1: the largest real file.
BENCHMARK(BM_ParseOurReader)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseAssimp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseFromCharsOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A default biped (height 8) in an empty scene, bound to the modify tool; the animation bar
// long enough that no import asks to lengthen it.
void ClearPreview() {
    ClearBuilderState();
    for (cnode*& n : bippreview.nodes) n = nullptr;
    bippreview.numNodes = 0;
    bippreview.committed = 0;
}

void MakeBoundBiped() {
    qv::ResetScene();
    ClearPreview();
    BuildBiped({});
    cnode* root = createRoot;
    HandOverBiped(false);
    ClearPreview();
    Interface::SetAnimEnd(1000000);
    Interface::DeselectAll();
    Interface::Select(root);
    bipani.IsOkToModify(root);
    bipani.Init();
}

// LoadBVH end to end: read, temporary skeleton, keys on the biped. The range runs 300 to
// 30,000 frames so that growth with the frame count shows.
void BM_ImportClassicCapture(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    const auto path = std::filesystem::temp_directory_path() /
                      ("bench_bvh_" + std::to_string(frames) + ".bvh");
    std::ofstream(path, std::ios::binary) << bvhtext::ClassicBvh(frames, 0.033333f);
    MakeBoundBiped();
    std::string p = path.string();
    for (auto _ : state)
        if (!bipani.LoadBVH(p.data())) state.SkipWithError("the capture was refused");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * frames);
    bipani.Done();
    qv::ResetScene();
    std::filesystem::remove(path);
}

// Several seconds each, so that the 30,000-frame case runs more than once: its first run pays
// for fresh memory that later runs reuse.
BENCHMARK(BM_ImportClassicCapture)
    ->Arg(300)
    ->Arg(3000)
    ->Arg(30000)
    ->MinTime(4.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
