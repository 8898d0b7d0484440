// Creation drag speed: one step of the creation drag re-sizes the biped under construction
// (SetBipedHeight over its 82 placed bones), as every mouse move of the drag does.
#include <benchmark/benchmark.h>

#include "default_biped.h"
#include "quorvane/interface.h"

namespace {

using benchbiped::kHeight;
constexpr float kHeightStep = 0.01f;  // host units a mouse move adds to the height

void BM_CreationDragUpdate(benchmark::State& state) {
    benchbiped::BuildDefaultBiped();
    int step = 0;
    for (auto _ : state) {
        // Up and down by one step, so the biped stays near its default size.
        SetBipedHeight(createRoot, kHeight + kHeightStep * static_cast<float>(step & 1));
        ++step;
    }
    benchmark::DoNotOptimize(createRoot->GetPosition(GetAnimTime()));
    state.SetLabel("SetBipedHeight, 82 bones");
}
BENCHMARK(BM_CreationDragUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace
