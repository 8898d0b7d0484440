// Binding the modify tool to a biped of the scene: which selections it accepts, the slots it
// finds, the kept binding of a click within the biped, and the callbacks it installs.
#include "plugin_support.h"

namespace pt {
namespace {

using Binding = ToolScene;

// A lone host bone with the given name, in the scene.
cnode* LoneBone(const std::string& name) {
    cnode* bone = CreateNewBone();
    bone->SetName(name.c_str());
    Interface::AddToScene(bone, 0);
    return bone;
}

std::string Underscored(std::string name) {
    for (char& c : name)
        if (c == ' ') c = '_';
    return name;
}

TEST_F(Binding, EachSlotIsFoundByItsFullNameWithTheMirrorOfTheSelectedOne) {
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01 L Hand")), 1);
    EXPECT_EQ(bipani.selSlot, kSlotLHand);
    EXPECT_EQ(bipani.mirrorSlot, kSlotRHand);
    EXPECT_STREQ(bipani.prefix, "Bip01 ");
    for (int s = 0; s < kNumSlots; ++s)
        EXPECT_EQ(NameOf(bipani.bones[s]), IsSlotPresent(s, {}) ? FullName(s) : "(none)") << s;
    for (const auto& [bone, slot] :
         {std::pair{"Bip01", int{kSlotRoot}}, {"Bip01 Spine2", kSlotSpine + 2}}) {
        ASSERT_EQ(Open(Node(bone)), 1);
        EXPECT_EQ(bipani.selSlot, slot);
        EXPECT_EQ(bipani.mirrorSlot, -1) << "centre bones have no mirror";
    }
}

TEST_F(Binding, MissingBonesStayNull) {
    const BipShape shape{.numSpines = 2, .numFingers = 1, .numFingerLinks = 1, .numToes = 0};
    ApplyCounts(shape);
    MakeBiped();
    ASSERT_EQ(Open(Node("Bip01 Pelvis")), 1);
    EXPECT_EQ(bipani.selSlot, kSlotPelvis);
    for (int s = 0; s < kNumSlots; ++s)
        EXPECT_EQ(bipani.bones[s] != nullptr, IsSlotPresent(s, shape) != 0) << s;
}

TEST_F(Binding, UnderscoreBipedBindsFromItsRootButABoneAloneIsItsOwnRoot) {
    MakeBiped();
    for (int i = 0; i < Interface::NumNodes(); ++i)
        Interface::GetNodeAt(i)->SetName(Underscored(Interface::GetNodeAt(i)->GetName()).c_str());
    ASSERT_EQ(Open(Node("Bip01")), 1);
    EXPECT_EQ(bipani.selSlot, kSlotRoot);
    for (int s = 1; s < kNumSlots; ++s)
        EXPECT_EQ(NameOf(bipani.bones[s]),
                  IsSlotPresent(s, {}) ? Underscored(FullName(s)) : "(none)");
    cnode* hand = Node("Bip01_L_Hand");
    ASSERT_EQ(Open(hand), 1);
    EXPECT_EQ(bipani.bones[kSlotRoot], hand);
    EXPECT_EQ(bipani.selSlot, kSlotRoot);
    EXPECT_EQ(bipani.mirrorSlot, -1);
    for (int s = 1; s < kNumSlots; ++s) EXPECT_EQ(bipani.bones[s], nullptr) << "slot " << s;
}

TEST_F(Binding, RefusesTwoNodesLowerCaseNamesAndNodesThatAreNoBones) {
    MakeBiped();
    Interface::Select(Node("Bip01 L Hand"));
    Interface::Select(Node("Bip01 R Hand"));
    EXPECT_EQ(bipani.IsOkToModify(Node("Bip01 L Hand")), 0);
    EXPECT_EQ(bipani.IsOkToModify(nullptr), 0);
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

TEST_F(Binding, NeedsARootNamedByTheFirstWordThatThePrefixHolds) {
    cnode* copy = LoneBone("Bip01 Copy");
    SelectOnly(copy);
    EXPECT_EQ(bipani.IsOkToModify(copy), 0);
    EXPECT_STREQ(bipani.prefix, "Bip01");  // left as computed
    LoneBone("Bip01");
    EXPECT_EQ(bipani.IsOkToModify(copy), 1);
    const std::string fits = "Bip" + std::string(59, '7');  // 62 characters
    LoneBone(fits);
    LoneBone(fits + "7");
    cnode* overlong = LoneBone(fits + "7 Pelvis");
    SelectOnly(overlong);
    EXPECT_EQ(bipani.IsOkToModify(overlong), 0);
    cnode* fitting = LoneBone(fits + " Pelvis");
    ASSERT_EQ(Open(fitting), 1);
    EXPECT_EQ(std::string(bipani.prefix), fits + " ");
    EXPECT_EQ(bipani.bones[kSlotPelvis], fitting);
    EXPECT_EQ(bipani.selSlot, kSlotPelvis);
}

TEST_F(Binding, NodeWithThePrefixThatIsNoBoneOfTheBipedBindsWithoutSlot) {
    MakeBiped();
    ASSERT_EQ(Open(LoneBone("Bip01 Prop")), 1);
    EXPECT_EQ(bipani.selSlot, -1);
    EXPECT_EQ(bipani.mirrorSlot, -1);
    EXPECT_EQ(NameOf(bipani.bones[kSlotRoot]), "Bip01");
}

TEST_F(Binding, ClickWithinTheBipedKeepsAnchorsAndModesAndIgnoresNodesOutsideIt) {
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
    bipani.keepBinding = 1;
    SelectOnly(LoneBone("Bip01 Prop"));
    bipani.Init();
    EXPECT_EQ(bipani.selSlot, kSlotLUpperArm);
    EXPECT_EQ(bipani.mirrorSlot, kSlotRUpperArm);
}

TEST_F(Binding, BoneOfAnotherBipedRebindsWithModesAndAnchorsOff) {
    MakeBiped();
    MakeBiped(MakePt3(5.0f, 0.0f, 0.0f));
    ASSERT_EQ(Open(Node("Bip01 R Foot")), 1);
    bipani.anchorOn[0] = bipani.anchorOn[3] = 1;
    bipani.oppRotation = 1;
    ASSERT_EQ(Open(Node("Bip02 L Calf")), 1);
    EXPECT_EQ(NameOf(bipani.bones[kSlotRoot]), "Bip02");
    EXPECT_EQ(bipani.bones[kSlotLCalf], Node("Bip02 L Calf"));
    EXPECT_EQ(bipani.selSlot, kSlotLCalf);
    for (int k = 0; k < cbipanim::kNumAnchors; ++k) EXPECT_EQ(bipani.anchorOn[k], 0);
    EXPECT_EQ(bipani.oppRotation, 0);
}

TEST_F(Binding, InitInstallsCallbacksAndDoneRemovesThemButKeepsTheBinding) {
    MakeBiped();
    Interface::SetSubLevel(2);
    ASSERT_EQ(Open(Node("Bip01 Head")), 1);
    EXPECT_EQ(Interface::GetTransformCallback(), &cbipanim::trnsClbk);
    EXPECT_EQ(Interface::GetHitTestCallback(), &cbipanim::hittestBip);
    EXPECT_EQ(Interface::GetSubLevel(), 0);
    bipani.Done();
    EXPECT_EQ(Interface::GetTransformCallback(), nullptr);
    EXPECT_EQ(Interface::GetHitTestCallback(), nullptr);
    EXPECT_EQ(bipani.selSlot, kSlotHead);
    EXPECT_EQ(NameOf(bipani.bones[kSlotRoot]), "Bip01");
    {
        cbipanim other;  // constructing a tool points both callbacks at it; a copy does not
        EXPECT_EQ(cbipanim::trnsClbk.owner, &other);
        EXPECT_EQ(cbipanim::hittestBip.owner, &other);
        const cbipanim copy(other);
        EXPECT_EQ(cbipanim::trnsClbk.owner, &other);
    }
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
}  // namespace pt
