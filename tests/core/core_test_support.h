// Shared pieces of the core library's tests: a fixture that starts from an empty scene with
// the program's hooks recording events, and comparisons with stated tolerances.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "quorvane/quorvane.h"
#include "qvcore/host.h"

// Float round-off of a few chained single-precision products (host units or unit vectors).
constexpr float kFloatTol = 1e-4f;

inline ::testing::AssertionResult PointNear(const cpoint3& a, const cpoint3& b, float tol) {
    float d = Length(a - b);
    if (d <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << a.x << ", " << a.y << ", " << a.z << ") vs (" << b.x << ", " << b.y << ", "
           << b.z << "), distance " << d << " > " << tol;
}

// Quaternions q and -q are the same rotation.
inline ::testing::AssertionResult SameRotation(const cquat& a, const cquat& b, float tol) {
    float d = std::fabs(DotProd(Normalize(a), Normalize(b)));
    if (1.0f - d <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << a.x << ", " << a.y << ", " << a.z << ", " << a.w << ") vs (" << b.x << ", "
           << b.y << ", " << b.z << ", " << b.w << "), |dot| " << d;
}

// A fresh scene per test, with every event sent to the open tool recorded.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        qv::ResetScene();
        qv::Hooks() = qv::HostHooks{};
        qv::Hooks().notifyTool = [this](unsigned long e, unsigned long, unsigned long, void*) {
            events.push_back(e);
        };
        qv::Hooks().selectionChanged = [this] {
            events.push_back(kSelectionHook);
        };
        events.clear();
    }
    void TearDown() override {
        qv::ResetScene();
        qv::Hooks() = qv::HostHooks{};
    }

    // A bone in the scene with its parent, at a parent-relative position.
    cbone* AddBone(const char* name, cnode* parent = nullptr, cpoint3 localPos = {}) {
        cbone* b = CreateNewBone();
        b->SetName(name);
        ckey k;
        k.pos = localPos;
        b->anim.SetKey(k);
        if (parent) parent->Attach(b, 0);
        Interface::AddToScene(b, 0);
        return b;
    }

    // Marks the program's selection hook in the event list.
    static constexpr unsigned long kSelectionHook = 9999;
    std::vector<unsigned long> events;
};
