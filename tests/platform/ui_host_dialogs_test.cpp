// The host's own modal windows: the colour picker and the node list.
#include "ui_support.h"

namespace {

using namespace uitest;

class HostDialogs : public UiTest {};

TEST_F(HostDialogs, ColourPickerReturnsTheTypedChannels) {
    driver.Push(Type("Red:", "255", false));
    driver.Push(Type("Green:", "128", false));
    driver.Push(Type("Blue:", "300", false));  // beyond 255: the top of the range
    driver.Push(Press("OK"));
    unsigned long rgb = RGB(1, 2, 3);
    ASSERT_TRUE(qv::ui::PickColour(qv::ui::MainWindow(), rgb));
    EXPECT_EQ(rgb, RGB(255, 128, 255));
    ASSERT_FALSE(driver.seen.empty());
    EXPECT_EQ(driver.seen[0].kind, qv::ui::Modal::Kind::ColourPicker);
    EXPECT_EQ(driver.seen[0].title, "Color");
}

TEST_F(HostDialogs, ColourPickerStartsFromTheGivenColour) {
    driver.Push(Type("Green:", "0", true));  // Enter is OK
    unsigned long rgb = RGB(10, 20, 30);
    ASSERT_TRUE(qv::ui::PickColour(nullptr, rgb));
    EXPECT_EQ(rgb, RGB(10, 0, 30));
}

TEST_F(HostDialogs, CancelledColourPickerKeepsTheColour) {
    driver.Push(Type("Red:", "0", false));
    driver.Push(Press("Cancel"));
    unsigned long rgb = RGB(10, 20, 30);
    EXPECT_FALSE(qv::ui::PickColour(nullptr, rgb));
    EXPECT_EQ(rgb, RGB(10, 20, 30));
    EXPECT_EQ(qv::ui::TakeError(), "");
}

TEST_F(HostDialogs, NodeListAnswersTheChosenIndex) {
    driver.Push(Choose("Nodes", "Bip01 R Hand"));
    driver.Push(Press("Pick"));
    int index = qv::ui::PickFromList("Pick Object", "Pick", {"Bip01", "Bip01 L Hand", "Bip01 R Hand"});
    EXPECT_EQ(index, 2);
    ASSERT_FALSE(driver.seen.empty());
    EXPECT_EQ(driver.seen[0].kind, qv::ui::Modal::Kind::NodeList);
    EXPECT_EQ(driver.seen[0].title, "Pick Object");
}

TEST_F(HostDialogs, NodeListCancelledOrLeftOpenAnswersMinusOne) {
    driver.Push(Press("Cancel"));
    EXPECT_EQ(qv::ui::PickFromList("Select", "Select", {"A", "B"}), -1);
    EXPECT_EQ(qv::ui::TakeError(), "");
    EXPECT_EQ(qv::ui::PickFromList("Select", "Select", {"A", "B"}), -1);
    EXPECT_EQ(qv::ui::TakeError(), "dialog \"Select\" (9002) left open");
}

}  // namespace
