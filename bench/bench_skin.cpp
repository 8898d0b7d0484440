// Skin weight mirroring on random symmetric meshes of 10k, 100k and 1M vertices: the whole
// tool run (Execute: read, match, write back, deform, select, report) with the fast matching
// path, its matching alone, and the Part's own loop on the smaller meshes for comparison.
#include <benchmark/benchmark.h>

#include "qvcore/host.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "skin/BipSkin.h"
#include "skin/BipSkinMatch.h"
#include "tests/common/symmetric_skin.h"

namespace {

// Tolerance of the runs (host units): the panel's default.
constexpr float kTolerance = 0.01f;
// Share of mirror images jittered (by up to twice the tolerance).
constexpr float kJitterShare = 0.1f;

struct Scene {
    skintest::Rig rig;
    cskin* skin = nullptr;
    SkinRecordArray records;
};

// A fresh scene holding the rig and one skin of about n vertices (n / 2.1 mirrored pairs and
// a point on the plane per ten pairs).
Scene& SceneOf(int n) {
    static int built = -1;
    static Scene scene;
    if (built != n) {
        SkinRecordsFree(scene.records);
        qv::ResetScene();
        scene.rig = skintest::MakeRig();
        scene.skin = new cskin();
        scene.skin->SetName("Bench Skin");
        Interface::AddToScene(scene.skin, 1);
        // Like a modelled mesh: one mirror image in ten off by up to twice the tolerance, and
        // the vertices off the plane weighted to the bones of their side.
        skintest::FillSymmetricSkin(*scene.skin, scene.rig, static_cast<int>(n / 2.1), kTolerance,
                                    42, kJitterShare, false);
        scene.skin->vertSel.SetCount(scene.skin->numVerts);
        SkinRecordsPick(scene.records, scene.rig.root, 0);
        built = n;
    }
    return scene;
}

void BM_MirrorWeightsExecute(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    const std::vector<cskinvertex> original = scene.skin->verts;
    Interface::DeselectAll();
    Interface::Select(scene.skin);
    BipSkinPanel& panel = SkinPanelState();
    SkinRecordsPick(panel.records, scene.rig.root, 0);
    panel.tolerance = kTolerance;
    panel.fastMatching = 1;
    for (auto _ : state) {
        state.PauseTiming();
        scene.skin->verts = original;
        state.ResumeTiming();
        benchmark::DoNotOptimize(bipskin.Execute());
    }
    state.counters["vertices"] = static_cast<double>(original.size());
    state.counters["matched"] = scene.skin->mirrorReport.matched;
    state.SetComplexityN(state.range(0));
}

void Match(benchmark::State& state, bool fast) {
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SkinMirrorRun run;
        SkinMirrorRead(*scene.skin, run);
        if (fast)
            SkinMirrorMatchFast(scene.records, kSkinSideLeft, kTolerance, cmatrix4{}, run);
        else
            SkinMirrorMatchPlain(scene.records, kSkinSideLeft, kTolerance, cmatrix4{}, run);
        benchmark::DoNotOptimize(run.writes.size());
    }
    state.SetComplexityN(state.range(0));
}
void BM_MatchFast(benchmark::State& state) { Match(state, true); }
void BM_MatchPlain(benchmark::State& state) { Match(state, false); }

}  // namespace


BENCHMARK(BM_MirrorWeightsExecute)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
BENCHMARK(BM_MatchFast)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
// The Part's loop: quadratic, so only the smaller meshes.
BENCHMARK(BM_MatchPlain)->Arg(10'000)->Arg(30'000)->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNSquared);
