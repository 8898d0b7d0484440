// The "Choose Hand" question, answered through the headless user-interface driver.
#include "Skeleton/Bip/BipHand.h"
#include "plugin_support.h"

namespace pt {
namespace {

using qv::ui::Action;
using qv::ui::Modal;

// Ticks of both boxes as the dialog showed them before one action.
struct Ticks {
    bool right = false, left = false;
    bool operator==(const Ticks&) const = default;
};

// Hands out queued actions and notes the boxes' state each time the dialog asks.
class RecordingDriver : public qv::ui::QueueDriver {
public:
    bool NextAction(const Modal& modal, Action& out) override {
        if (modal.kind == Modal::Kind::Dialog) {
            Ticks t;
            for (const auto& c : qv::ui::Controls(modal.window)) {
                if (c.id == kRightHandBox) t.right = c.checked;
                if (c.id == kLeftHandBox) t.left = c.checked;
            }
            before.push_back(t);
        }
        return QueueDriver::NextAction(modal, out);
    }
    std::vector<Ticks> before;  // one entry per action asked for by the dialog
};

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
    // Presses the controls in turn ("ok" answers a message box) and answers the hand chosen.
    int Ask(int allowBoth, const std::vector<std::string>& presses) {
        driver.before.clear();
        for (const std::string& p : presses) {
            Action a;
            a.kind = p == "ok" ? Action::Kind::Answer : Action::Kind::Press;
            (p == "ok" ? a.text : a.control) = p;
            driver.Push(a);
        }
        return tool.WhichHand(allowBoth);
    }
    RecordingDriver driver;
    cbipanim tool;
};

TEST_F(ChooseHand, OneHandOnlyKeepsTheLastTickedUnlessBothAreAllowed) {
    struct Case { int allowBoth; std::vector<std::string> presses; int hand; };
    const Case cases[] = {
        {0, {"Right Hand", "Left Hand", "OK"}, kHandLeft},
        {0, {"Left Hand", "Right Hand", "OK"}, kHandRight},
        {0, {"Left Hand", "Left Hand", "OK"}, kHandLeft},  // clicking the ticked box keeps it
        {1, {"Right Hand", "Left Hand", "OK"}, kHandBoth},
        {1, {"Right Hand", "Left Hand", "Right Hand", "OK"}, kHandLeft},
        {1, {"Right Hand", "Cancel"}, kHandNone},
    };
    for (const Case& c : cases) EXPECT_EQ(Ask(c.allowBoth, c.presses), c.hand) << c.presses.size();
    EXPECT_EQ(kHandBoth, 115);
    EXPECT_TRUE(qv::ui::Messages().empty());
    // The boxes as shown before each press: the one-hand case clears the other box; with both
    // allowed they toggle independently; every opening starts with both clear.
    Ask(0, {"Right Hand", "Left Hand", "OK"});
    EXPECT_EQ(driver.before, (std::vector<Ticks>{{false, false}, {true, false}, {false, true}}));
    Ask(1, {"Right Hand", "Left Hand", "Right Hand", "OK"});
    EXPECT_EQ(driver.before,
              (std::vector<Ticks>{{false, false}, {true, false}, {true, true}, {false, true}}));
}

TEST_F(ChooseHand, OkWithNoHandWarnsAndStaysOpen) {
    EXPECT_EQ(Ask(0, {"OK", "ok", "Cancel"}), kHandNone);
    ASSERT_EQ(qv::ui::Messages().size(), 1u);
    EXPECT_EQ(qv::ui::Messages()[0].caption, "Biped");
    EXPECT_EQ(qv::ui::Messages()[0].text, "Must select a hand first\nelse press Cancel");
    // Dialog, message box, and the dialog again for the Cancel.
    ASSERT_EQ(driver.seen.size(), 3u);
    EXPECT_EQ(driver.seen[0].kind, Modal::Kind::Dialog);
    EXPECT_EQ(driver.seen[0].title, "Choose Hand");
    EXPECT_EQ(driver.seen[1].kind, Modal::Kind::MessageBox);
    EXPECT_EQ(driver.seen[2].kind, Modal::Kind::Dialog);
    EXPECT_EQ(Ask(1, {"OK", "ok", "Right Hand", "OK"}), kHandRight);  // OK after the warning
}

}  // namespace
}  // namespace pt
