// Shared set-up of the skeleton builder tests: builder parameters, a clean builder and preview
// list, lookup of bones by name, and the default hierarchy written out slot by slot.
#pragma once

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "Skeleton/BipBones.h"
#include "Skeleton/BipBuild.h"
#include "Skeleton/BipCreateParams.h"
#include "Skeleton/BipGlobals.h"
#include "plugin/BipPreview.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"

namespace buildtest {

struct Counts {
    int spines = 4, fingers = 5, fingerLinks = 3, toes = 5, toeLinks = 3;
};

inline void ApplyCounts(const Counts& c) {
    numSpines = c.spines;
    numFingers = c.fingers;
    numFingerLinks = c.fingerLinks;
    numToes = c.toes;
    numToeLinks = c.toeLinks;
}

inline Counts CurrentCounts() {
    return {numSpines, numFingers, numFingerLinks, numToes, numToeLinks};
}

// The state the creation tool's Init leaves: no biped, an empty preview list.
inline void ResetBuilder() {
    ClearBuilderState();
    for (cnode*& n : bippreview.nodes) n = nullptr;
    bippreview.numNodes = 0;
    bippreview.committed = 0;
    height = kDefaultHeight;
}

// Disposes of every bone of the preview list, children first, and resets the builder.
inline void DisposeBiped() {
    for (int i = bippreview.numNodes - 1; i >= 0; --i)
        if (bippreview.nodes[i] != nullptr) bippreview.nodes[i]->DeleteThis();
    ResetBuilder();
}

inline cnode* PreviewBone(const std::string& name) {
    for (int i = 0; i < bippreview.numNodes; ++i)
        if (bippreview.nodes[i] != nullptr && name == bippreview.nodes[i]->GetName())
            return bippreview.nodes[i];
    return nullptr;
}

inline std::string FullName(int slot) {
    return slot == kSlotRoot ? std::string("Bip01") : std::string("Bip01 ") + BipBaseName(slot);
}

inline std::string NameOf(const cnode* n) { return n == nullptr ? "(none)" : n->GetName(); }

// Link number of a toe or finger slot, counted from the first slot of its group.
inline int LinkOf(int slot, int first) { return (slot - first) % 3; }
inline int DigitOf(int slot, int first) { return (slot - first) / 3; }

// Whether a biped built with the counts has the slot.
inline bool SlotPresent(int s, const Counts& c) {
    auto digit = [](int s, int first, int n, int links) {
        return DigitOf(s, first) < n && LinkOf(s, first) < links;
    };
    if (s >= 5 && s <= 19) return digit(s, 5, c.toes, c.toeLinks);
    if (s >= 23 && s <= 37) return digit(s, 23, c.toes, c.toeLinks);
    if (s >= 38 && s <= 42) return s - 38 < c.spines;
    if (s >= 49 && s <= 63) return digit(s, 49, c.fingers, c.fingerLinks);
    if (s >= 68 && s <= 82) return digit(s, 68, c.fingers, c.fingerLinks);
    return s >= 0 && s <= 82;
}

// Parent slot of each slot in the default hierarchy; -1 for the root.
inline int ExpectedParentSlot(int s, int spines) {
    const int topSpine = 38 + spines - 1;
    if (s == 0) return -1;
    if (s == 1) return 0;
    if (s == 2 || s == 20 || s == 38) return 1;
    if (s >= 5 && s <= 19) return LinkOf(s, 5) == 0 ? 4 : s - 1;
    if (s >= 23 && s <= 37) return LinkOf(s, 23) == 0 ? 22 : s - 1;
    if (s == 43 || s == 45 || s == 64) return topSpine;
    if (s >= 49 && s <= 63) return LinkOf(s, 49) == 0 ? 48 : s - 1;
    if (s >= 68 && s <= 82) return LinkOf(s, 68) == 0 ? 67 : s - 1;
    return s - 1;  // the leg, spine-link and arm chains, and the head under the neck
}

// Number of bones a biped with the counts has.
inline int ExpectedBoneCount(const Counts& c) {
    return 1 + 18 + (c.spines - 1) + 2 * c.fingers * c.fingerLinks + 2 * c.toes * c.toeLinks;
}

// Checks that the preview list holds exactly the slots the counts call for, each once, hung
// from its default parent.
inline void ExpectDefaultHierarchy(const Counts& c) {
    ASSERT_EQ(bippreview.numNodes, ExpectedBoneCount(c));
    for (int i = bippreview.numNodes; i < cbippreview::kMaxNodes; ++i)
        EXPECT_EQ(bippreview.nodes[i], nullptr) << "entry " << i << " past the end";
    for (int s = 0; s < kNumSlots; ++s) {
        cnode* bone = PreviewBone(FullName(s));
        if (!SlotPresent(s, c)) {
            EXPECT_EQ(bone, nullptr) << FullName(s) << " should be absent";
            continue;
        }
        ASSERT_NE(bone, nullptr) << FullName(s) << " missing";
        const int p = ExpectedParentSlot(s, c.spines);
        EXPECT_EQ(NameOf(bone->GetParent()), p < 0 ? std::string("(none)") : FullName(p))
            << "parent of " << FullName(s);
    }
}

// A biped freshly built at kRoot with the counts of the module at load.
class BuiltBiped : public testing::Test {
protected:
    static constexpr float kHeight = 8.0f;
    // Positions are products of table values and the height plus the root: float rounding
    // leaves errors of a few ulps of the height.
    static constexpr float kPosTol = 1e-4f * kHeight;
    inline static const cpoint3 kRoot{3.0f, -2.0f, 1.0f};

    void SetUp() override {
        ApplyCounts(Counts{});
        ResetBuilder();
        BuildBiped(kRoot);
    }
    void TearDown() override {
        DisposeBiped();
        ApplyCounts(Counts{});
    }

    static cpoint3 PositionOf(const std::string& name) {
        cnode* bone = PreviewBone(name);
        EXPECT_NE(bone, nullptr) << name;
        return bone == nullptr ? cpoint3{} : bone->GetPosition(GetAnimTime());
    }
};

// Each coordinate within tol; on failure names both points.
inline testing::AssertionResult PointNear(const cpoint3& a, const cpoint3& e, float tol) {
    if (std::fabs(a.x - e.x) <= tol && std::fabs(a.y - e.y) <= tol && std::fabs(a.z - e.z) <= tol)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z
                                       << ") is not within " << tol << " of (" << e.x << ", "
                                       << e.y << ", " << e.z << ")";
}
#define EXPECT_POINT_NEAR(actual, expected, tol) \
    EXPECT_TRUE(::buildtest::PointNear((actual), (expected), (tol)))

}  // namespace buildtest
