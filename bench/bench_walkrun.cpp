// Walk and run key generation speed: 100 loops (the most the panel allows) of each gait on a
// default biped, through the modify tool as the panel calls it. Each iteration first undoes the
// previous one (untimed), so it clears, keys and makes its undo item from the same state.
#include <benchmark/benchmark.h>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipCreateTool.h"
#include "Skeleton/Bip/BipGaitTables.h"
#include "default_biped.h"
#include "quorvane/interface.h"
#include "quorvane/undo.h"

namespace {

constexpr int kLoops = 100;          // cycles, the panel's largest number
constexpr int kRangeEnd = 100000;    // frames: far past the last key, so no question is asked

// A default biped handed to the scene and the modify tool bound to it.
void MakeBoundBiped() {
    benchbiped::BuildDefaultBiped();
    cnode* root = createRoot;
    HandOverBiped(false);
    ClearBuilderState();
    Interface::DeselectAll();
    Interface::Select(root);
    bipani.IsOkToModify(root);
    bipani.Init();
    Interface::SetAnimEnd(kRangeEnd);
}

void GenerateLoops(benchmark::State& state) {
    const int gait = static_cast<int>(state.range(0));
    MakeBoundBiped();
    bipani.numLoops = kLoops;
    bipani.gait = gait;
    bipani.Anim(gait);  // so that every iteration undoes a generation first
    for (auto _ : state) {
        state.PauseTiming();
        theUndo.Undo();  // back to the biped as built
        state.ResumeTiming();
        benchmark::DoNotOptimize(bipani.Anim(gait));
    }
    state.SetLabel(gait == kGaitWalk ? "walk, 100 loops" : "run, 100 loops");
    bipani.Done();
}
BENCHMARK(GenerateLoops)->Arg(kGaitWalk)->Arg(kGaitRun)->Unit(benchmark::kMillisecond);

}  // namespace
