// Shared set-up of the creation tool tests: an empty scene, the creation panel open under the
// headless user interface, and helpers that act on it as a person would.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "Skeleton/BipBuild.h"
#include "Skeleton/BipCreate.h"
#include "Skeleton/BipCreateParams.h"
#include "Skeleton/BipCreateTool.h"
#include "Skeleton/BipGlobals.h"
#include "plugin/BipPreview.h"
#include "plugin_test_env.h"
#include "quorvane/interface.h"
#include "quorvane/node.h"
#include "qvcore/host.h"
#include "qvplatform/ui.h"

namespace createtest {

constexpr ccolor kBlue{0.0f, 0.0f, 1.0f, 1.0f};
constexpr ccolor kGreen{0.0f, 1.0f, 0.0f, 1.0f};

class CreationTool : public testing::Test {
protected:
    void SetUp() override {
        qv::ResetScene();
        qv::ui::SetDriver(&driver);
        qv::ui::TakeError();
        qv::Hooks().notifyTool = [](unsigned long e, unsigned long a, unsigned long b, void* d) {
            bip.Notify(e, a, b, d);
        };
        qv::Hooks().pickColour = [](HWND owner, unsigned long& rgb) {
            return qv::ui::PickColour(owner, rgb) ? 1 : 0;
        };
        numSpines = 4, numFingers = 5, numFingerLinks = 3, numToes = 5, numToeLinks = 3;
        leftColour = kBlue;
        rightColour = kGreen;
        dragHeight = 0.0f;
        bip.Init();
        panel = qv::ui::CreatePanel(plugintest::TestModule(), ccreatebip::kPanelDialog,
                                    [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> INT_PTR {
                                        return bip.DlgProc(w, m, static_cast<unsigned>(wp),
                                                           static_cast<long>(lp));
                                    });
        ASSERT_NE(panel, nullptr) << qv::ui::TakeError();
    }

    void TearDown() override {
        bip.Done();  // hands any biped over, so that the scene owns (and resets) its bones
        qv::ui::DestroyPanel(panel);
        createPanelWnd = nullptr;
        qv::ResetScene();
        qv::Hooks().pickColour = nullptr;
        qv::Hooks().notifyTool = nullptr;
        qv::ui::SetDriver(nullptr);
        EXPECT_EQ(qv::ui::TakeError(), "");
    }

    // A press in a viewport at the scene point, as the host starts a drag.
    void BeginDragAt(cpoint3 p) { bip.BeginDrag(nullptr, 0, 0, p.x, p.y, p.z, 0, 0, 0, 0, 0, 0); }
    void DragTo(float up, float side = 0.0f) { bip.Drag(nullptr, 0, 0, 0, 0, 0, 0, 0, up, side); }
    void EndDrag() { bip.EndDrag(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0); }
    int Stop() { return bip.Stop(nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0); }

    void Type(const std::string& field, const std::string& text, bool enter = false) {
        std::string error;
        ASSERT_TRUE(qv::ui::Type(panel, field, text, enter, error)) << error;
    }
    void Press(const std::string& control) {
        std::string error;
        ASSERT_TRUE(qv::ui::Press(panel, control, error)) << error;
    }
    std::string Text(int id) const {
        for (const auto& c : qv::ui::Controls(panel))
            if (c.id == id) return c.text;
        return "(no control)";
    }
    unsigned long SwatchColour(int id) const {
        qv::ui::PaintOwnerDrawn(panel);
        for (const auto& c : qv::ui::Controls(panel))
            if (c.id == id) return c.colour;
        return 0xFFFFFFFFul;
    }

    static cnode* PreviewBone(const std::string& name) {
        for (int i = 0; i < bippreview.numNodes; ++i)
            if (name == bippreview.nodes[i]->GetName()) return bippreview.nodes[i];
        return nullptr;
    }

    qv::ui::QueueDriver driver;
    HWND panel = nullptr;
};

inline int BoneCount(int spines, int fingers, int fingerLinks, int toes, int toeLinks) {
    return 1 + 18 + (spines - 1) + 2 * fingers * fingerLinks + 2 * toes * toeLinks;
}

}  // namespace createtest
