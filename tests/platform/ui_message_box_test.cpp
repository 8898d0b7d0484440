// Message boxes: the log line, the driver's answers and what an unanswered box returns.
#include "ui_support.h"

namespace {

using namespace uitest;

class MessageBoxes : public UiTest {};

TEST_F(MessageBoxes, AnswerPicksTheButtonOfTheBoxType) {
    driver.Push(Answer("yes"));
    driver.Push(Answer("no"));
    driver.Push(Answer("cancel"));
    driver.Push(Answer("ok"));
    driver.Push(Answer("cancel"));
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Biped", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Biped", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Biped", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "Done", "Biped", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Go on?", "Biped", MB_OKCANCEL | MB_ICONQUESTION), IDCANCEL);
    EXPECT_EQ(qv::ui::TakeError(), "");
}

TEST_F(MessageBoxes, PrintsTheLogLineAndKeepsTheMessage) {
    driver.Push(Answer("ok"));
    testing::internal::CaptureStderr();
    MessageBoxA(nullptr, "Cannot delete key at frame 0!", "Biped", MB_OK | MB_ICONWARNING);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "message: [Biped] Cannot delete key at frame 0!\n");
    ASSERT_EQ(qv::ui::Messages().size(), 1u);
    EXPECT_EQ(qv::ui::Messages()[0].caption, "Biped");
    EXPECT_EQ(qv::ui::Messages()[0].text, "Cannot delete key at frame 0!");
    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].kind, qv::ui::Modal::Kind::MessageBox);
    EXPECT_EQ(driver.seen[0].title, "Biped");
}

TEST_F(MessageBoxes, UnansweredBoxRecordsAnErrorAndReturnsItsCancelLikeButton) {
    EXPECT_EQ(MessageBoxA(nullptr, "Overwrite?", "Biped", MB_YESNO), IDNO);
    EXPECT_EQ(qv::ui::TakeError(), "message \"Overwrite?\" not answered");
    EXPECT_EQ(MessageBoxA(nullptr, "Done", "Biped", MB_OK), IDOK);
    EXPECT_EQ(qv::ui::TakeError(), "message \"Done\" not answered");
    EXPECT_EQ(MessageBoxA(nullptr, "Go on?", "Biped", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "Keep?", "Biped", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(qv::ui::Messages().size(), 4u);  // shown even though nobody answered
}

TEST_F(MessageBoxes, AnswerThatIsNotOneOfItsButtonsIsAnError) {
    qv::ui::Action a = Answer("yes");
    a.where = "s.qvs:3";
    driver.Push(a);
    EXPECT_EQ(MessageBoxA(nullptr, "Done", "Biped", MB_OK), IDOK);
    EXPECT_EQ(qv::ui::TakeError(), "s.qvs:3: answer \"yes\" does not fit message \"Done\" (ok)");
}

TEST_F(MessageBoxes, PressIsNotAnAnswer) {
    driver.Push(Press("OK"));
    EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Biped", MB_YESNO), IDNO);
    EXPECT_NE(qv::ui::TakeError().find("does not fit message \"Sure?\""), std::string::npos);
}

}  // namespace
