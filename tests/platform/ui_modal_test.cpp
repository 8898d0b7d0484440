// Modal windows driven by a queue driver: module dialogs built from the embedded script and run
// until the procedure ends them, cancelled and reported when the driver has nothing fitting;
// and message boxes.
#include "ui_support.h"

namespace {

using namespace uitest;

// What the options dialog's procedure saw and decided.
struct OptionsState {
    bool spine = true, head = false, manual = false, cancelled = false;
    bool ignoreCancel = false;
    int activeIdAtInit = 0;
    HWND activeAtInit = nullptr;
};

INT_PTR CALLBACK OptionsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* s = reinterpret_cast<OptionsState*>(lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        CheckDlgButton(dlg, IDC_SPINE, s->spine ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dlg, IDC_HEAD, s->head ? BST_CHECKED : BST_UNCHECKED);
        s->activeAtInit = GetActiveWindow();
        s->activeIdAtInit = qv::ui::DialogId(s->activeAtInit);
        return TRUE;
    }
    auto* s = reinterpret_cast<OptionsState*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (msg != WM_COMMAND || !s) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_MANUAL:  // a plain check box: the procedure sets it
        CheckDlgButton(dlg, IDC_MANUAL, IsDlgButtonChecked(dlg, IDC_MANUAL) ? 0 : 1);
        return TRUE;
    case IDOK:
        s->spine = IsDlgButtonChecked(dlg, IDC_SPINE) == BST_CHECKED;
        s->head = IsDlgButtonChecked(dlg, IDC_HEAD) == BST_CHECKED;
        s->manual = IsDlgButtonChecked(dlg, IDC_MANUAL) == BST_CHECKED;
        EndDialog(dlg, 1);
        return TRUE;
    case IDCANCEL:
        s->cancelled = true;
        if (!s->ignoreCancel) EndDialog(dlg, 0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR RunOptions(OptionsState& s) {
    return DialogBoxParamA(TestModule(), MAKEINTRESOURCE(IDD_OPTIONS), qv::ui::MainWindow(),
                           OptionsProc, reinterpret_cast<LPARAM>(&s));
}

using Modal = UiTest;

TEST_F(Modal, DrivenToItsEndByTheQueue) {
    for (const char* control : {"Spine", "Head", "Manual", "OK"}) driver.Push(Press(control));
    OptionsState s;
    EXPECT_EQ(RunOptions(s), 1);
    EXPECT_FALSE(s.spine);  // ticked at init, cleared by the press
    EXPECT_TRUE(s.head);
    EXPECT_TRUE(s.manual);  // plain check box: set by the procedure on its notification
    EXPECT_FALSE(s.cancelled);
    EXPECT_EQ(qv::ui::TakeError(), "");
    ASSERT_EQ(driver.seen.size(), 4u);
    EXPECT_EQ(driver.seen[0].kind, qv::ui::Modal::Kind::Dialog);
    EXPECT_EQ(driver.seen[0].title, "Options");
    EXPECT_EQ(driver.seen[0].window, s.activeAtInit);  // the dialog being driven
    // The open dialog is the active window until it ends; then its handle no longer answers.
    EXPECT_NE(s.activeAtInit, qv::ui::MainWindow());
    EXPECT_EQ(s.activeIdAtInit, IDD_OPTIONS);
    EXPECT_EQ(GetActiveWindow(), qv::ui::MainWindow());
    EXPECT_EQ(GetDlgItem(s.activeAtInit, IDC_SPINE), nullptr);
}

TEST_F(Modal, WithoutAFittingActionItIsCancelledAndReported) {
    qv::ui::Action neck = Press("Neck");
    neck.where = "pose.qvs:7";
    const std::string leftOpen = "dialog \"Options\" (200) left open";
    struct Case {
        std::vector<qv::ui::Action> actions;
        bool ignoreCancel, noDriver;
        std::string error;
        size_t left;  // actions not taken
    };
    const Case cases[] = {
        {{Press("Head")}, false, false, leftOpen, 0},  // the queue runs out
        {{}, true, false, leftOpen, 0},                // a procedure ignoring the cancel is ended
        {{}, false, true, leftOpen, 0},                // no driver at all
        {{neck, Press("OK")}, false, false,
         "pose.qvs:7: no control \"Neck\" in dialog \"Options\" (200)", 1},
        {{Answer("yes")}, false, false, "\"answer\" does not fit dialog \"Options\" (200)", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        qv::ui::QueueDriver queue;
        for (const auto& a : c.actions) queue.Push(a);
        qv::ui::SetDriver(c.noDriver ? nullptr : &queue);
        OptionsState s;
        s.ignoreCancel = c.ignoreCancel;
        EXPECT_EQ(RunOptions(s), 0);
        EXPECT_TRUE(s.cancelled);
        EXPECT_FALSE(s.head);  // OK never pressed: nothing read back
        EXPECT_EQ(qv::ui::TakeError(), c.error);
        EXPECT_EQ(queue.Remaining(), c.left);
        qv::ui::SetDriver(&driver);
    }
    OptionsState s;  // a dialog the module does not have
    EXPECT_EQ(DialogBoxParamA(TestModule(), MAKEINTRESOURCE(999), nullptr, OptionsProc,
                              reinterpret_cast<LPARAM>(&s)), -1);
    EXPECT_EQ(qv::ui::TakeError(), "the module has no dialog 999");
}

// A message box is logged and kept; an answer picks the button of the box type; without a
// fitting answer it is an error and the box returns its cancel-like button.
TEST_F(Modal, MessageBoxesTakeFittingAnswersAndAreLogged) {
    for (const char* word : {"yes", "no", "cancel", "ok"}) driver.Push(Answer(word));
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Biped", MB_YESNO), IDYES);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "message: [Biped] Save?\n");
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Biped", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Biped", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "Done", "Biped", MB_OK | MB_ICONWARNING), IDOK);
    EXPECT_EQ(qv::ui::TakeError(), "");
    EXPECT_EQ(driver.seen.at(0).kind, qv::ui::Modal::Kind::MessageBox);
    EXPECT_EQ(driver.seen[0].title, "Biped");
    ASSERT_EQ(qv::ui::Messages().size(), 4u);
    EXPECT_EQ(qv::ui::Messages()[3].caption, "Biped");
    EXPECT_EQ(qv::ui::Messages()[3].text, "Done");
    EXPECT_EQ(MessageBoxA(nullptr, "Overwrite?", "Biped", MB_YESNO), IDNO);
    EXPECT_EQ(qv::ui::TakeError(), "message \"Overwrite?\" not answered");
    EXPECT_EQ(MessageBoxA(nullptr, "Go on?", "Biped", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "Keep?", "Biped", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(qv::ui::Messages().size(), 7u);  // shown even though nobody answered
    qv::ui::Action yes = Answer("yes");
    yes.where = "s.qvs:3";
    driver.Push(yes);
    qv::ui::TakeError();
    EXPECT_EQ(MessageBoxA(nullptr, "Done", "Biped", MB_OK), IDOK);
    EXPECT_EQ(qv::ui::TakeError(), "s.qvs:3: answer \"yes\" does not fit message \"Done\" (ok)");
    driver.Push(Press("OK"));
    EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Biped", MB_YESNO), IDNO);
    EXPECT_NE(qv::ui::TakeError().find("does not fit message \"Sure?\""), std::string::npos);
}

}  // namespace
