// Shared set-up of the transform tracking and overlay tests: a default biped handed over to the
// scene, the modify tool bound to it with its callbacks installed, drags driven through the
// installed callback as the host program drives them, and key and rotation comparisons.
#pragma once

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Skeleton/BipAnim.h"
#include "Skeleton/BipCreateTool.h"
#include "Skeleton/BipDisplay.h"
#include "Skeleton/BipNames.h"
#include "Skeleton/BipTrack.h"
#include "build_fixture.h"
#include "qvcore/host.h"
#include "quorvane/callbacks.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"

namespace tracktest {

// Sums and products of a few unit quaternions and points of size ~10 in floats: errors stay
// within a few hundred ulps.
constexpr float kRotTol = 2e-4f;
constexpr float kPosTol = 1e-3f;  // host units, for positions of size up to ~20

inline cquat Conj(const cquat& q) { return {-q.x, -q.y, -q.z, q.w}; }

// Equal as rotations: component-wise within tol, up to the sign of the whole quaternion.
inline testing::AssertionResult SameRotation(const cquat& a, const cquat& e, float tol) {
    auto within = [&](float s) {
        return std::fabs(a.x - s * e.x) <= tol && std::fabs(a.y - s * e.y) <= tol &&
               std::fabs(a.z - s * e.z) <= tol && std::fabs(a.w - s * e.w) <= tol;
    };
    if (within(1.0f) || within(-1.0f)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ", " << a.w
                                       << ") is not the rotation (" << e.x << ", " << e.y << ", "
                                       << e.z << ", " << e.w << ") within " << tol;
}
#define EXPECT_SAME_ROTATION(actual, expected, tol) \
    EXPECT_TRUE(::tracktest::SameRotation((actual), (expected), (tol)))

// Every key of a track, for before/after comparisons.
inline std::vector<ckey> KeysOf(const cnode* n) { return n->anim.Keys(); }

inline bool SameKeys(const std::vector<ckey>& a, const std::vector<ckey>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(ckey)) == 0);
}

// Binds the modify tool to the biped whose root is named prefix, with `slot` selected, the way
// its Init does, and installs the callbacks.
inline void BindTool(const char* prefix, int slot) {
    std::string withBlank = std::string(prefix) + " ";
    for (int s = 0; s < kNumSlots; ++s)
        bipani.bones[s] = s == kSlotRoot
                              ? Interface::FindNode(prefix)
                              : Interface::FindNode(MakeBoneName(withBlank.c_str(), BipBaseName(s)));
    std::strncpy(bipani.prefix, withBlank.c_str(), cbipanim::kPrefixSize - 1);
    Interface::DeselectAll();
    if (slot >= 0 && bipani.bones[slot] != nullptr) Interface::Select(bipani.bones[slot]);
    bipani.selSlot = slot;
    bipani.mirrorSlot = GetMirrorSlot(slot);
    Interface::SetTransformCallback(&cbipanim::trnsClbk);
    Interface::SetHitTestCallback(&cbipanim::hittestBip);
}

// Other tests construct tools of their own, and each construction points the callbacks at the
// new object; the module itself holds only bipani.
inline void PointCallbacksAtTheModuleTool() {
    cbipanim::trnsClbk.owner = &bipani;
    cbipanim::hittestBip.owner = &bipani;
}

// The tool's modes and anchors as a fresh binding leaves them.
inline void ClearModes() {
    bipani.oppRotation = bipani.symRotation = bipani.animTransform = 0;
    bipani.keepBinding = 0;
    for (int& on : bipani.anchorOn) on = 0;
}

// One viewport drag through the installed callback, as the host program makes it.
inline void RotateDrag(const cquat& step, int steps) {
    TransformCallback* cb = Interface::GetTransformCallback();
    ASSERT_NE(cb, nullptr);
    cb->StartTransform(QV_XFORM_ROTATE);
    for (int i = 0; i < steps; ++i) cb->Rotate(step);
    cb->EndTransform(QV_XFORM_ROTATE);
}

inline void MoveDrag(const cpoint3& step, int steps) {
    TransformCallback* cb = Interface::GetTransformCallback();
    ASSERT_NE(cb, nullptr);
    cb->StartTransform(QV_XFORM_MOVE);
    for (int i = 0; i < steps; ++i) cb->Move(step, 0, 0.0f);
    cb->EndTransform(QV_XFORM_MOVE);
}

// A default biped in the scene under the prefix Bip01, the tool bound to it.
class TrackedBiped : public testing::Test {
protected:
    inline static const cpoint3 kRoot{0.0f, 0.0f, 0.0f};

    void SetUp() override {
        qv::ResetScene();
        PointCallbacksAtTheModuleTool();
        buildtest::ApplyCounts(buildtest::Counts{});
        buildtest::ResetBuilder();
        BuildBiped(kRoot);
        HandOverBiped(false);
        ClearModes();
        ASSERT_NE(Interface::FindNode("Bip01 L UpperArm"), nullptr);
    }
    void TearDown() override {
        ClearModes();
        qv::ResetScene();
        buildtest::ResetBuilder();
        for (cnode*& b : bipani.bones) b = nullptr;
        bipani.selSlot = bipani.mirrorSlot = -1;
    }

    static cnode* Bone(int slot) { return bipani.bones[slot]; }

    // Parent-relative rotation at the current time: world × Inverse(parentWorld).
    static cquat LocalRot(cnode* n) {
        const int t = GetAnimTime();
        cquat world = n->GetRotation(t);
        return n->GetParent() ? world * Inverse(n->GetParent()->GetRotation(t)) : world;
    }

    static std::vector<std::vector<ckey>> AllKeys() {
        std::vector<std::vector<ckey>> out;
        for (cnode* b : bipani.bones) out.push_back(b ? KeysOf(b) : std::vector<ckey>{});
        return out;
    }

    static const char* NewestLevelName() {
        const int n = theUndo.NumLevels();
        return n > 0 ? theUndo.GetLevelName(n - 1) : "";
    }
};

}  // namespace tracktest
