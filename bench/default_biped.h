// The benchmarks' starting point: a default biped under construction, as the creation tool
// holds it right after the drag that made it, in an empty scene.
#pragma once

#include "Skeleton/Bip/BipBuild.h"
#include "Skeleton/Bip/BipCreateParams.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "plugin/BipPreview.h"
#include "quorvane/node.h"
#include "qvcore/host.h"

namespace benchbiped {

constexpr float kHeight = 8.0f;   // host units
constexpr float kRootZ = 4.88f;   // the default biped's root standing on z = 0

// Builds it; createRoot is its root.
inline void BuildDefaultBiped() {
    qv::ResetScene();
    ClearBuilderState();
    for (cnode*& n : bippreview.nodes) n = nullptr;
    bippreview.numNodes = 0;
    bippreview.committed = 0;
    height = kHeight;
    BuildBiped(MakePt3(0.0f, 0.0f, kRootZ));
}

}  // namespace benchbiped
