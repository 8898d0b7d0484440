// The modify panel's posing groups pressed as a person would: the "Select Biped Bones"
// dialogs with their shared checks, the posture and animation commands, the limb copies and
// "Align" from its fields (the hand pose buttons are pressed from scripts).
#include "Skeleton/Bip/Posing/BipSelectBones.h"
#include "modify_panel_fixture.h"

namespace pt {
namespace {

using qv::ui::Modal;

// Hands out the queued answers and notes, each time a dialog asks, whether its controls are
// checked and enabled.
class RecordingDriver : public qv::ui::QueueDriver {
public:
    bool NextAction(const Modal& modal, qv::ui::Action& out) override {
        if (modal.kind == Modal::Kind::Dialog) shown.push_back(qv::ui::Controls(modal.window));
        return QueueDriver::NextAction(modal, out);
    }
    bool Checked(size_t i, int id) const { return Find(i, id).checked; }
    bool Enabled(size_t i, int id) const { return Find(i, id).enabled; }
    std::vector<std::vector<qv::ui::ControlInfo>> shown;

private:
    qv::ui::ControlInfo Find(size_t i, int id) const {
        for (const auto& c : shown.at(i))
            if (c.id == id) return c;
        ADD_FAILURE() << "no control " << id;
        return {};
    }
};

class PosingPanel : public ModifyPanel {
protected:
    void SetUp() override {
        ModifyPanel::SetUp();
        for (int& c : boneGroupChecks) c = 1;
        for (int& f : pastePosFlags) f = 1;
        OpenOn("Bip01 R Forearm");
    }
    void TearDown() override {
        for (int& c : boneGroupChecks) c = 1;
        for (int& f : pastePosFlags) f = 1;
        ModifyPanel::TearDown();
    }
    // Presses the panel button with the recording driver answering its dialog.
    void PressRecorded(int id, const std::vector<std::string>& answers) {
        qv::ui::SetDriver(&recorder);
        for (const std::string& a : answers) {
            qv::ui::Action act;
            act.control = a;
            recorder.Push(act);
        }
        Press(id);
        qv::ui::SetDriver(&driver);
        EXPECT_EQ(recorder.Remaining(), 0u);
    }
    int KeysAt(int slot, int t) {
        ckey k;
        return bipani.bones[slot]->anim.GetKey(t, k);
    }
    RecordingDriver recorder;
};

TEST_F(PosingPanel, PasteIsOfferedOnlyOnceSomethingWasCopied) {
    EXPECT_FALSE(Enabled(IDC_PANEL_PASTE));
    EXPECT_FALSE(Enabled(IDC_PANEL_PASTE_MIRRORED));
    Press(IDC_PANEL_COPY);
    EXPECT_TRUE(Enabled(IDC_PANEL_PASTE));
    EXPECT_TRUE(Enabled(IDC_PANEL_PASTE_MIRRORED));
    qv::ui::DestroyPanel(panel);
    OpenOn("Bip01 Head");  // a later opening keeps it
    EXPECT_TRUE(Enabled(IDC_PANEL_PASTE));
}

// "X", "Y", "Z" follow "Bip": clicked off, on again, then "Lower" and its "Clear".
TEST_F(PosingPanel, PasteDialogOffersRootComponentsOnlyWhileBipIsChosen) {
    Press(IDC_PANEL_COPY);
    const int levels = theUndo.NumLevels();
    PressRecorded(IDC_PANEL_PASTE, {Id(IDC_SEL_BIP), Id(IDC_SEL_BIP), Id(IDC_SEL_LOWER),
                                    Id(IDC_SEL_LOWER_CLEAR), "Cancel"});
    const bool expected[] = {true, false, true, true, false};
    for (size_t i = 0; i < std::size(expected); ++i)
        for (int id : {IDC_PASTE_POS_X, IDC_PASTE_POS_Y, IDC_PASTE_POS_Z})
            EXPECT_EQ(recorder.Enabled(i, id), expected[i]) << "before action " << i;
    EXPECT_EQ(theUndo.NumLevels(), levels);
}

// Checks chosen in one dialog are preselected in the others; Cancel keeps them unchanged.
TEST_F(PosingPanel, BoneGroupChecksAreSharedByTheDialogsAndRemembered) {
    Interface::SetAnimTime(10);
    PressRecorded(IDC_PANEL_SET, {Id(IDC_SEL_UPPER_CLEAR), "OK"});
    EXPECT_EQ(KeysAt(kSlotRUpperArm, 10), 0) << "an upper bone was keyed";
    EXPECT_EQ(KeysAt(kSlotLThigh, 10), 1);
    EXPECT_EQ(NewestLevelName(), "Biped Set Posture");
    PressRecorded(IDC_PANEL_POSTURE_MIRROR, {Id(IDC_SEL_LOWER_CLEAR), "Cancel"});
    EXPECT_FALSE(recorder.Checked(2, IDC_SEL_L_CLAVICLE));
    EXPECT_TRUE(recorder.Checked(2, IDC_SEL_L_THIGH));
    PressRecorded(IDC_PANEL_ANIM_CLEAR, {"Cancel"});
    EXPECT_TRUE(recorder.Checked(4, IDC_SEL_L_THIGH)) << "Cancel changed the checks";
    EXPECT_FALSE(recorder.Checked(4, IDC_SEL_R_CLAVICLE));
}

// With every box cleared, OK cancels the command like Cancel does.
TEST_F(PosingPanel, NoBoneChosenCancelsTheCommand) {
    Interface::SetAnimTime(10);
    const auto before = AllKeys();
    const int levels = theUndo.NumLevels();
    PressRecorded(IDC_PANEL_SET, {Id(IDC_SEL_UPPER_CLEAR), Id(IDC_SEL_LOWER_CLEAR), "OK"});
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    EXPECT_EQ(theUndo.NumLevels(), levels);
}

// In the mirror dialog "Upper" stands for the spine, neck, head and both arms.
TEST_F(PosingPanel, MirrorWithUpperSwapsBothArmsAndLeavesTheLegs) {
    Interface::SetAnimTime(5);
    ckey bent = bipani.bones[kSlotLForearm]->anim.Keys()[0];
    bent.time = 5;
    bent.rot = QuatFromAngleAxis(40.0f, {0.0f, 0.0f, 1.0f}) * bent.rot;
    bipani.bones[kSlotLForearm]->anim.SetKey(bent);
    PressRecorded(IDC_PANEL_POSTURE_MIRROR,
                  {Id(IDC_SEL_UPPER_CLEAR), Id(IDC_SEL_LOWER_CLEAR), Id(IDC_SEL_UPPER), "OK"});
    ckey right;
    ASSERT_EQ(bipani.bones[kSlotRForearm]->anim.GetKey(5, right), 1);
    EXPECT_TRUE(SameRotation(right.rot, {-bent.rot.x, -bent.rot.y, bent.rot.z, bent.rot.w}, 0.0f));
    EXPECT_EQ(KeysAt(kSlotHead, 5), 1);
    EXPECT_EQ(KeysAt(kSlotRThigh, 5), 0);
    EXPECT_EQ(KeysAt(kSlotRoot, 5), 0);
    EXPECT_EQ(NewestLevelName(), "Biped Mirror Posture");
}

TEST_F(PosingPanel, PostureClearAtFrameZeroWarnsAndChangesNothing) {
    const auto before = AllKeys();
    const int levels = theUndo.NumLevels();
    Answer({"ok"});
    Press(IDC_PANEL_POSTURE_CLEAR);
    ASSERT_EQ(qv::ui::Messages().size(), 1u);
    EXPECT_EQ(qv::ui::Messages()[0].caption, "Biped");
    EXPECT_EQ(qv::ui::Messages()[0].text, "Cannot delete key at frame 0!");
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    EXPECT_EQ(theUndo.NumLevels(), levels);
    // Elsewhere it removes the chosen bones' keys at the current time.
    Interface::SetAnimTime(10);
    Answer({"OK"});
    Press(IDC_PANEL_SET);
    Answer({"OK"});
    Press(IDC_PANEL_POSTURE_CLEAR);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    EXPECT_EQ(NewestLevelName(), "Biped Clear Posture");
}

// "Clear" keeps each chosen track's first key; "Mirror" exchanges whole tracks.
TEST_F(PosingPanel, AnimationClearAndMirrorWorkOnWholeTracks) {
    for (int t : {10, 20}) {
        Interface::SetAnimTime(t);
        Answer({"OK"});
        Press(IDC_PANEL_SET);
    }
    ckey extra = bipani.bones[kSlotRHand]->anim.Keys()[0];
    extra.time = 30;
    bipani.bones[kSlotRHand]->anim.SetKey(extra);
    Answer({"OK"});
    Press(IDC_PANEL_ANIM_MIRROR);
    EXPECT_EQ(bipani.bones[kSlotLHand]->anim.NumKeys(), 4);
    EXPECT_EQ(bipani.bones[kSlotRHand]->anim.NumKeys(), 3);
    EXPECT_EQ(NewestLevelName(), "Biped Mirror Keyframes");
    Answer({"OK"});
    Press(IDC_PANEL_ANIM_CLEAR);
    for (int s = 0; s < kNumSlots; ++s)
        if (bipani.bones[s]) {
            EXPECT_EQ(bipani.bones[s]->anim.NumKeys(), 1) << FullName(s);
        }
    EXPECT_EQ(NewestLevelName(), "Biped Clear Keyframes");
}

// Only the checked limb is copied; "Left" takes the right side as source.
TEST_F(PosingPanel, SymAndOppCopyTheCheckedLimbsOnly) {
    Interface::SetAnimTime(6);
    ckey bent = bipani.bones[kSlotRForearm]->anim.Keys()[0];
    bent.time = 6;
    bent.rot = EulerToQuat({10.0f, 20.0f, 30.0f});
    bipani.bones[kSlotRForearm]->anim.SetKey(bent);
    Press(IDC_PANEL_LIMB_FOREARM);
    Press(IDC_PANEL_SYM_LEFT);
    ckey left;
    ASSERT_EQ(bipani.bones[kSlotLForearm]->anim.GetKey(6, left), 1);
    EXPECT_TRUE(SameRotation(left.rot, {-bent.rot.x, -bent.rot.y, bent.rot.z, bent.rot.w}, 0.0f));
    EXPECT_EQ(KeysAt(kSlotLUpperArm, 6), 0);
    EXPECT_EQ(NewestLevelName(), "Biped Symmetrical Left");
    Press(IDC_PANEL_OPP_Y);  // X and Z only, from the left to the right
    Press(IDC_PANEL_OPP_RIGHT);
    ckey right;
    ASSERT_EQ(bipani.bones[kSlotRForearm]->anim.GetKey(6, right), 1);
    const cpoint3 eLeft = QuatToEuler(left.rot);
    const cpoint3 eRight = QuatToEuler(right.rot);
    EXPECT_NEAR(eRight.x, eLeft.x, 1e-3f);
    EXPECT_NEAR(eRight.y, 20.0f, 1e-3f);
    EXPECT_NEAR(eRight.z, -eLeft.z, 1e-3f);
    EXPECT_EQ(NewestLevelName(), "Biped Opposite Right");
}

// The combo box's bone, the typed frame and the checked components; a frame that is no
// number does nothing.
TEST_F(PosingPanel, AlignTakesTheBoneFrameAndComponentsFromThePanel) {
    cnode* root = bipani.bones[kSlotRoot];
    Interface::SetAnimOn(1);
    root->SetPosition(20, root->GetPosition(0) + cpoint3{1.0f, 2.0f, 3.0f});
    Interface::SetAnimOn(0);
    Interface::SetAnimTime(20);
    std::string error;
    ASSERT_TRUE(qv::ui::Choose(panel, Id(IDC_PANEL_ALIGN_BONE), "Bip01 L Foot", error)) << error;
    for (int id : {IDC_PANEL_ALIGN_POS_X, IDC_PANEL_ALIGN_POS_Z, IDC_PANEL_ALIGN_ROT_X,
                   IDC_PANEL_ALIGN_ROT_Y, IDC_PANEL_ALIGN_ROT_Z})
        Press(id);
    const auto before = AllKeys();
    Type(Id(IDC_PANEL_ALIGN_FRAME), "frame");
    Press(IDC_PANEL_ALIGN);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
    const cpoint3 p = root->GetPosition(20);
    Type(Id(IDC_PANEL_ALIGN_FRAME), "0");
    Press(IDC_PANEL_ALIGN);
    EXPECT_TRUE(PointNear(root->GetPosition(20), {p.x, p.y - 2.0f, p.z}, 1e-4f));
    EXPECT_EQ(NewestLevelName(), "Biped Align");
}

}  // namespace
}  // namespace pt
