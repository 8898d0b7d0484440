// The "Choose Hand" question, answered through the headless user-interface driver.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Skeleton/BipAnim.h"
#include "Skeleton/BipHand.h"
#include "qvplatform/ui.h"

namespace {

using qv::ui::Action;
using qv::ui::Modal;

// Ticks of both boxes as the dialog showed them before one action.
struct Ticks {
    bool right = false;
    bool left = false;
};

// Hands out queued actions and notes the boxes' state each time the dialog asks.
class RecordingDriver : public qv::ui::QueueDriver {
public:
    bool NextAction(const Modal& modal, Action& out) override {
        if (modal.kind == Modal::Kind::Dialog) before.push_back(Read(modal.window));
        return QueueDriver::NextAction(modal, out);
    }
    std::vector<Ticks> before;  // one entry per action asked for by the dialog

private:
    static Ticks Read(HWND dlg) {
        Ticks t;
        for (const auto& c : qv::ui::Controls(dlg)) {
            if (c.id == kRightHandBox) t.right = c.checked;
            if (c.id == kLeftHandBox) t.left = c.checked;
        }
        return t;
    }
};

Action Press(const std::string& control) {
    Action a;
    a.kind = Action::Kind::Press;
    a.control = control;
    return a;
}

Action Answer(const std::string& reply) {
    Action a;
    a.kind = Action::Kind::Answer;
    a.text = reply;
    return a;
}

class ChooseHand : public testing::Test {
protected:
    void SetUp() override {
        qv::ui::SetDriver(&driver);
        qv::ui::ClearMessages();
        qv::ui::TakeError();
    }
    void TearDown() override {
        qv::ui::SetDriver(nullptr);
        EXPECT_EQ(driver.Remaining(), 0u) << "actions left unused";
        EXPECT_EQ(qv::ui::TakeError(), "");
    }
    int Ask(int allowBoth, const std::vector<Action>& actions) {
        for (const auto& a : actions) driver.Push(a);
        return tool.WhichHand(allowBoth);
    }
    RecordingDriver driver;
    cbipanim tool;
};

TEST_F(ChooseHand, OneHandOnlyKeepsTheLastTicked) {
    EXPECT_EQ(Ask(0, {Press("Right Hand"), Press("Left Hand"), Press("OK")}), kHandLeft);
    ASSERT_EQ(driver.before.size(), 3u);
    EXPECT_TRUE(driver.before[1].right);
    EXPECT_FALSE(driver.before[1].left);
    EXPECT_FALSE(driver.before[2].right);
    EXPECT_TRUE(driver.before[2].left);
}

TEST_F(ChooseHand, OneHandOnlyRightGivesFortyEight) {
    EXPECT_EQ(Ask(0, {Press("Left Hand"), Press("Right Hand"), Press("OK")}), kHandRight);
}

TEST_F(ChooseHand, ClickingTheTickedBoxKeepsItWhenOneHandOnly) {
    EXPECT_EQ(Ask(0, {Press("Left Hand"), Press("Left Hand"), Press("OK")}), kHandLeft);
}

TEST_F(ChooseHand, BothHandsWhenAllowed) {
    EXPECT_EQ(Ask(1, {Press("Right Hand"), Press("Left Hand"), Press("OK")}), kHandBoth);
    EXPECT_EQ(kHandBoth, 115);
}

TEST_F(ChooseHand, BoxesToggleIndependentlyWhenBothAllowed) {
    EXPECT_EQ(Ask(1, {Press("Right Hand"), Press("Left Hand"), Press("Right Hand"), Press("OK")}),
              kHandLeft);
    ASSERT_EQ(driver.before.size(), 4u);
    EXPECT_TRUE(driver.before[2].right);
    EXPECT_TRUE(driver.before[2].left);
}

TEST_F(ChooseHand, OkWithNoHandWarnsAndStaysOpen) {
    EXPECT_EQ(Ask(0, {Press("OK"), Answer("ok"), Press("Cancel")}), kHandNone);
    ASSERT_EQ(qv::ui::Messages().size(), 1u);
    EXPECT_EQ(qv::ui::Messages()[0].caption, "Biped");
    EXPECT_EQ(qv::ui::Messages()[0].text, "Must select a hand first\nelse press Cancel");
    // Dialog, message box, and the dialog again for the Cancel.
    ASSERT_EQ(driver.seen.size(), 3u);
    EXPECT_EQ(driver.seen[0].kind, Modal::Kind::Dialog);
    EXPECT_EQ(driver.seen[0].title, "Choose Hand");
    EXPECT_EQ(driver.seen[1].kind, Modal::Kind::MessageBox);
    EXPECT_EQ(driver.seen[2].kind, Modal::Kind::Dialog);
}

TEST_F(ChooseHand, OkAfterTheWarningStillAccepts) {
    EXPECT_EQ(Ask(1, {Press("OK"), Answer("ok"), Press("Right Hand"), Press("OK")}), kHandRight);
}

TEST_F(ChooseHand, CancelGivesNone) {
    EXPECT_EQ(Ask(1, {Press("Right Hand"), Press("Cancel")}), kHandNone);
    EXPECT_TRUE(qv::ui::Messages().empty());
}

TEST_F(ChooseHand, OpensWithBothBoxesClearEveryTime) {
    EXPECT_EQ(Ask(1, {Press("Right Hand"), Press("Left Hand"), Press("OK")}), kHandBoth);
    driver.before.clear();
    EXPECT_EQ(Ask(1, {Press("Cancel")}), kHandNone);
    ASSERT_EQ(driver.before.size(), 1u);
    EXPECT_FALSE(driver.before[0].right);
    EXPECT_FALSE(driver.before[0].left);
}

}  // namespace
