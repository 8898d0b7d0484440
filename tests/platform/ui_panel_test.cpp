// Panels acted on by name: how names find controls, what pressing, typing and choosing do and
// which notifications the panel procedure receives.
#include <map>
#include <vector>

#include "ui_support.h"

namespace {

using namespace uitest;

struct Command {
    int id;
    int code;
    HWND focus;  // GetFocus() when the command arrived
};

// The test panel; its procedure records commands and paints the swatch in `colour`.
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
    bool Checked(int id) { return IsDlgButtonChecked(panel, id) == BST_CHECKED; }
    std::string Text(int id) {
        char text[32];
        GetDlgItemTextA(panel, id, text, sizeof text);
        return text;
    }
    HWND panel = nullptr;
    int inits = 0;
    std::vector<Command> commands;
    std::string error;
};

TEST_F(Panel, NamesFindControlsByCaptionLabelGroupAndId) {
    EXPECT_EQ(inits, 1);
    EXPECT_EQ(qv::ui::DialogId(panel), IDD_PANEL);
    const std::pair<const char*, int> found[] = {
        {"Transform", IDC_TRANSFORM}, {"Num Loops:", IDC_LOOPS},  // label left of the edit
        {"Height:", IDC_HEIGHT}, {"Target:", IDC_TARGET},         // labels above edit and combo
        {"Name", IDC_NAME}, {"num loops", IDC_LOOPS},  // second try: any case, no trailing ':'
        {"#303", IDC_LOOPS}, {"Posture/Mirror", IDC_POSTURE_MIRROR},
        {"Animation/Mirror", IDC_ANIM_MIRROR}, {"Symmetric Posture/Pos", IDC_SYM_POS},
        {"Limbs/Pos", IDC_SYM_POS},  // an outer group also qualifies
        {"Limbs/Symmetric Posture/Pos", IDC_SYM_POS},
    };
    for (const auto& [name, id] : found) {
        int at = 0;
        EXPECT_TRUE(qv::ui::FindControl(panel, name, at, error)) << error;
        EXPECT_EQ(at, id) << name;
    }
    const std::pair<const char*, const char*> refused[] = {
        {"Symmetric Posture/Limbs/Pos",  // outermost group first
         "no control \"Symmetric Posture/Limbs/Pos\" in dialog \"\" (300)"},
        {"Posture/Transform", "no control \"Posture/Transform\" in dialog \"\" (300)"},
        {"Mirror",
         "\"Mirror\" fits several controls in dialog \"\" (300): #301 \"Posture/Mirror\", "
         "#302 \"Animation/Mirror\""},
        {"Posture", "no control \"Posture\" in dialog \"\" (300)"},  // group boxes are no targets
        {"#-1",
         "control #-1 in dialog \"\" (300) is a label or group box, which cannot be acted on"},
        {"#999", "no control \"#999\" in dialog \"\" (300)"},
    };
    for (const auto& [name, message] : refused) {
        int at = 0;
        EXPECT_FALSE(qv::ui::FindControl(panel, name, at, error)) << name;
        EXPECT_EQ(error, message);
    }
}

TEST_F(Panel, PressNotifiesAndTogglesCheckBoxesAndRadioGroups) {
    ASSERT_TRUE(qv::ui::Press(panel, "Posture/Mirror", error)) << error;
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].id, IDC_POSTURE_MIRROR);
    EXPECT_EQ(commands[0].code, BN_CLICKED);
    ASSERT_TRUE(qv::ui::Press(panel, "Transform", error));  // push-like: toggles, then notifies
    EXPECT_TRUE(Checked(IDC_TRANSFORM));
    ASSERT_TRUE(qv::ui::Press(panel, "Transform", error));
    EXPECT_FALSE(Checked(IDC_TRANSFORM));
    EXPECT_EQ(commands.size(), 3u);
    for (const char* radio : {"Walk", "Left", "Run"})
        ASSERT_TRUE(qv::ui::Press(panel, radio, error));
    EXPECT_FALSE(Checked(IDC_WALK));
    EXPECT_TRUE(Checked(IDC_RUN));
    EXPECT_TRUE(Checked(IDC_LEFT));  // its own WS_GROUP run
    EXPECT_FALSE(Checked(IDC_RIGHT));
}

TEST_F(Panel, DisabledControlsAndWrongKindsAreRefused) {
    EXPECT_FALSE(qv::ui::Press(panel, "Locked", error));
    EXPECT_EQ(error, "control #310 \"Locked\" in dialog \"\" (300) is disabled");
    EXPECT_TRUE(commands.empty());
    EnableWindow(GetDlgItem(panel, IDC_LOCKED), TRUE);
    EXPECT_TRUE(qv::ui::Press(panel, "Locked", error)) << error;
    EnableWindow(GetDlgItem(panel, IDC_LOOPS), FALSE);
    EXPECT_FALSE(qv::ui::Type(panel, "Num Loops:", "3", false, error));
    EXPECT_NE(error.find("is disabled"), std::string::npos);
    EXPECT_FALSE(qv::ui::Type(panel, "Transform", "1", false, error));
    EXPECT_EQ(error, "control #312 \"Transform\" in dialog \"\" (300) is not an edit");
}

TEST_F(Panel, TypeLeavesTheFieldOrPressesEnterWhileItHasTheFocus) {
    ASSERT_TRUE(qv::ui::Type(panel, "Num Loops:", "-3x5", false, error)) << error;
    EXPECT_EQ(Text(IDC_LOOPS), "35");  // a number edit keeps only digits
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].id, IDC_LOOPS);
    EXPECT_EQ(commands[0].code, EN_KILLFOCUS);
    EXPECT_EQ(GetFocus(), nullptr);
    ASSERT_TRUE(qv::ui::Type(panel, "Height:", "-3x5", true, error)) << error;
    EXPECT_EQ(Text(IDC_HEIGHT), "-3x5");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[1].id, IDOK);
    EXPECT_EQ(commands[1].focus, GetDlgItem(panel, IDC_HEIGHT));
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_HEIGHT);
    // Clicking elsewhere afterwards is leaving the field.
    ASSERT_TRUE(qv::ui::Press(panel, "Transform", error));
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[2].id, IDC_HEIGHT);
    EXPECT_EQ(commands[2].code, EN_KILLFOCUS);
    EXPECT_EQ(commands[3].id, IDC_TRANSFORM);
}

TEST_F(Panel, ChooseSelectsTheItemAndNotifiesSelectionChange) {
    HWND combo = GetDlgItem(panel, IDC_TARGET);
    const char* names[] = {"Bip01", "Bip01 Pelvis", "Bip01 L Hand"};
    for (int slot = 0; slot < 3; ++slot) {
        LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[slot]));
        SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), slot * 10);
    }
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

}  // namespace
