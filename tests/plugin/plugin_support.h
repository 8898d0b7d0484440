// Shared set-up of the plug-in tests: the builder's counts and preview list, bipeds handed over
// to the host's scene, the module's one modify tool reset and bound as the host does it, panels
// acted on by name, and comparisons of points, rotations and keys.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Skeleton/Bip/BipAnim.h"
#include "Skeleton/Bip/BipBones.h"
#include "Skeleton/Bip/BipBuild.h"
#include "Skeleton/Bip/BipCreateParams.h"
#include "Skeleton/Bip/BipCreateTool.h"
#include "Skeleton/Bip/BipDisplay.h"
#include "Skeleton/Bip/BipGlobals.h"
#include "Skeleton/Bip/BipNames.h"
#include "Skeleton/Bip/BipTrack.h"
#include "plugin/BipPreview.h"
#include "qvcore/host.h"
#include "quorvane/callbacks.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "quorvane/undo.h"
#include "qvplatform/ui.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

namespace pt {

// The handle the tests' copy of the module code runs under.
HINSTANCE TestModule();

// --- the builder ---------------------------------------------------------------------------------

inline void ApplyCounts(const BipShape& c) {
    numSpines = c.numSpines, numFingers = c.numFingers, numFingerLinks = c.numFingerLinks;
    numToes = c.numToes, numToeLinks = c.numToeLinks;
}
inline BipShape CurrentCounts() {
    return {numSpines, numFingers, numFingerLinks, numToes, numToeLinks};
}

// Number of bones a biped with the counts has.
inline int ExpectedBoneCount(const BipShape& c) {
    return 1 + 18 + (c.numSpines - 1) + 2 * c.numFingers * c.numFingerLinks +
           2 * c.numToes * c.numToeLinks;
}

// The state the creation tool's Init leaves: no biped, an empty preview list.
inline void ResetBuilder() {
    ClearBuilderState();
    for (cnode*& n : bippreview.nodes) n = nullptr;
    bippreview.numNodes = 0;
    bippreview.committed = 0;
    height = kDefaultHeight;
}

inline cnode* PreviewBone(const std::string& name) {
    for (int i = 0; i < bippreview.numNodes; ++i)
        if (bippreview.nodes[i] != nullptr && name == bippreview.nodes[i]->GetName())
            return bippreview.nodes[i];
    return nullptr;
}

inline std::string FullName(int slot, const char* prefix = "Bip01") {
    return slot == kSlotRoot ? prefix : std::string(prefix) + " " + BipBaseName(slot);
}
inline std::string NameOf(const cnode* n) { return n == nullptr ? "(none)" : n->GetName(); }

// The preview list holds exactly the bones the counts call for, each once, hung from its
// default parent (pinned with worked values in names_tests.cpp).
inline void ExpectDefaultHierarchy(const BipShape& c) {
    ASSERT_EQ(bippreview.numNodes, ExpectedBoneCount(c));
    for (int i = bippreview.numNodes; i < cbippreview::kMaxNodes; ++i)
        EXPECT_EQ(bippreview.nodes[i], nullptr) << "entry " << i << " past the end";
    for (int s = 0; s < kNumSlots; ++s) {
        cnode* bone = PreviewBone(FullName(s));
        if (!IsSlotPresent(s, c)) {
            EXPECT_EQ(bone, nullptr) << FullName(s) << " should be absent";
            continue;
        }
        ASSERT_NE(bone, nullptr) << FullName(s) << " missing";
        const int p = DefaultParentSlot(s, c.numSpines);
        EXPECT_EQ(NameOf(bone->GetParent()), p < 0 ? "(none)" : FullName(p))
            << "parent of " << FullName(s);
    }
}

// --- comparisons ------------------------------------------------------------------------------

// Each coordinate within tol; on failure names both points.
inline testing::AssertionResult PointNear(const cpoint3& a, const cpoint3& e, float tol) {
    if (std::fabs(a.x - e.x) <= tol && std::fabs(a.y - e.y) <= tol && std::fabs(a.z - e.z) <= tol)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "(" << a.x << ", " << a.y << ", " << a.z << ") is not within " << tol << " of ("
           << e.x << ", " << e.y << ", " << e.z << ")";
}

// Rotations equal up to the sign of the whole quaternion, within tol per component.
inline testing::AssertionResult SameRotation(const cquat& a, const cquat& b, float tol) {
    const float s = (a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w) < 0.0f ? -1.0f : 1.0f;
    if (std::fabs(a.x - s * b.x) <= tol && std::fabs(a.y - s * b.y) <= tol &&
        std::fabs(a.z - s * b.z) <= tol && std::fabs(a.w - s * b.w) <= tol)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ", " << a.w
                                       << ") is not (" << b.x << ", " << b.y << ", " << b.z << ", "
                                       << b.w << ") within " << tol;
}

inline bool SameColour(const ccolor& a, const ccolor& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

inline bool Finite(const cquat& q) {
    return std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) && std::isfinite(q.w);
}

// Keys compared byte for byte: undo must give back the very values saved.
inline bool SameKeys(const std::vector<ckey>& a, const std::vector<ckey>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(ckey)) == 0);
}

inline bool SameKeys(const std::vector<std::vector<ckey>>& a,
                     const std::vector<std::vector<ckey>>& b) {
    auto same = [](const std::vector<ckey>& x, const std::vector<ckey>& y) {
        return SameKeys(x, y);
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

// Every key of every bone of the bound biped, by slot.
inline std::vector<std::vector<ckey>> AllKeys() {
    std::vector<std::vector<ckey>> out;
    for (cnode* b : bipani.bones) out.push_back(b ? b->anim.Keys() : std::vector<ckey>{});
    return out;
}

// --- the modify tool on bipeds of the scene ---------------------------------------------------

// The module's modify tool as constructed: unbound, every mode and anchor off, the callbacks
// pointing at it (constructing another tool points them at that one).
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
    cbipanim::trnsClbk.owner = &bipani;
    cbipanim::hittestBip.owner = &bipani;
}

// Builds a biped (height 8) with the module's counts at `at` and hands it to the scene under the
// first free prefix; answers its root.
inline cnode* MakeBiped(cpoint3 at = {}) {
    ResetBuilder();
    BuildBiped(at);
    cnode* root = createRoot;
    HandOverBiped(false);
    ResetBuilder();
    return root;
}

inline cnode* Node(const std::string& name) { return Interface::FindNode(name.c_str()); }

inline void SelectOnly(cnode* node) {  // as a click does
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
        ApplyCounts({});
        ResetBuilder();
        ResetTool();
    }
    void TearDown() override {
        ResetTool();
        qv::ResetScene();
        ResetBuilder();
        ApplyCounts({});
        leftColour = {0.0f, 0.0f, 1.0f, 1.0f};
        rightColour = {0.0f, 1.0f, 0.0f, 1.0f};
        Interface::SetAnimOn(0);
        Interface::SetAnimTime(0);
    }
};

// A tool's panel under the headless user interface, acted on by control name or "#id" as a
// person would; the colour picker goes through the driver.
class PanelTest : public ToolScene {
protected:
    using Proc = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
    void SetUp() override {
        ToolScene::SetUp();
        qv::ui::SetDriver(&driver);
        qv::ui::TakeError();
        qv::Hooks().pickColour = [](HWND owner, unsigned long& rgb) {
            return qv::ui::PickColour(owner, rgb) ? 1 : 0;
        };
    }
    void TearDown() override {
        if (panel) qv::ui::DestroyPanel(panel);
        qv::Hooks() = qv::HostHooks{};
        qv::ui::SetDriver(nullptr);
        EXPECT_EQ(qv::ui::TakeError(), "");
        ToolScene::TearDown();
    }
    void OpenPanel(int dialog, Proc proc) {
        panel = qv::ui::CreatePanel(TestModule(), dialog, proc);
        ASSERT_NE(panel, nullptr) << qv::ui::TakeError();
    }
    void Press(const std::string& control) {
        std::string error;
        ASSERT_TRUE(qv::ui::Press(panel, control, error)) << error;
    }
    void Type(const std::string& control, const std::string& text, bool enter = false) {
        std::string error;
        ASSERT_TRUE(qv::ui::Type(panel, control, text, enter, error)) << error;
    }
    static std::string Id(int id) { return "#" + std::to_string(id); }
    qv::ui::ControlInfo Control(int id) const {
        for (const auto& c : qv::ui::Controls(panel))
            if (c.id == id) return c;
        return {};
    }
    unsigned long SwatchColour(int id) const {
        qv::ui::PaintOwnerDrawn(panel);
        return Control(id).colour;
    }
    // The colour picker's answers: the channels typed, then OK or Cancel.
    void QueuePicker(std::vector<const char*> rgb, bool ok = true) {
        const char* channels[] = {"Red:", "Green:", "Blue:"};
        for (size_t i = 0; i < rgb.size(); ++i) {
            qv::ui::Action type;
            type.kind = qv::ui::Action::Kind::Type;
            type.control = channels[i];
            type.text = rgb[i];
            driver.Push(type);
        }
        qv::ui::Action press;
        press.control = ok ? "OK" : "Cancel";
        driver.Push(press);
    }
    qv::ui::QueueDriver driver;
    HWND panel = nullptr;
};

// One viewport drag through the installed transform callback, as the host program makes it.
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

inline std::string NewestLevelName() {
    const int n = theUndo.NumLevels();
    return n > 0 ? theUndo.GetLevelName(n - 1) : "";
}

}  // namespace pt
