// Binding the modify tool to a biped of the scene: which selections it accepts, the slots it
// finds, the kept binding of a click within the biped (noted by the tool's hit-test callback,
// whose picks are the host's), and the callbacks it installs.
#include <cmath>

#include "plugin_support.h"
#include "qvview/gl.h"
#include "quorvane/skin.h"

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

// --- clicks through the tool's hit-test callback ---------------------------------------------

constexpr int kRadius = 4;  // pick radius, pixels

// Two small bipeds side by side: Bip01 at x = -4 (root, pelvis, spine up the z axis), bound,
// and Bip02 at x = +4 (root, pelvis).
class BipedClicks : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        bipani.bones[kSlotRoot] = Bone("Bip01", nullptr, {-4, 0, 0});
        bipani.bones[kSlotPelvis] = pelvis1_ =
            Bone("Bip01 Pelvis", bipani.bones[kSlotRoot], {-4, 0, 3});
        bipani.bones[kSlotSpine] = Bone("Bip01 Spine", pelvis1_, {-4, 0, 6});
        Bone("Bip02 Pelvis", Bone("Bip02", nullptr, {4, 0, 0}), {4, 0, 3});
        view_.Frame({-6, -1, -1}, {6, 1, 8});
    }
    static cnode* Bone(const char* name, cnode* parent, const cpoint3& world) {
        cbone* b = CreateNewBone();
        b->SetName(name);
        if (parent) parent->Attach(b, 0);
        b->SetPosition(0, world);
        Interface::AddToScene(b, 0);
        return b;
    }
    HitTestTool Tool(int x, int y) {
        HitTestTool tool;
        tool.x = x;
        tool.y = y;
        tool.radius = kRadius;
        return tool;
    }
    // Window point of a world point.
    std::pair<int, int> At(const cpoint3& p) {
        cpoint3 w;
        view_.Project(w, p.x, p.y, p.z);
        return {static_cast<int>(std::lround(w.x)), static_cast<int>(std::lround(w.y))};
    }
    qv::gl::View view_{qv::gl::ViewKind::Front, 200, 150};
    cnode* pelvis1_ = nullptr;
};

TEST_F(BipedClicks, OnlyAnotherBoneOfTheBoundBipedKeepsTheBinding) {
    Bone("Bip01 Prop", nullptr, {0, 0, 4});  // the biped's prefix, but none of its bones
    struct Click { std::pair<int, int> at; int hit; const char* selected; int keep; };
    const Click clicks[] = {
        {At({-4, 0, 4.5f}), 1, "Bip01 Pelvis", 1},  // on the pelvis's segment to the spine
        {At({4, 0, 1.5f}), 1, "Bip02", 0},          // on Bip02's segment to its pelvis
        {{3, 3}, 0, "(none)", 0},                   // empty space
        {At({0.1f, 0, 4}), 1, "Bip01 Prop", 0},     // along the prop's stub on its x axis
    };
    for (const Click& c : clicks) {
        bipani.keepBinding = 1 - c.keep;
        auto [x, y] = c.at;
        HitTestTool tool = Tool(x, y);
        EXPECT_EQ(cbipanim::hittestBip.HitTestAndSelect(0, &view_, x, y, 0, tool), c.hit)
            << c.selected;
        EXPECT_EQ(NameOf(Interface::GetSelNode()), c.selected);
        EXPECT_EQ(bipani.keepBinding, c.keep) << c.selected;
    }
}

TEST_F(BipedClicks, HitTestIsTheHostsPickWithItsArguments) {
    auto [x, y] = At({-4, 0, 4.5f});
    HitTestTool tool = Tool(x, y);
    bipani.keepBinding = 1;
    HitTestRes res;
    EXPECT_EQ(cbipanim::hittestBip.HitTest(0, &view_, x, y, 7, tool, nullptr, &res), 1);
    EXPECT_EQ(res.node, pelvis1_);
    // Excluding the pelvis (scene index 1) leaves only bones too far away.
    cbooleanarray exclude(Interface::NumNodes());
    exclude.Set(1, true);
    ASSERT_EQ(Interface::GetNodeAt(1), pelvis1_);
    EXPECT_EQ(cbipanim::hittestBip.HitTest(0, &view_, x, y, 0, tool, &exclude, &res), 0);
    // A plain hit test changes neither the selection nor the binding.
    EXPECT_EQ(Interface::NumSelNodes(), 0);
    EXPECT_EQ(bipani.keepBinding, 1);
}

}  // namespace
}  // namespace pt
