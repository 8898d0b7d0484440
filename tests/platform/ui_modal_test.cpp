// Modal dialogs driven by a queue driver: built from the embedded script, run until the
// procedure ends them, cancelled and reported when the driver has nothing fitting.
#include "ui_support.h"

namespace {

using namespace uitest;

// What the options dialog's procedure saw and decided.
struct OptionsState {
    bool spine = true;
    bool head = false;
    bool manual = false;
    bool cancelled = false;
    bool ignoreCancel = false;
    bool askOnManual = false;  // "Manual" asks a yes/no question first
    int answer = 0;
    HWND activeAtInit = nullptr;
    int activeIdAtInit = 0;
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
        if (s->askOnManual) s->answer = MessageBoxA(dlg, "Tick it?", "Options", MB_YESNO);
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

class Modal : public UiTest {};

TEST_F(Modal, DrivenToItsEndByTheQueue) {
    driver.Push(Press("Spine"));
    driver.Push(Press("Head"));
    driver.Push(Press("Manual"));
    driver.Push(Press("OK"));
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
}

TEST_F(Modal, OpenDialogIsTheActiveWindowUntilItEnds) {
    driver.Push(Press("OK"));
    OptionsState s;
    RunOptions(s);
    EXPECT_NE(s.activeAtInit, qv::ui::MainWindow());
    EXPECT_EQ(s.activeIdAtInit, IDD_OPTIONS);
    EXPECT_EQ(GetActiveWindow(), qv::ui::MainWindow());
    // The dialog is gone: its handle no longer answers.
    EXPECT_EQ(GetDlgItem(s.activeAtInit, IDC_SPINE), nullptr);
}

TEST_F(Modal, ExhaustedDriverCancelsAndRecordsTheDialog) {
    driver.Push(Press("Head"));
    OptionsState s;
    EXPECT_EQ(RunOptions(s), 0);
    EXPECT_TRUE(s.cancelled);
    EXPECT_FALSE(s.head);  // OK never pressed: nothing read back
    EXPECT_EQ(qv::ui::TakeError(), "dialog \"Options\" (200) left open");
}

TEST_F(Modal, ProcedureThatIgnoresCancelIsEndedWithZero) {
    OptionsState s;
    s.ignoreCancel = true;
    EXPECT_EQ(RunOptions(s), 0);
    EXPECT_TRUE(s.cancelled);
    EXPECT_EQ(qv::ui::TakeError(), "dialog \"Options\" (200) left open");
}

TEST_F(Modal, NoDriverIsLikeAnExhaustedOne) {
    qv::ui::SetDriver(nullptr);
    OptionsState s;
    EXPECT_EQ(RunOptions(s), 0);
    EXPECT_TRUE(s.cancelled);
    EXPECT_EQ(qv::ui::TakeError(), "dialog \"Options\" (200) left open");
}

TEST_F(Modal, BadControlNameIsReportedWithItsPlaceAndCancels) {
    qv::ui::Action a = Press("Neck");
    a.where = "pose.qvs:7";
    driver.Push(a);
    driver.Push(Press("OK"));  // never reached: the dialog is cancelled
    OptionsState s;
    EXPECT_EQ(RunOptions(s), 0);
    EXPECT_TRUE(s.cancelled);
    EXPECT_EQ(qv::ui::TakeError(), "pose.qvs:7: no control \"Neck\" in dialog \"Options\" (200)");
    EXPECT_EQ(driver.Remaining(), 1u);
}

TEST_F(Modal, AnswerDoesNotFitADialog) {
    driver.Push(Answer("yes"));
    OptionsState s;
    EXPECT_EQ(RunOptions(s), 0);
    EXPECT_EQ(qv::ui::TakeError(), "\"answer\" does not fit dialog \"Options\" (200)");
}

TEST_F(Modal, MessageBoxOpenedInsideADialogTakesTheNextAction) {
    driver.Push(Press("Manual"));
    driver.Push(Answer("yes"));
    driver.Push(Press("OK"));
    OptionsState s;
    s.askOnManual = true;
    EXPECT_EQ(RunOptions(s), 1);
    EXPECT_EQ(s.answer, IDYES);
    EXPECT_TRUE(s.manual);
    ASSERT_EQ(driver.seen.size(), 3u);
    EXPECT_EQ(driver.seen[1].kind, qv::ui::Modal::Kind::MessageBox);
    EXPECT_EQ(driver.seen[1].text, "Tick it?");
    EXPECT_EQ(driver.seen[2].kind, qv::ui::Modal::Kind::Dialog);
}

TEST_F(Modal, UnknownDialogAnswersMinusOneWithAnError) {
    OptionsState s;
    EXPECT_EQ(DialogBoxParamA(TestModule(), MAKEINTRESOURCE(999), nullptr, OptionsProc,
                              reinterpret_cast<LPARAM>(&s)),
              -1);
    EXPECT_EQ(qv::ui::TakeError(), "the module has no dialog 999");
    EXPECT_TRUE(driver.seen.empty());
}

}  // namespace
