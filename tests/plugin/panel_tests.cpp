// The modify panel driven as a person would: exclusive transform modes, anchor boxes, colours
// read from and written to the bound biped, walk/run options kept in range, and the check
// boxes that must keep one of them on.
#include <string>
#include <vector>

#include "Skeleton/BipAnchors.h"
#include "Skeleton/BipPanel.h"
#include "Skeleton/BipPosture.h"
#include "bind_scene.h"
#include "plugin_test_env.h"
#include "qvplatform/ui.h"
#include "resources/resource.h"

namespace {

using bindtest::MakeBiped;
using bindtest::Node;
using bindtest::Open;

class ModifyPanel : public bindtest::ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        qv::ui::SetDriver(&driver);
        qv::ui::TakeError();
        qv::Hooks().notifyTool = [this](unsigned long e, unsigned long a, unsigned long b, void* d) {
            events.push_back(e);
            bipani.Notify(e, a, b, d);
        };
        qv::Hooks().pickColour = [](HWND owner, unsigned long& rgb) {
            return qv::ui::PickColour(owner, rgb) ? 1 : 0;
        };
        postureValid = 0;
        MakeBiped();
    }
    void TearDown() override {
        if (panel) qv::ui::DestroyPanel(panel);
        panelWnd = nullptr;
        qv::Hooks().notifyTool = nullptr;
        qv::Hooks().pickColour = nullptr;
        qv::ui::SetDriver(nullptr);
        EXPECT_EQ(qv::ui::TakeError(), "");
        ToolScene::TearDown();
    }
    // Binds to the bone and opens the panel on it, as the host does.
    void OpenOn(const char* bone) {
        ASSERT_EQ(Open(Node(bone)), 1);
        panel = qv::ui::CreatePanel(plugintest::TestModule(), cbipanim::kPanelDialog,
                                    [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> INT_PTR {
                                        return bipani.DlgProc(w, m, static_cast<unsigned>(wp),
                                                              static_cast<long>(lp));
                                    });
        ASSERT_NE(panel, nullptr) << qv::ui::TakeError();
    }
    void Press(int id) {
        std::string error;
        ASSERT_TRUE(qv::ui::Press(panel, "#" + std::to_string(id), error)) << error;
    }
    void Type(int id, const std::string& text, bool enter = false) {
        std::string error;
        ASSERT_TRUE(qv::ui::Type(panel, "#" + std::to_string(id), text, enter, error)) << error;
    }
    qv::ui::ControlInfo Control(int id) const {
        for (const auto& c : qv::ui::Controls(panel))
            if (c.id == id) return c;
        ADD_FAILURE() << "no control " << id;
        return {};
    }
    bool Checked(int id) const { return Control(id).checked; }
    bool Enabled(int id) const { return Control(id).enabled; }
    unsigned long SwatchColour(int id) const {
        qv::ui::PaintOwnerDrawn(panel);
        return Control(id).colour;
    }

    qv::ui::QueueDriver driver;
    HWND panel = nullptr;
    std::vector<unsigned long> events;  // events the host sent to the open tool
};

qv::ui::Action TypeAction(const char* field, const char* text) {
    qv::ui::Action a;
    a.kind = qv::ui::Action::Kind::Type;
    a.control = field;
    a.text = text;
    return a;
}

qv::ui::Action PressAction(const char* control) {
    qv::ui::Action a;
    a.control = control;
    return a;
}

TEST_F(ModifyPanel, TransformModesExcludeEachOther) {
    OpenOn("Bip01 R Forearm");
    Press(IDC_PANEL_ANIM_TRANSFORM);
    EXPECT_EQ(bipani.animTransform, 1);
    EXPECT_TRUE(Checked(IDC_PANEL_ANIM_TRANSFORM));

    Press(IDC_PANEL_SYM_ROTATION);
    EXPECT_EQ(bipani.symRotation, 1);
    EXPECT_EQ(bipani.animTransform, 0);
    EXPECT_FALSE(Checked(IDC_PANEL_ANIM_TRANSFORM));
    EXPECT_TRUE(Checked(IDC_PANEL_SYM_ROTATION));

    Press(IDC_PANEL_OPP_ROTATION);  // turns "Symmetrical Rotation" off
    EXPECT_EQ(bipani.oppRotation, 1);
    EXPECT_EQ(bipani.symRotation, 0);
    EXPECT_FALSE(Checked(IDC_PANEL_SYM_ROTATION));
    EXPECT_TRUE(Checked(IDC_PANEL_OPP_ROTATION));

    Press(IDC_PANEL_OPP_ROTATION);  // and off again: no mode at all
    EXPECT_EQ(bipani.oppRotation + bipani.symRotation + bipani.animTransform, 0);
    EXPECT_FALSE(Checked(IDC_PANEL_OPP_ROTATION));
}

TEST_F(ModifyPanel, MirrorModesNeedABoneWithAMirror) {
    bipani.animTransform = 1;  // shown as the tool holds it
    OpenOn("Bip01 Spine1");
    EXPECT_FALSE(Enabled(IDC_PANEL_SYM_ROTATION));
    EXPECT_FALSE(Enabled(IDC_PANEL_OPP_ROTATION));
    EXPECT_TRUE(Enabled(IDC_PANEL_ANIM_TRANSFORM));
}

TEST_F(ModifyPanel, ModesAndAnchorsShowTheToolsState) {
    ASSERT_EQ(Open(Node("Bip01 L Hand")), 1);
    bipani.symRotation = 1;
    bipani.anchorOn[1] = 1;
    bipani.keepBinding = 1;  // the panel reopens on a click within the biped
    OpenOn("Bip01 L Thigh");
    EXPECT_TRUE(Checked(IDC_PANEL_SYM_ROTATION));
    EXPECT_FALSE(Checked(IDC_PANEL_ANIM_TRANSFORM));
    EXPECT_TRUE(Checked(IDC_PANEL_ANCHOR_L_FOOT));
    EXPECT_FALSE(Checked(IDC_PANEL_ANCHOR_R_FOOT));
}

TEST_F(ModifyPanel, AnchorBoxOfAMissingHandIsDisabled) {
    Node("Bip01 L Hand")->DeleteThis();
    OpenOn("Bip01 Pelvis");
    EXPECT_FALSE(Enabled(IDC_PANEL_ANCHOR_L_HAND));
    EXPECT_TRUE(Enabled(IDC_PANEL_ANCHOR_R_HAND));
    EXPECT_TRUE(Enabled(IDC_PANEL_ANCHOR_R_FOOT));
    EXPECT_TRUE(Enabled(IDC_PANEL_ANCHOR_L_FOOT));
}

TEST_F(ModifyPanel, AnchorHoldsTheFootWhereItIsWhenSwitchedOn) {
    OpenOn("Bip01 Pelvis");
    Interface::SetAnimTime(0);
    const cpoint3 footNow = Node("Bip01 R Foot")->GetPosition(0);
    Press(IDC_PANEL_ANCHOR_R_FOOT);
    EXPECT_EQ(bipani.anchorOn[0], 1);
    EXPECT_TRUE(Checked(IDC_PANEL_ANCHOR_R_FOOT));
    EXPECT_TRUE(buildtest::PointNear(bipani.anchorPos[0], footNow, 0.0f));
    Press(IDC_PANEL_ANCHOR_R_FOOT);
    EXPECT_EQ(bipani.anchorOn[0], 0);
    EXPECT_FALSE(Checked(IDC_PANEL_ANCHOR_R_FOOT));
}

TEST_F(ModifyPanel, ColoursAreReadFromTheBoundBiped) {
    const ccolor red{1.0f, 0.0f, 0.0f, 1.0f};
    const ccolor grey{0.4f, 0.4f, 0.4f, 1.0f};
    Node("Bip01 R Thigh")->SetColor(red);
    Node("Bip01 L Thigh")->DeleteThis();  // the left side's colour comes from the left calf
    Node("Bip01 L Calf")->SetColor(grey);
    OpenOn("Bip01 Head");
    EXPECT_FLOAT_EQ(rightColour.r, 1.0f);
    EXPECT_FLOAT_EQ(rightColour.g, 0.0f);
    EXPECT_FLOAT_EQ(leftColour.r, 0.4f);
    EXPECT_FLOAT_EQ(leftColour.b, 0.4f);
    EXPECT_EQ(SwatchColour(IDC_PANEL_RIGHT_COLOUR), 0x0000FFul);  // red as 0x00BBGGRR
    EXPECT_EQ(SwatchColour(IDC_PANEL_LEFT_COLOUR), 0x666666ul);   // (int)(0.4 × 255) = 102
}

TEST_F(ModifyPanel, PickedColourRecoloursTheLeftBonesAndTellsTheTool) {
    OpenOn("Bip01 Head");
    const ccolor spineBefore = Node("Bip01 Spine")->GetColor();
    driver.Push(TypeAction("Red:", "255"));
    driver.Push(TypeAction("Green:", "128"));
    driver.Push(TypeAction("Blue:", "0"));
    driver.Push(PressAction("OK"));
    events.clear();
    Press(IDC_PANEL_LEFT_COLOUR);
    EXPECT_NEAR(leftColour.g, 128.0f / 255.0f, 1e-6f);
    EXPECT_FLOAT_EQ(leftColour.r, 255 * 0.003921569f);
    for (const char* name : {"Bip01 L Thigh", "Bip01 L Toe42", "Bip01 L Clavicle", "Bip01 L Finger42"}) {
        EXPECT_FLOAT_EQ(Node(name)->GetColor().g, leftColour.g) << name;
        EXPECT_FLOAT_EQ(Node(name)->GetColor().r, leftColour.r) << name;
    }
    EXPECT_FLOAT_EQ(Node("Bip01 R Thigh")->GetColor().g, 1.0f);  // the right side stays green
    EXPECT_FLOAT_EQ(Node("Bip01 Spine")->GetColor().r, spineBefore.r) << "a centre bone was recoloured";
    EXPECT_EQ(events, std::vector<unsigned long>{QV_EVENT_NODE_COLOUR});
    EXPECT_EQ(SwatchColour(IDC_PANEL_LEFT_COLOUR), 0x0080FFul);
}

TEST_F(ModifyPanel, CancelledPickerChangesNothing) {
    OpenOn("Bip01 Head");
    driver.Push(TypeAction("Red:", "255"));
    driver.Push(PressAction("Cancel"));
    events.clear();
    Press(IDC_PANEL_RIGHT_COLOUR);
    EXPECT_FLOAT_EQ(rightColour.r, 0.0f);
    EXPECT_FLOAT_EQ(Node("Bip01 R Hand")->GetColor().r, 0.0f);
    EXPECT_TRUE(events.empty());
}

TEST_F(ModifyPanel, DefaultsButtonsRecolourBothSides) {
    Node("Bip01 R Foot")->SetColor({0.5f, 0.5f, 0.5f, 1.0f});
    Node("Bip01 L Foot")->SetColor({0.5f, 0.5f, 0.5f, 1.0f});
    OpenOn("Bip01 Head");
    Press(IDC_PANEL_BIPED_DEFAULTS);
    EXPECT_FLOAT_EQ(Node("Bip01 R Foot")->GetColor().g, 1.0f);
    EXPECT_FLOAT_EQ(Node("Bip01 R Foot")->GetColor().r, 0.0f);
    EXPECT_FLOAT_EQ(Node("Bip01 L Finger0")->GetColor().b, 1.0f);
    EXPECT_EQ(SwatchColour(IDC_PANEL_LEFT_COLOUR), 0xFF0000ul);

    cbone fresh;
    const ccolor host = fresh.GetColor();
    Press(IDC_PANEL_QUORVANE_DEFAULTS);
    EXPECT_FLOAT_EQ(leftColour.r, host.r);
    EXPECT_FLOAT_EQ(rightColour.b, host.b);
    EXPECT_FLOAT_EQ(Node("Bip01 R Foot")->GetColor().g, host.g);
    EXPECT_FLOAT_EQ(Node("Bip01 L Foot")->GetColor().b, host.b);
}

TEST_F(ModifyPanel, NumLoopsIsKeptWithinOneToAHundred) {
    OpenOn("Bip01");
    Type(IDC_PANEL_NUM_LOOPS, "0");
    EXPECT_EQ(bipani.numLoops, 1);
    EXPECT_EQ(Control(IDC_PANEL_NUM_LOOPS).text, "1");
    Type(IDC_PANEL_NUM_LOOPS, "250", /*enter=*/true);
    EXPECT_EQ(bipani.numLoops, 100);
    EXPECT_EQ(Control(IDC_PANEL_NUM_LOOPS).text, "100");
    Type(IDC_PANEL_NUM_LOOPS, "seven");
    EXPECT_EQ(bipani.numLoops, 100);
    EXPECT_EQ(Control(IDC_PANEL_NUM_LOOPS).text, "100");
    Type(IDC_PANEL_NUM_LOOPS, "7");
    EXPECT_EQ(bipani.numLoops, 7);
}

TEST_F(ModifyPanel, WalkRunOptionsAreShownAsStored) {
    OpenOn("Bip01");
    EXPECT_TRUE(Checked(IDC_PANEL_WALK));
    EXPECT_TRUE(Checked(IDC_PANEL_START_RIGHT));
    EXPECT_TRUE(Checked(IDC_PANEL_LOOP));
    EXPECT_FALSE(Checked(IDC_PANEL_IN_PLACE));
    Press(IDC_PANEL_RUN);
    Press(IDC_PANEL_START_LEFT);
    Press(IDC_PANEL_IN_PLACE);
    Press(IDC_PANEL_LOOP);
    EXPECT_EQ(bipani.gait, 1);
    EXPECT_EQ(bipani.startFoot, 0);
    EXPECT_EQ(bipani.inPlace, 1);
    EXPECT_EQ(bipani.loop, 0);
    EXPECT_TRUE(Checked(IDC_PANEL_RUN));
    EXPECT_FALSE(Checked(IDC_PANEL_WALK));
    EXPECT_TRUE(Checked(IDC_PANEL_START_LEFT));
    EXPECT_FALSE(Checked(IDC_PANEL_START_RIGHT));
    EXPECT_TRUE(Checked(IDC_PANEL_IN_PLACE));
    EXPECT_FALSE(Checked(IDC_PANEL_LOOP));
}

TEST_F(ModifyPanel, PasteIsEnabledOnlyWithAPosture) {
    OpenOn("Bip01");
    EXPECT_FALSE(Enabled(IDC_PANEL_PASTE));
    EXPECT_FALSE(Enabled(IDC_PANEL_PASTE_MIRRORED));
    qv::ui::DestroyPanel(panel);
    postureValid = 1;
    OpenOn("Bip01");
    EXPECT_TRUE(Enabled(IDC_PANEL_PASTE));
    EXPECT_TRUE(Enabled(IDC_PANEL_PASTE_MIRRORED));
}

TEST_F(ModifyPanel, SymmetricPostureKeepsOneComponentOn) {
    OpenOn("Bip01 R Hand");
    EXPECT_TRUE(Checked(IDC_PANEL_SYM_POS));
    EXPECT_TRUE(Checked(IDC_PANEL_SYM_ROT));
    EXPECT_TRUE(Checked(IDC_PANEL_SYM_SCALE));
    Press(IDC_PANEL_SYM_POS);
    Press(IDC_PANEL_SYM_SCALE);
    EXPECT_FALSE(Checked(IDC_PANEL_SYM_POS));
    EXPECT_FALSE(Checked(IDC_PANEL_SYM_SCALE));
    Press(IDC_PANEL_SYM_ROT);  // the last one on
    EXPECT_TRUE(Checked(IDC_PANEL_SYM_ROT));
}

TEST_F(ModifyPanel, AllArmChecksTheArmBoxesAndClearsNothing) {
    OpenOn("Bip01 R Hand");
    Press(IDC_PANEL_LIMB_THIGH);
    ASSERT_TRUE(Checked(IDC_PANEL_LIMB_THIGH));
    Press(IDC_PANEL_ALL_ARM);
    for (int id = IDC_PANEL_LIMB_CLAVICLE; id <= IDC_PANEL_LIMB_FINGERS; ++id)
        EXPECT_TRUE(Checked(id)) << id;
    EXPECT_TRUE(Checked(IDC_PANEL_LIMB_THIGH));
    EXPECT_FALSE(Checked(IDC_PANEL_LIMB_CALF));
    Press(IDC_PANEL_ALL_LEG);
    for (int id = IDC_PANEL_LIMB_THIGH; id <= IDC_PANEL_LIMB_TOES; ++id) EXPECT_TRUE(Checked(id)) << id;
}

TEST_F(ModifyPanel, AlignListsTheBonesInSlotOrder) {
    buildtest::ApplyCounts({.spines = 1, .fingers = 0, .toes = 1, .toeLinks = 1});
    bindtest::ResetTool();
    qv::ResetScene();
    MakeBiped();
    OpenOn("Bip01 Head");
    const HWND combo = GetDlgItem(panel, IDC_PANEL_ALIGN_BONE);
    ASSERT_NE(combo, nullptr);
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(count, buildtest::ExpectedBoneCount({.spines = 1, .fingers = 0, .toes = 1, .toeLinks = 1}));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    int previous = -1;
    for (int i = 0; i < count; ++i) {
        const int slot = static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, i, 0));
        ASSERT_GT(slot, previous) << "item " << i;
        ASSERT_NE(bipani.bones[slot], nullptr);
        char text[128] = {};
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, bipani.bones[slot]->GetName());
        previous = slot;
    }
    for (int id = IDC_PANEL_ALIGN_POS_X; id <= IDC_PANEL_ALIGN_ROT_Z; ++id) EXPECT_TRUE(Checked(id)) << id;
}

}  // namespace
