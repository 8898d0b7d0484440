// Creation drag speed: one step of the creation drag re-sizes the biped under construction
// (SetBipedHeight over its 82 placed bones), as every mouse move of the drag does.
#include <benchmark/benchmark.h>

#include "Skeleton/Bip/BipBuild.h"
#include "Skeleton/Bip/BipCreateParams.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "plugin/BipPreview.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "qvcore/host.h"

namespace {

constexpr float kHeight = 8.0f;       // host units
constexpr float kHeightStep = 0.01f;  // host units a mouse move adds to the height
constexpr float kRootZ = 4.88f;       // the default biped's root standing on z = 0

// A default biped under construction, as the creation tool holds it during the drag.
void MakeBipedUnderConstruction() {
    qv::ResetScene();
    ClearBuilderState();
    for (cnode*& n : bippreview.nodes) n = nullptr;
    bippreview.numNodes = 0;
    bippreview.committed = 0;
    height = kHeight;
    BuildBiped(MakePt3(0.0f, 0.0f, kRootZ));
}

void BM_CreationDragUpdate(benchmark::State& state) {
    MakeBipedUnderConstruction();
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
