// Panels acted on by name: how names find controls, what pressing, typing and choosing do and
// which notifications the panel procedure receives.
#include <vector>

#include "ui_support.h"

namespace {

using namespace uitest;

struct Command {
    int id;
    int code;
    HWND focus;  // GetFocus() when the command arrived
};

class Panel : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        panel = qv::ui::CreatePanel(TestModule(), IDD_PANEL,
                                    [this](HWND, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
                                        if (msg == WM_INITDIALOG) ++inits;
                                        if (msg == WM_COMMAND)
                                            commands.push_back({LOWORD(wParam), HIWORD(wParam),
                                                                GetFocus()});
                                        return 0;
                                    });
        ASSERT_NE(panel, nullptr);
    }
    void TearDown() override {
        qv::ui::DestroyPanel(panel);
        UiTest::TearDown();
    }
    int Find(const std::string& name) {
        int id = 0;
        std::string error;
        EXPECT_TRUE(qv::ui::FindControl(panel, name, id, error)) << error;
        return id;
    }
    std::string FindError(const std::string& name) {
        int id = 0;
        std::string error;
        EXPECT_FALSE(qv::ui::FindControl(panel, name, id, error)) << name << " found #" << id;
        return error;
    }
    HWND panel = nullptr;
    int inits = 0;
    std::vector<Command> commands;
};

TEST_F(Panel, CreationSendsInitDialogOnce) {
    EXPECT_EQ(inits, 1);
    EXPECT_EQ(qv::ui::DialogId(panel), IDD_PANEL);
}

TEST_F(Panel, NamesByCaptionLabelAndId) {
    EXPECT_EQ(Find("Transform"), IDC_TRANSFORM);
    EXPECT_EQ(Find("Num Loops:"), IDC_LOOPS);  // label left of the edit
    EXPECT_EQ(Find("Height:"), IDC_HEIGHT);    // label above the edit
    EXPECT_EQ(Find("Target:"), IDC_TARGET);    // label above the combo box
    EXPECT_EQ(Find("Name"), IDC_NAME);
    EXPECT_EQ(Find("num loops"), IDC_LOOPS);  // second try: any case, no trailing ':'
    EXPECT_EQ(Find("#303"), IDC_LOOPS);
}

TEST_F(Panel, GroupQualifiesSharedCaptions) {
    EXPECT_EQ(Find("Posture/Mirror"), IDC_POSTURE_MIRROR);
    EXPECT_EQ(Find("Animation/Mirror"), IDC_ANIM_MIRROR);
    EXPECT_EQ(Find("Symmetric Posture/Pos"), IDC_SYM_POS);  // innermost group
    EXPECT_EQ(Find("Limbs/Pos"), IDC_SYM_POS);              // an outer group also qualifies
    EXPECT_EQ(Find("Limbs/Symmetric Posture/Pos"), IDC_SYM_POS);
    EXPECT_EQ(FindError("Symmetric Posture/Limbs/Pos"),  // outermost first
              "no control \"Symmetric Posture/Limbs/Pos\" in dialog \"\" (300)");
    EXPECT_EQ(FindError("Posture/Transform"), "no control \"Posture/Transform\" in dialog \"\" (300)");
}

TEST_F(Panel, AmbiguousNameListsTheCandidatesWithIds) {
    EXPECT_EQ(FindError("Mirror"),
              "\"Mirror\" fits several controls in dialog \"\" (300): #301 \"Posture/Mirror\", "
              "#302 \"Animation/Mirror\"");
}

TEST_F(Panel, LabelsAndGroupBoxesAreNeverTargets) {
    EXPECT_EQ(FindError("Posture"), "no control \"Posture\" in dialog \"\" (300)");
    // The static "Height:" names the edit below it, never itself.
    EXPECT_EQ(Find("Height:"), IDC_HEIGHT);
    EXPECT_EQ(FindError("#-1"),
              "control #-1 in dialog \"\" (300) is a label or group box, which cannot be acted on");
    EXPECT_EQ(FindError("#999"), "no control \"#999\" in dialog \"\" (300)");
}

TEST_F(Panel, PressOnAButtonNotifiesClicked) {
    std::string error;
    ASSERT_TRUE(qv::ui::Press(panel, "Posture/Mirror", error)) << error;
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].id, IDC_POSTURE_MIRROR);
    EXPECT_EQ(commands[0].code, BN_CLICKED);
}

TEST_F(Panel, DisabledControlRefusesPresses) {
    std::string error;
    EXPECT_FALSE(qv::ui::Press(panel, "Locked", error));
    EXPECT_EQ(error, "control #310 \"Locked\" in dialog \"\" (300) is disabled");
    EXPECT_TRUE(commands.empty());
    EnableWindow(GetDlgItem(panel, IDC_LOCKED), TRUE);
    EXPECT_TRUE(qv::ui::Press(panel, "Locked", error)) << error;
    EnableWindow(GetDlgItem(panel, IDC_LOOPS), FALSE);
    EXPECT_FALSE(qv::ui::Type(panel, "Num Loops:", "3", false, error));
    EXPECT_NE(error.find("is disabled"), std::string::npos);
}

TEST_F(Panel, PushLikeCheckBoxTogglesBeforeNotifying) {
    std::string error;
    ASSERT_TRUE(qv::ui::Press(panel, "Transform", error));
    EXPECT_EQ(IsDlgButtonChecked(panel, IDC_TRANSFORM), BST_CHECKED);
    ASSERT_TRUE(qv::ui::Press(panel, "Transform", error));
    EXPECT_EQ(IsDlgButtonChecked(panel, IDC_TRANSFORM), BST_UNCHECKED);
    EXPECT_EQ(commands.size(), 2u);
}

TEST_F(Panel, RadioButtonClearsOnlyItsOwnGroup) {
    std::string error;
    ASSERT_TRUE(qv::ui::Press(panel, "Walk", error));
    ASSERT_TRUE(qv::ui::Press(panel, "Left", error));
    ASSERT_TRUE(qv::ui::Press(panel, "Run", error));
    EXPECT_EQ(IsDlgButtonChecked(panel, IDC_WALK), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(panel, IDC_RUN), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(panel, IDC_LEFT), BST_CHECKED);  // next WS_GROUP run
    EXPECT_EQ(IsDlgButtonChecked(panel, IDC_RIGHT), BST_UNCHECKED);
}

TEST_F(Panel, TypeAndLeaveSendsKillFocusAndDropsTheFocus) {
    std::string error;
    ASSERT_TRUE(qv::ui::Type(panel, "Num Loops:", "12", false, error)) << error;
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].id, IDC_LOOPS);
    EXPECT_EQ(commands[0].code, EN_KILLFOCUS);
    EXPECT_EQ(GetFocus(), nullptr);
    char text[16];
    GetDlgItemTextA(panel, IDC_LOOPS, text, sizeof text);
    EXPECT_STREQ(text, "12");
}

TEST_F(Panel, TypeWithEnterSendsIdOkWhileTheEditHasTheFocus) {
    std::string error;
    ASSERT_TRUE(qv::ui::Type(panel, "Height:", "-12.5", true, error)) << error;
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].id, IDOK);
    EXPECT_EQ(commands[0].focus, GetDlgItem(panel, IDC_HEIGHT));
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_HEIGHT);
    // Clicking elsewhere afterwards is leaving the field.
    ASSERT_TRUE(qv::ui::Press(panel, "Transform", error));
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[1].id, IDC_HEIGHT);
    EXPECT_EQ(commands[1].code, EN_KILLFOCUS);
    EXPECT_EQ(commands[2].id, IDC_TRANSFORM);
}

TEST_F(Panel, NumberEditKeepsOnlyDigits) {
    std::string error;
    ASSERT_TRUE(qv::ui::Type(panel, "Num Loops:", "-3x5", false, error));
    char text[16];
    GetDlgItemTextA(panel, IDC_LOOPS, text, sizeof text);
    EXPECT_STREQ(text, "35");
    ASSERT_TRUE(qv::ui::Type(panel, "Height:", "-3x5", false, error));  // a free-text edit
    GetDlgItemTextA(panel, IDC_HEIGHT, text, sizeof text);
    EXPECT_STREQ(text, "-3x5");
}

TEST_F(Panel, TypeIntoAButtonIsRefused) {
    std::string error;
    EXPECT_FALSE(qv::ui::Type(panel, "Transform", "1", false, error));
    EXPECT_EQ(error, "control #312 \"Transform\" in dialog \"\" (300) is not an edit");
}

TEST_F(Panel, ChooseSelectsTheItemAndNotifiesSelectionChange) {
    HWND combo = GetDlgItem(panel, IDC_TARGET);
    const char* names[] = {"Bip01", "Bip01 Pelvis", "Bip01 L Hand"};
    for (int slot = 0; slot < 3; ++slot) {
        LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[slot]));
        SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), slot * 10);
    }
    std::string error;
    ASSERT_TRUE(qv::ui::Choose(panel, "Target:", "Bip01 L Hand", error)) << error;
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].code, CBN_SELCHANGE);
    LRESULT sel = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    EXPECT_EQ(sel, 2);
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(sel), 0), 20);
    char text[32];
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 12);
    EXPECT_STREQ(text, "Bip01 Pelvis");
    EXPECT_FALSE(qv::ui::Choose(panel, "Target:", "Bip02", error));
    EXPECT_EQ(error, "no item \"Bip02\" in combo box #305 of dialog \"\" (300); items: \"Bip01\", "
                     "\"Bip01 Pelvis\", \"Bip01 L Hand\"");
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 0, 0), CB_ERR);
}

TEST_F(Panel, ControlsDescribeKindsStatesAndGroups) {
    CheckDlgButton(panel, IDC_TRANSFORM, BST_CHECKED);
    SetDlgItemTextA(panel, IDC_LOOPS, "4");
    ShowWindow(GetDlgItem(panel, IDC_TRANSFORM), SW_HIDE);
    auto controls = qv::ui::Controls(panel);
    auto find = [&](int id) {
        for (auto& c : controls)
            if (c.id == id) return c;
        ADD_FAILURE() << "no control " << id;
        return qv::ui::ControlInfo{};
    };
    EXPECT_EQ(find(IDC_TRANSFORM).kind, "checkbox");
    EXPECT_TRUE(find(IDC_TRANSFORM).checked);
    EXPECT_FALSE(find(IDC_TRANSFORM).visible);
    EXPECT_EQ(find(IDC_TRANSFORM).group, "Animation");
    EXPECT_EQ(find(IDC_LOOPS).kind, "edit");
    EXPECT_EQ(find(IDC_LOOPS).text, "4");
    EXPECT_EQ(find(IDC_TARGET).kind, "combo");
    EXPECT_EQ(find(IDC_WALK).kind, "radio");
    EXPECT_EQ(find(IDC_SWATCH).kind, "swatch");
    EXPECT_EQ(find(IDC_POSTURE_MIRROR).kind, "button");
    EXPECT_FALSE(find(IDC_LOCKED).enabled);
    EXPECT_FALSE(find(IDC_HIDDEN).visible);
    EXPECT_EQ(find(IDC_SYM_POS).group, "Symmetric Posture");
    EXPECT_EQ(controls.front().kind, "group");
    EXPECT_EQ(controls[1].kind, "button");
}

TEST_F(Panel, DestroyedPanelHandleIsRefused) {
    HWND gone = panel;
    qv::ui::DestroyPanel(panel);
    panel = nullptr;
    EXPECT_EQ(GetDlgItem(gone, IDC_LOOPS), nullptr);
    EXPECT_EQ(qv::ui::DialogId(gone), 0);
    std::string error;
    EXPECT_FALSE(qv::ui::Press(gone, "Transform", error));
}

}  // namespace
