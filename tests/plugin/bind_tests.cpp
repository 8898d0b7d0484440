// Binding the modify tool to a biped of the scene: which selections it accepts, the slots it
// finds, the kept binding of a click within the biped, and the callbacks it installs.
#include <string>

#include "bind_scene.h"
#include "quorvane/callbacks.h"
#include "quorvane/undo.h"

namespace {

using bindtest::MakeBiped;
using bindtest::Node;
using bindtest::Open;
using bindtest::SelectOnly;

class Binding : public bindtest::ToolScene {};

// A lone host bone with the given name, in the scene.
cnode* LoneBone(const std::string& name) {
    cnode* bone = CreateNewBone();
    bone->SetName(name.c_str());
    Interface::AddToScene(bone, 0);
    return bone;
}

// Every blank of every scene node's name becomes an underscore.
void UnderscoreAllNames() {
    for (int i = 0; i < Interface::NumNodes(); ++i) {
        cnode* n = Interface::GetNodeAt(i);
        std::string name = n->GetName();
        for (char& c : name)
            if (c == ' ') c = '_';
        n->SetName(name.c_str());
    }
}

TEST_F(Binding, LeftHandBindsItsSlotAndTheRightHandAsMirror) {
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01 L Hand")), 1);
    EXPECT_EQ(bipani.selSlot, kSlotLHand);
    EXPECT_EQ(bipani.mirrorSlot, kSlotRHand);
    EXPECT_STREQ(bipani.prefix, "Bip01 ");
    // Every slot of the default biped is found by its full name; the others stay null.
    for (int s = 0; s < kNumSlots; ++s) {
        if (!buildtest::SlotPresent(s, buildtest::Counts{})) {
            EXPECT_EQ(bipani.bones[s], nullptr) << "slot " << s;
            continue;
        }
        EXPECT_EQ(buildtest::NameOf(bipani.bones[s]), buildtest::FullName(s));
    }
}

TEST_F(Binding, RootAndSpineHaveNoMirror) {
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01")), 1);
    EXPECT_EQ(bipani.selSlot, kSlotRoot);
    EXPECT_EQ(bipani.mirrorSlot, -1);
    ASSERT_EQ(Open(Node("Bip01 Spine2")), 1);
    EXPECT_EQ(bipani.selSlot, kSlotSpine + 2);
    EXPECT_EQ(bipani.mirrorSlot, -1);
}

TEST_F(Binding, MissingBonesStayNull) {
    buildtest::ApplyCounts({.spines = 2, .fingers = 1, .fingerLinks = 1, .toes = 0, .toeLinks = 1});
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01 Pelvis")), 1);
    EXPECT_EQ(bipani.selSlot, kSlotPelvis);
    EXPECT_NE(bipani.bones[kSlotSpine + 1], nullptr);
    EXPECT_EQ(bipani.bones[kSlotSpine + 2], nullptr);
    EXPECT_NE(bipani.bones[kSlotRFinger0], nullptr);
    EXPECT_EQ(bipani.bones[kSlotRFinger0 + 1], nullptr);
    EXPECT_EQ(bipani.bones[kSlotRToe0], nullptr);
}

TEST_F(Binding, UnderscoreBipedBindsFromItsRoot) {
    MakeBiped();
    UnderscoreAllNames();
    ASSERT_EQ(Open(Node("Bip01")), 1);
    EXPECT_EQ(bipani.selSlot, kSlotRoot);
    for (int s = 1; s < kNumSlots; ++s) {
        if (!buildtest::SlotPresent(s, buildtest::Counts{})) continue;
        std::string expected = buildtest::FullName(s);
        for (char& c : expected)
            if (c == ' ') c = '_';
        EXPECT_EQ(buildtest::NameOf(bipani.bones[s]), expected);
    }
}

TEST_F(Binding, UnderscoreBoneAloneIsItsOwnRoot) {
    MakeBiped();
    UnderscoreAllNames();
    cnode* hand = Node("Bip01_L_Hand");
    ASSERT_EQ(Open(hand), 1);
    EXPECT_EQ(bipani.bones[kSlotRoot], hand);
    EXPECT_EQ(bipani.selSlot, kSlotRoot);
    EXPECT_EQ(bipani.mirrorSlot, -1);
    for (int s = 1; s < kNumSlots; ++s) EXPECT_EQ(bipani.bones[s], nullptr) << "slot " << s;
}

TEST_F(Binding, RefusesTwoSelectedNodes) {
    MakeBiped();
    Interface::DeselectAll();
    Interface::Select(Node("Bip01 L Hand"));
    Interface::Select(Node("Bip01 R Hand"));
    EXPECT_EQ(bipani.IsOkToModify(Node("Bip01 L Hand")), 0);
    EXPECT_EQ(bipani.IsOkToModify(nullptr), 0);
}

TEST_F(Binding, RefusesLowerCaseNamesAndNodesThatAreNoBones) {
    MakeBiped();
    cnode* pelvis = Node("Bip01 Pelvis");
    pelvis->SetName("bip01 Pelvis");
    SelectOnly(pelvis);
    EXPECT_EQ(bipani.IsOkToModify(pelvis), 0);

    auto* plain = new cnode;  // type 0: a node, not a bone
    plain->SetName("Bip01 Helper");
    Interface::AddToScene(plain, 0);
    SelectOnly(plain);
    EXPECT_EQ(bipani.IsOkToModify(plain), 0);
}

TEST_F(Binding, CopyNeedsARootNamedByItsFirstWord) {
    cnode* copy = LoneBone("Bip01 Copy");
    SelectOnly(copy);
    EXPECT_EQ(bipani.IsOkToModify(copy), 0);
    EXPECT_STREQ(bipani.prefix, "Bip01");  // left as computed
    LoneBone("Bip01");
    EXPECT_EQ(bipani.IsOkToModify(copy), 1);
}

TEST_F(Binding, RefusesAFirstWordLongerThanThePrefixHolds) {
    const std::string fits = "Bip" + std::string(59, '7');  // 62 characters
    const std::string tooLong = fits + "7";                 // 63 characters
    LoneBone(fits);
    LoneBone(tooLong);
    cnode* fitting = LoneBone(fits + " Pelvis");
    cnode* overlong = LoneBone(tooLong + " Pelvis");
    SelectOnly(overlong);
    EXPECT_EQ(bipani.IsOkToModify(overlong), 0);
    ASSERT_EQ(Open(fitting), 1);
    EXPECT_EQ(std::string(bipani.prefix), fits + " ");
    EXPECT_EQ(bipani.bones[kSlotPelvis], fitting);
    EXPECT_EQ(bipani.selSlot, kSlotPelvis);
}

TEST_F(Binding, NodeWithThePrefixThatIsNoBoneOfTheBipedBindsWithoutSlot) {
    MakeBiped();
    cnode* extra = LoneBone("Bip01 Prop");
    ASSERT_EQ(Open(extra), 1);
    EXPECT_EQ(bipani.selSlot, -1);
    EXPECT_EQ(bipani.mirrorSlot, -1);
    EXPECT_EQ(buildtest::NameOf(bipani.bones[kSlotRoot]), "Bip01");
}

TEST_F(Binding, ClickWithinTheBipedKeepsAnchorsAndModes) {
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01 R Foot")), 1);
    bipani.anchorOn[0] = 1;
    bipani.symRotation = 1;
    bipani.keepBinding = 1;  // what the hit test notes for a click on one of the bones
    SelectOnly(Node("Bip01 L UpperArm"));
    bipani.Init();
    EXPECT_EQ(bipani.selSlot, kSlotLUpperArm);
    EXPECT_EQ(bipani.mirrorSlot, kSlotRUpperArm);
    EXPECT_EQ(bipani.anchorOn[0], 1);
    EXPECT_EQ(bipani.symRotation, 1);
    EXPECT_EQ(bipani.keepBinding, 0);
}

TEST_F(Binding, KeptBindingIgnoresANodeOutsideTheBiped) {
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01 R Foot")), 1);
    bipani.keepBinding = 1;
    SelectOnly(LoneBone("Bip01 Prop"));
    bipani.Init();
    EXPECT_EQ(bipani.selSlot, kSlotRFoot);
    EXPECT_EQ(bipani.mirrorSlot, kSlotLFoot);
}

TEST_F(Binding, BoneOfAnotherBipedRebinds) {
    MakeBiped();
    MakeBiped(MakePt3(5.0f, 0.0f, 0.0f));
    ASSERT_NE(Node("Bip02 L Calf"), nullptr);
    ASSERT_EQ(Open(Node("Bip01 R Foot")), 1);
    bipani.anchorOn[0] = bipani.anchorOn[3] = 1;
    bipani.oppRotation = 1;
    ASSERT_EQ(Open(Node("Bip02 L Calf")), 1);
    EXPECT_EQ(buildtest::NameOf(bipani.bones[kSlotRoot]), "Bip02");
    EXPECT_EQ(bipani.bones[kSlotLCalf], Node("Bip02 L Calf"));
    EXPECT_EQ(bipani.selSlot, kSlotLCalf);
    for (int k = 0; k < cbipanim::kNumAnchors; ++k) EXPECT_EQ(bipani.anchorOn[k], 0);
    EXPECT_EQ(bipani.oppRotation, 0);
}

TEST_F(Binding, InitInstallsCallbacksAndDoneRemovesThem) {
    MakeBiped();
    Interface::SetSubLevel(2);
    ASSERT_EQ(Open(Node("Bip01 Head")), 1);
    EXPECT_EQ(Interface::GetTransformCallback(), &cbipanim::trnsClbk);
    EXPECT_EQ(Interface::GetHitTestCallback(), &cbipanim::hittestBip);
    EXPECT_EQ(Interface::GetSubLevel(), 0);
    bipani.Done();
    EXPECT_EQ(Interface::GetTransformCallback(), nullptr);
    EXPECT_EQ(Interface::GetHitTestCallback(), nullptr);
    // The binding outlives the panel.
    EXPECT_EQ(bipani.selSlot, kSlotHead);
    EXPECT_EQ(buildtest::NameOf(bipani.bones[kSlotRoot]), "Bip01");
}

TEST_F(Binding, UndoOfASelectionKeepsTheBindingUntilItEnds) {
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01 R Foot")), 1);
    SelectOnly(Node("Bip01 Head"));  // the newest undo level is now a selection change
    bipani.Notify(QV_EVENT_UNDO_BEGIN, 0, 0, nullptr);
    EXPECT_EQ(bipani.keepBinding, 1);
    bipani.Notify(QV_EVENT_UNDO_END, 0, 0, nullptr);
    EXPECT_EQ(bipani.keepBinding, 0);

    theUndo.BeginGeneric(nullptr);  // a level that is no selection change
    theUndo.End();
    bipani.Notify(QV_EVENT_UNDO_BEGIN, 0, 0, nullptr);
    EXPECT_EQ(bipani.keepBinding, 0);
}

}  // namespace
