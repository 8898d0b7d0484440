// The host's own modal windows: the colour picker and the node list; and message boxes.
#include "ui_support.h"

namespace {

using namespace uitest;

using HostDialogs = UiTest;

TEST_F(HostDialogs, ColourPickerStartsFromTheColourAndReturnsTheTypedChannels) {
    driver.Push(Type("Blue:", "300", false));  // beyond 255: the top of the range
    driver.Push(Type("Green:", "0", true));    // Enter is OK
    unsigned long rgb = RGB(10, 20, 30);
    ASSERT_TRUE(qv::ui::PickColour(qv::ui::MainWindow(), rgb));
    EXPECT_EQ(rgb, RGB(10, 0, 255));
    EXPECT_EQ(driver.seen.at(0).kind, qv::ui::Modal::Kind::ColourPicker);
    EXPECT_EQ(driver.seen[0].title, "Color");
    driver.Push(Type("Red:", "0", false));
    driver.Push(Press("Cancel"));
    EXPECT_FALSE(qv::ui::PickColour(nullptr, rgb));
    EXPECT_EQ(rgb, RGB(10, 0, 255));
    EXPECT_EQ(qv::ui::TakeError(), "");
}

TEST_F(HostDialogs, NodeListAnswersTheChosenIndexOrMinusOne) {
    driver.Push(Choose("Nodes", "Bip01 R Hand"));
    driver.Push(Press("Pick"));
    EXPECT_EQ(qv::ui::PickFromList("Pick Object", "Pick", {"Bip01", "Bip01 L Hand", "Bip01 R Hand"}),
              2);
    EXPECT_EQ(driver.seen.at(0).kind, qv::ui::Modal::Kind::NodeList);
    EXPECT_EQ(driver.seen[0].title, "Pick Object");
    driver.Push(Press("Cancel"));
    EXPECT_EQ(qv::ui::PickFromList("Select", "Select", {"A", "B"}), -1);
    EXPECT_EQ(qv::ui::TakeError(), "");
    EXPECT_EQ(qv::ui::PickFromList("Select", "Select", {"A", "B"}), -1);
    EXPECT_EQ(qv::ui::TakeError(), "dialog \"Select\" (9002) left open");
}

TEST_F(HostDialogs, MessageBoxAnswersPickTheButtonOfTheBoxType) {
    for (const char* word : {"yes", "no", "cancel", "ok", "cancel"}) driver.Push(Answer(word));
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Biped", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Biped", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Biped", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "Done", "Biped", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Go on?", "Biped", MB_OKCANCEL | MB_ICONQUESTION), IDCANCEL);
    EXPECT_EQ(qv::ui::TakeError(), "");
}

TEST_F(HostDialogs, MessageBoxPrintsTheLogLineAndKeepsTheMessage) {
    driver.Push(Answer("ok"));
    testing::internal::CaptureStderr();
    MessageBoxA(nullptr, "Cannot delete key at frame 0!", "Biped", MB_OK | MB_ICONWARNING);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "message: [Biped] Cannot delete key at frame 0!\n");
    ASSERT_EQ(qv::ui::Messages().size(), 1u);
    EXPECT_EQ(qv::ui::Messages()[0].caption, "Biped");
    EXPECT_EQ(qv::ui::Messages()[0].text, "Cannot delete key at frame 0!");
    EXPECT_EQ(driver.seen.at(0).kind, qv::ui::Modal::Kind::MessageBox);
    EXPECT_EQ(driver.seen[0].title, "Biped");
}

TEST_F(HostDialogs, UnansweredOrMisansweredBoxIsAnErrorAndReturnsItsCancelLikeButton) {
    EXPECT_EQ(MessageBoxA(nullptr, "Overwrite?", "Biped", MB_YESNO), IDNO);
    EXPECT_EQ(qv::ui::TakeError(), "message \"Overwrite?\" not answered");
    EXPECT_EQ(MessageBoxA(nullptr, "Done", "Biped", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Go on?", "Biped", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "Keep?", "Biped", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(qv::ui::Messages().size(), 4u);  // shown even though nobody answered
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
