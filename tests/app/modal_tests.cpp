// Modal windows answered by the script lines that follow the command opening them: message
// boxes, a module dialog and file dialogs; lines that do not fit the open window are errors.
#include <cstring>

#include <windows.h>

#include "module_loader.h"
#include "qvplatform/ui.h"
#include "script_parser.h"
#include "session_fixture.h"

namespace qvapp::test {
namespace {

constexpr int kChooseHandDialog = 105;  // the module's "Choose Hand" dialog
constexpr int kRightHandBox = 1082;     // its "Right Hand" check box
constexpr int kLeftHandBox = 1083;      // its "Left Hand" check box

class ModalWindows : public SessionTest {
protected:
    // A runner whose queued lines answer the modal windows the test opens itself.
    std::unique_ptr<ScriptRunner> Answering(const std::string& lines) {
        RunOptions options;
        options.scriptName = "answers.qvs";
        options.outDir = dir_;
        auto runner = std::make_unique<ScriptRunner>(tools_, options);
        runner->Queue(ParseScript(lines));
        return runner;
    }
    // Opens the module's "Choose Hand" dialog with a procedure of this test.
    INT_PTR ChooseHand() {
        auto module = static_cast<HINSTANCE>(tools_.Modules().front()->handle);
        return DialogBoxParamA(module, MAKEINTRESOURCEA(kChooseHandDialog), nullptr,
                               ChooseHandProc, 0);
    }
    // Ends with 10 + (1 for the right hand) + (2 for the left hand) on OK, 0 on Cancel.
    static INT_PTR CALLBACK ChooseHandProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM);
};

TEST_F(ModalWindows, MessageBoxTakesTheAnswerFromTheNextLineOnly) {
    auto runner = Answering("answer no\nanswer yes\npress \"OK\"\n");
    EXPECT_EQ(MessageBoxA(nullptr, "Adjust?", "Biped", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Really?", "Biped", MB_YESNO), IDYES);
    EXPECT_EQ(qv::ui::TakeError(), "");
    ASSERT_EQ(qv::ui::Messages().size(), 2u);
    EXPECT_EQ(qv::ui::Messages()[0].text, "Adjust?");
    MessageBoxA(nullptr, "Can't open file!", "Biped", MB_OK);  // a press line does not answer
    std::string error = qv::ui::TakeError();
    EXPECT_EQ(error.rfind("answers.qvs:3: ", 0), 0u) << error;
    EXPECT_NE(error.find("Can't open file!"), std::string::npos) << error;
    EXPECT_EQ(runner->Remaining(), 1u);  // the line was not taken
}

// Ends with 10 + (1 for the right hand) + (2 for the left hand) on OK, 0 on Cancel.
INT_PTR CALLBACK ModalWindows::ChooseHandProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
        int hands = (IsDlgButtonChecked(dlg, kRightHandBox) ? 1 : 0) |
                    (IsDlgButtonChecked(dlg, kLeftHandBox) ? 2 : 0);
        EndDialog(dlg, 10 + hands);
        return TRUE;
    }
    if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dlg, 0);
        return TRUE;
    }
    return FALSE;
}

TEST_F(ModalWindows, DialogControlsArePressedByCaptionUntilTheDialogEnds) {
    auto runner = Answering("press \"Left Hand\"\npress \"OK\"\nbone \"After\"\n");
    EXPECT_EQ(ChooseHand(), 10 + 2);
    EXPECT_EQ(qv::ui::TakeError(), "");
    EXPECT_EQ(runner->Remaining(), 1u);  // the bone line is the script's, not the dialog's
    runner.reset();  // one runner answers at a time
    runner = Answering("press \"Both Hands\"\npress \"Cancel\"\n");
    ChooseHand();
    std::string error = qv::ui::TakeError();
    EXPECT_NE(error.find("answers.qvs:1"), std::string::npos) << error;
    EXPECT_NE(error.find("Both Hands"), std::string::npos) << error;
}

TEST_F(ModalWindows, FileDialogTakesAPathUnderTheOutputFolder) {
    auto runner = Answering("file \"take.bvh\"\nfile cancel\n");
    char name[512] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    ofn.lpstrTitle = "Save BVH";
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(std::string(name), (dir_ / "take.bvh").string());
    name[0] = '\0';
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(qv::ui::TakeError(), "");
}

TEST_F(ModalWindows, AnswerOutsideAnyModalWindowIsAScriptError) {
    EXPECT_EQ(Run("bone \"A\"\nanswer yes\n"), 1);
    EXPECT_EQ(Error().rfind("test.qvs:2: answer:", 0), 0u) << Error();
    EXPECT_EQ(Run("file \"x.bpd\"\n"), 1);
    EXPECT_EQ(Run("press \"OK\"\n"), 1);  // no panel open either
    EXPECT_NE(Error().find("no panel"), std::string::npos) << Error();
}

}  // namespace
}  // namespace qvapp::test
