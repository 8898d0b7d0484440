// The modify panel (dialog 1158) open on a default biped, acted on as a person would, with the
// answers to the modal dialogs its commands open queued ahead.
#pragma once

#include "Skeleton/Bip/BipPanel.h"
#include "Skeleton/Bip/BipPosture.h"
#include "plugin_support.h"
#include "resources/resource.h"

namespace pt {

class ModifyPanel : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        qv::Hooks().notifyTool = [this](unsigned long e, unsigned long a, unsigned long b,
                                        void* d) {
            events.push_back(e);
            bipani.Notify(e, a, b, d);
        };
        postureValid = 0;
        qv::ui::ClearMessages();
        MakeBiped();
    }
    void TearDown() override {
        if (panel) qv::ui::DestroyPanel(panel);
        panel = nullptr;
        panelWnd = nullptr;
        EXPECT_EQ(driver.Remaining(), 0u) << "dialog answers left unused";
        PanelTest::TearDown();
    }
    // Binds to the bone and opens the panel on it, as the host does.
    void OpenOn(const char* bone) {
        ASSERT_EQ(Open(Node(bone)), 1);
        OpenPanel(cbipanim::kPanelDialog, [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> INT_PTR {
            return bipani.DlgProc(w, m, static_cast<unsigned>(wp), static_cast<long>(lp));
        });
    }
    void Press(int id) { PanelTest::Press(Id(id)); }
    bool Checked(int id) const { return Control(id).checked; }
    bool Enabled(int id) const { return Control(id).enabled; }
    // Answers for the next modal dialog: controls to press ("#1043", "OK"), or "ok" for a
    // message box.
    void Answer(const std::vector<std::string>& presses) {
        for (const std::string& p : presses) {
            qv::ui::Action a;
            a.kind = p == "ok" ? qv::ui::Action::Kind::Answer : qv::ui::Action::Kind::Press;
            (p == "ok" ? a.text : a.control) = p;
            driver.Push(a);
        }
    }
    std::vector<unsigned long> events;  // events the host sent to the open tool
};

}  // namespace pt
