// Shared set-up of the modify tool tests: bipeds handed over to the host's scene, the module's
// one modify tool put back to its state after construction, binding as the host does it, and
// comparisons of points, rotations and keys.
#pragma once

#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "Skeleton/BipAnim.h"
#include "Skeleton/BipBones.h"
#include "Skeleton/BipBuild.h"
#include "Skeleton/BipCreateParams.h"
#include "Skeleton/BipCreateTool.h"
#include "Skeleton/BipDisplay.h"
#include "Skeleton/BipGlobals.h"
#include "Skeleton/BipTrack.h"
#include "build_fixture.h"
#include "qvcore/host.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace bindtest {

// The module's modify tool as constructed: unbound, every mode and anchor off. The callback
// objects keep referring to it.
inline void ResetTool() {
    bipani.Done();
    for (cnode*& b : bipani.bones) b = nullptr;
    bipani.selSlot = bipani.mirrorSlot = -1;
    bipani.oppRotation = bipani.symRotation = bipani.animTransform = 0;
    std::memset(bipani.prefix, 0, sizeof bipani.prefix);
    bipani.keepBinding = 0;
    for (int k = 0; k < cbipanim::kNumAnchors; ++k) {
        bipani.anchorOn[k] = 0;
        bipani.anchorPos[k] = cpoint3{};
    }
    bipani.numLoops = 1, bipani.startFoot = 1, bipani.inPlace = 0, bipani.loop = 1, bipani.gait = 0;
}

// Builds a default biped (height 8) with the module's counts at `at` and hands it to the
// scene under the first free prefix; answers its root.
inline cnode* MakeBiped(cpoint3 at = {}) {
    buildtest::ResetBuilder();
    BuildBiped(at);
    cnode* root = createRoot;
    HandOverBiped(false);
    buildtest::ResetBuilder();
    return root;
}

inline cnode* Node(const std::string& name) { return Interface::FindNode(name.c_str()); }

// Makes the node the single selection, as a click does.
inline void SelectOnly(cnode* node) {
    Interface::DeselectAll();
    Interface::Select(node);
}

// What the host does when the user opens the tool on the selection: ask, then bind.
inline int Open(cnode* node) {
    SelectOnly(node);
    if (!bipani.IsOkToModify(node)) return 0;
    bipani.Init();
    return 1;
}

// An empty scene and a fresh tool around each test; module counts and colours as at load.
class ToolScene : public testing::Test {
protected:
    void SetUp() override {
        qv::ResetScene();
        buildtest::ApplyCounts(buildtest::Counts{});
        ResetTool();
    }
    void TearDown() override {
        ResetTool();
        qv::ResetScene();
        buildtest::ApplyCounts(buildtest::Counts{});
        leftColour = {0.0f, 0.0f, 1.0f, 1.0f};
        rightColour = {0.0f, 1.0f, 0.0f, 1.0f};
    }
};

inline bool Finite(const cquat& q) {
    return std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w);
}

// Rotations equal up to the sign of the whole quaternion, within tol per component.
inline testing::AssertionResult SameRotation(const cquat& a, const cquat& b, float tol) {
    const float s = (a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w) < 0.0f ? -1.0f : 1.0f;
    if (std::fabs(a.x - s * b.x) <= tol && std::fabs(a.y - s * b.y) <= tol &&
        std::fabs(a.z - s * b.z) <= tol && std::fabs(a.w - s * b.w) <= tol)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ", " << a.w
                                       << ") is not (" << b.x << ", " << b.y << ", " << b.z
                                       << ", " << b.w << ") within " << tol;
}

// Keys compared field by field, exactly: undo must give back the very values saved.
inline bool SameKey(const ckey& a, const ckey& b) {
    return a.time == b.time && a.pos == b.pos && a.rot == b.rot && a.scale == b.scale;
}

}  // namespace bindtest
