// The modify panel driven as a person would: exclusive transform modes, anchor boxes, colours
// read from and written to the bound biped, walk/run options kept in range, and the check
// boxes that must keep one of them on.
#include "modify_panel_fixture.h"

namespace pt {
namespace {

TEST_F(ModifyPanel, TransformModesExcludeEachOther) {
    OpenOn("Bip01 R Forearm");
    const int kModes[] = {IDC_PANEL_ANIM_TRANSFORM, IDC_PANEL_SYM_ROTATION, IDC_PANEL_OPP_ROTATION};
    const int* fields[] = {&bipani.animTransform, &bipani.symRotation, &bipani.oppRotation};
    for (int on = 0; on < 3; ++on) {
        Press(kModes[on]);
        for (int m = 0; m < 3; ++m) {
            EXPECT_EQ(*fields[m], m == on ? 1 : 0) << "after pressing " << kModes[on];
            EXPECT_EQ(Checked(kModes[m]), m == on) << "after pressing " << kModes[on];
        }
    }
    Press(IDC_PANEL_OPP_ROTATION);  // and off again: no mode at all
    EXPECT_EQ(bipani.oppRotation + bipani.symRotation + bipani.animTransform, 0);
    EXPECT_FALSE(Checked(IDC_PANEL_OPP_ROTATION));
}

TEST_F(ModifyPanel, ModesAndAnchorsShowTheToolsStateAndNeedTheirBones) {
    Node("Bip01 L Hand")->DeleteThis();
    ASSERT_EQ(Open(Node("Bip01 R Hand")), 1);
    bipani.symRotation = 1;
    bipani.anchorOn[1] = 1;
    bipani.keepBinding = 1;  // the panel reopens on a click within the biped
    OpenOn("Bip01 L Thigh");
    EXPECT_TRUE(Checked(IDC_PANEL_SYM_ROTATION));
    EXPECT_FALSE(Checked(IDC_PANEL_ANIM_TRANSFORM));
    EXPECT_TRUE(Checked(IDC_PANEL_ANCHOR_L_FOOT));
    EXPECT_FALSE(Checked(IDC_PANEL_ANCHOR_R_FOOT));
    qv::ui::DestroyPanel(panel);
    OpenOn("Bip01 Spine1");  // mirror modes need a bone with a mirror
    EXPECT_FALSE(Enabled(IDC_PANEL_SYM_ROTATION));
    EXPECT_FALSE(Enabled(IDC_PANEL_OPP_ROTATION));
    EXPECT_TRUE(Enabled(IDC_PANEL_ANIM_TRANSFORM));
    EXPECT_FALSE(Enabled(IDC_PANEL_ANCHOR_L_HAND));  // its hand is missing
    for (int id : {IDC_PANEL_ANCHOR_R_HAND, IDC_PANEL_ANCHOR_R_FOOT, IDC_PANEL_ANCHOR_L_FOOT})
        EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(ModifyPanel, AnchorHoldsTheFootWhereItIsWhenSwitchedOn) {
    OpenOn("Bip01 Pelvis");
    const cpoint3 footNow = Node("Bip01 R Foot")->GetPosition(0);
    Press(IDC_PANEL_ANCHOR_R_FOOT);
    EXPECT_EQ(bipani.anchorOn[0], 1);
    EXPECT_TRUE(Checked(IDC_PANEL_ANCHOR_R_FOOT));
    EXPECT_TRUE(PointNear(bipani.anchorPos[0], footNow, 0.0f));
    Press(IDC_PANEL_ANCHOR_R_FOOT);
    EXPECT_EQ(bipani.anchorOn[0], 0);
    EXPECT_FALSE(Checked(IDC_PANEL_ANCHOR_R_FOOT));
}

// The side colours are read from the bound biped (the left from its calf when the thigh is gone),
// picked (the left bones only, the tool told; a cancelled picker changes nothing) and reset by
// the defaults buttons.
TEST_F(ModifyPanel, ColoursAreReadFromTheBipedPickedAndReset) {
    Node("Bip01 R Thigh")->SetColor({1.0f, 0.0f, 0.0f, 1.0f});
    Node("Bip01 L Thigh")->DeleteThis();
    Node("Bip01 L Calf")->SetColor({0.4f, 0.4f, 0.4f, 1.0f});
    OpenOn("Bip01 Head");
    EXPECT_TRUE(SameColour(rightColour, {1.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_TRUE(SameColour(leftColour, {0.4f, 0.4f, 0.4f, 1.0f}));
    EXPECT_EQ(SwatchColour(IDC_PANEL_RIGHT_COLOUR), 0x0000FFul);  // red as 0x00BBGGRR
    EXPECT_EQ(SwatchColour(IDC_PANEL_LEFT_COLOUR), 0x666666ul);   // (int)(0.4 × 255) = 102
    const ccolor spine = Node("Bip01 Spine")->GetColor();
    QueuePicker({"0", "255"}, false);
    events.clear();
    Press(IDC_PANEL_RIGHT_COLOUR);
    EXPECT_TRUE(SameColour(rightColour, {1.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_TRUE(events.empty());
    QueuePicker({"255", "128", "0"});
    Press(IDC_PANEL_LEFT_COLOUR);
    const ccolor picked{255 * 0.003921569f, 128.0f / 255.0f, 0.0f, 1.0f};
    EXPECT_TRUE(SameColour(leftColour, picked));
    for (const char* name :
         {"Bip01 L Calf", "Bip01 L Toe42", "Bip01 L Clavicle", "Bip01 L Finger42"})
        EXPECT_TRUE(SameColour(Node(name)->GetColor(), picked)) << name;
    EXPECT_TRUE(SameColour(Node("Bip01 R Thigh")->GetColor(), {1.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_TRUE(SameColour(Node("Bip01 Spine")->GetColor(), spine))
        << "a centre bone was recoloured";
    EXPECT_EQ(events, std::vector<unsigned long>{QV_EVENT_NODE_COLOUR});
    EXPECT_EQ(SwatchColour(IDC_PANEL_LEFT_COLOUR), 0x0080FFul);
    Press(IDC_PANEL_BIPED_DEFAULTS);
    EXPECT_TRUE(SameColour(Node("Bip01 R Foot")->GetColor(), {0.0f, 1.0f, 0.0f, 1.0f}));
    EXPECT_TRUE(SameColour(Node("Bip01 L Finger0")->GetColor(), {0.0f, 0.0f, 1.0f, 1.0f}));
    EXPECT_EQ(SwatchColour(IDC_PANEL_LEFT_COLOUR), 0xFF0000ul);
    const ccolor host = cbone().GetColor();
    Press(IDC_PANEL_QUORVANE_DEFAULTS);
    for (const ccolor& c : {leftColour, rightColour, Node("Bip01 R Foot")->GetColor(),
                            Node("Bip01 L Foot")->GetColor()})
        EXPECT_TRUE(SameColour(c, host));
}

// Loops are kept within 1..100; the symmetric posture keeps one component on; the align list
// holds the bones in slot order.
TEST_F(ModifyPanel, OptionsKeepTheirRules) {
    OpenOn("Bip01 Head");
    for (const auto& [text, loops] : {std::pair{"0", 1}, {"250", 100}, {"seven", 100}, {"7", 7}}) {
        Type(Id(IDC_PANEL_NUM_LOOPS), text);
        EXPECT_EQ(bipani.numLoops, loops) << text;
        EXPECT_EQ(Control(IDC_PANEL_NUM_LOOPS).text, std::to_string(loops)) << text;
    }
    for (int id : {IDC_PANEL_SYM_POS, IDC_PANEL_SYM_SCALE, IDC_PANEL_SYM_ROT}) Press(id);
    EXPECT_FALSE(Checked(IDC_PANEL_SYM_POS));
    EXPECT_FALSE(Checked(IDC_PANEL_SYM_SCALE));
    EXPECT_TRUE(Checked(IDC_PANEL_SYM_ROT));  // the last one on stays on
    const HWND combo = GetDlgItem(panel, IDC_PANEL_ALIGN_BONE);
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(count, ExpectedBoneCount({}));
    for (int i = 0, previous = -1; i < count; ++i) {
        const int slot = static_cast<int>(SendMessageA(combo, CB_GETITEMDATA, i, 0));
        ASSERT_GT(slot, previous) << "item " << i;
        char text[128] = {};
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(text, FullName(slot));
        previous = slot;
    }
}

}  // namespace
}  // namespace pt
