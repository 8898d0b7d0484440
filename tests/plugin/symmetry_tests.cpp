// Between the sides on a biped of the scene: symmetric and opposite copies at one time, pairs
// swapped at one time and over whole tracks, centre bones reflected onto themselves.
#include "plugin_support.h"

namespace pt {
namespace {

constexpr float kEulerTol = 1e-3f;  // degrees: one Euler round trip in floats

class Symmetry : public ToolScene {
protected:
    void SetUp() override {
        ToolScene::SetUp();
        MakeBiped();
        ASSERT_EQ(Open(Node("Bip01 L Thigh")), 1);
    }
    cnode* Bone(int slot) { return bipani.bones[slot]; }
    ckey KeyAt(int slot, int t) {
        ckey k;
        EXPECT_EQ(Bone(slot)->anim.GetKey(t, k), 1) << FullName(slot) << " at " << t;
        return k;
    }
};

// Rotation only: the left thigh gets (-x, -y, z, w) of the right, its own position and scale.
TEST_F(Symmetry, SymBonesReflectsTheChosenComponentsOnly) {
    const cquat q = Normalize(cquat{0.1f, 0.6f, -0.2f, 0.7f});
    Bone(kSlotRThigh)->anim.SetKey(ckey{5, {0.1f, 0.2f, 0.3f}, q, {2.0f, 2.0f, 2.0f}});
    const ckey leftBefore = KeyAt(kSlotLThigh, 0);
    bipani.SymBones(5, kSlotRThigh, kSlotLThigh, 0, 1, 0);
    const ckey left = KeyAt(kSlotLThigh, 5);
    EXPECT_TRUE(SameRotation(left.rot, {-q.x, -q.y, q.z, q.w}, 0.0f));
    EXPECT_TRUE(PointNear(left.pos, leftBefore.pos, 0.0f));
    EXPECT_TRUE(PointNear(left.scale, leftBefore.scale, 0.0f));
    bipani.SymBones(5, kSlotRThigh, kSlotLThigh, 1, 0, 1);
    EXPECT_TRUE(PointNear(KeyAt(kSlotLThigh, 5).pos, {0.1f, 0.2f, -0.3f}, 0.0f));
    EXPECT_TRUE(PointNear(KeyAt(kSlotLThigh, 5).scale, {2.0f, 2.0f, 2.0f}, 0.0f));
    EXPECT_EQ(KeyAt(kSlotRThigh, 5).rot.y, q.y) << "the source changed";
}

// X and Y copied, z negated only when chosen: the destination keeps its own z angle.
TEST_F(Symmetry, OppBonesCopiesTheChosenEulerAngles) {
    Bone(kSlotRForearm)->anim.SetKey(ckey{0, {}, EulerToQuat({20.0f, 30.0f, 40.0f})});
    Bone(kSlotLForearm)->anim.SetKey(ckey{0, {}, EulerToQuat({-5.0f, -6.0f, -7.0f})});
    struct Case { int x, y, z; cpoint3 expected; };
    const Case cases[] = {
        {1, 1, 0, {20.0f, 30.0f, -7.0f}},
        {0, 0, 1, {-5.0f, -6.0f, -40.0f}},
        {1, 0, 0, {20.0f, -6.0f, -7.0f}},
    };
    for (const Case& c : cases) {
        Bone(kSlotLForearm)->anim.SetKey(ckey{0, {}, EulerToQuat({-5.0f, -6.0f, -7.0f})});
        bipani.OppBones(0, kSlotRForearm, kSlotLForearm, c.x, c.y, c.z);
        EXPECT_TRUE(PointNear(QuatToEuler(KeyAt(kSlotLForearm, 0).rot), c.expected, kEulerTol))
            << c.x << c.y << c.z;
    }
}

// Swapping a pair twice at one time gives back the keys it had; once, each side holds the
// other's reflection.
TEST_F(Symmetry, SwapBonesTwiceIsTheIdentity) {
    const cquat q = Normalize(cquat{0.3f, -0.2f, 0.4f, 0.8f});
    Bone(kSlotRHand)->anim.SetKey(ckey{7, {0.5f, 0.25f, 0.125f}, q, {1.0f, 1.5f, 1.0f}});
    Bone(kSlotLHand)->anim.SetKey(ckey{7, {0.0f, 0.5f, -1.0f}, cquat{}, {2.0f, 1.0f, 1.0f}});
    const auto before = AllKeys();
    bipani.SwapBones(7, kSlotLHand, kSlotRHand, 1, 1, 1);
    EXPECT_TRUE(SameRotation(KeyAt(kSlotLHand, 7).rot, {-q.x, -q.y, q.z, q.w}, 0.0f));
    EXPECT_TRUE(PointNear(KeyAt(kSlotLHand, 7).pos, {0.5f, 0.25f, -0.125f}, 0.0f));
    EXPECT_TRUE(PointNear(KeyAt(kSlotRHand, 7).scale, {2.0f, 1.0f, 1.0f}, 0.0f));
    bipani.SwapBones(7, kSlotLHand, kSlotRHand, 1, 1, 1);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
}

// Whole tracks change places, times included: five keys against two.
TEST_F(Symmetry, SwapBoneKeysExchangesTracksOfDifferentLengths) {
    for (int t : {10, 20, 30, 40})
        Bone(kSlotRFoot)->anim.SetKey(ckey{t, {0.0f, 0.0f, 0.01f * t}, cquat{}});
    Bone(kSlotLFoot)->anim.SetKey(ckey{15, {0.0f, 1.0f, 0.0f}, cquat{}});
    const auto right = Bone(kSlotRFoot)->anim.Keys();
    const auto left = Bone(kSlotLFoot)->anim.Keys();
    bipani.SwapBoneKeys(kSlotLFoot, kSlotRFoot);
    ASSERT_EQ(Bone(kSlotLFoot)->anim.NumKeys(), 5);
    ASSERT_EQ(Bone(kSlotRFoot)->anim.NumKeys(), 2);
    for (int i = 0; i < 5; ++i) {
        const ckey k = Bone(kSlotLFoot)->anim.Keys()[i];
        EXPECT_EQ(k.time, right[i].time);
        EXPECT_TRUE(PointNear(k.pos, {right[i].pos.x, right[i].pos.y, -right[i].pos.z}, 0.0f));
    }
    EXPECT_EQ(Bone(kSlotRFoot)->anim.Keys()[1].time, left[1].time);
    bipani.SwapBoneKeys(kSlotLFoot, kSlotRFoot);
    EXPECT_TRUE(SameKeys(Bone(kSlotRFoot)->anim.Keys(), right));
    EXPECT_TRUE(SameKeys(Bone(kSlotLFoot)->anim.Keys(), left));
}

// The root's keys reflect across its own local y axis, rotation x and z negated: the position
// taken into the root's frame has its y negated there.
TEST_F(Symmetry, SwapSingleBoneKeysReflectsTheRootInItsOwnFrame) {
    const cquat turn = QuatFromAngleAxis(90.0f, {0.0f, 0.0f, 1.0f});
    const cpoint3 local{0.5f, 2.0f, 1.0f};
    Bone(kSlotRoot)->anim.SetKey(ckey{10, local * turn, turn});
    bipani.SwapSingleBoneKeys(kSlotRoot);
    const ckey k = KeyAt(kSlotRoot, 10);
    EXPECT_TRUE(SameRotation(k.rot, {-turn.x, turn.y, -turn.z, turn.w}, 0.0f));
    EXPECT_TRUE(PointNear(k.pos, cpoint3{0.5f, -2.0f, 1.0f} * turn, 1e-5f));
}

// Spine, neck and head reflect onto themselves; twice gives back the keys.
TEST_F(Symmetry, CentreBonesReflectOntoThemselvesAndTwiceIsTheIdentity) {
    const cquat q = Normalize(cquat{0.2f, 0.1f, 0.3f, 0.9f});
    Bone(kSlotNeck)->anim.SetKey(ckey{3, {0.1f, 0.2f, 0.3f}, q});
    bipani.SwapSingleBones(3, kSlotNeck);
    EXPECT_TRUE(SameRotation(KeyAt(kSlotNeck, 3).rot, {-q.x, -q.y, q.z, q.w}, 0.0f));
    EXPECT_TRUE(PointNear(KeyAt(kSlotNeck, 3).pos, {0.1f, 0.2f, -0.3f}, 0.0f));
    constexpr float kTwiceTol = 1e-5f;  // the pelvis goes through its reference rotation twice
    for (int s : {kSlotPelvis, kSlotSpine, kSlotHead})
        Bone(s)->anim.SetKey(ckey{3, {0.1f, 0.2f, 0.3f}, q});
    const auto before = AllKeys();
    for (int round = 0; round < 2; ++round)
        for (int s : {kSlotPelvis, kSlotSpine, kSlotNeck, kSlotHead}) bipani.SwapSingleBones(3, s);
    for (int s : {kSlotPelvis, kSlotSpine, kSlotNeck, kSlotHead}) {
        const ckey k = KeyAt(s, 3);
        EXPECT_TRUE(SameRotation(k.rot, before[s][1].rot, kTwiceTol)) << FullName(s);
        EXPECT_TRUE(PointNear(k.pos, before[s][1].pos, kTwiceTol)) << FullName(s);
    }
}

// The pelvis reflects across the body's plane in world terms: a twist about the vertical (z)
// and a roll about the forward axis (y) come back opposite, a bend about the side axis (x)
// stays, whatever the reference frame it is computed in.
TEST_F(Symmetry, PelvisReflectionMirrorsTwistAndRollAndKeepsTheForwardBend) {
    constexpr float kTurnTol = 1e-4f;  // quaternion components after three products
    const cquat rest = Bone(kSlotPelvis)->GetRotation(0);
    const cquat rootWorld = Bone(kSlotRoot)->GetRotation(0);
    struct Case { cpoint3 axis; float mirroredDeg; };
    const Case cases[] = {{{0.0f, 0.0f, 1.0f}, -20.0f}, {{0.0f, 1.0f, 0.0f}, -20.0f},
                          {{1.0f, 0.0f, 0.0f}, 20.0f}};
    for (const Case& c : cases) {
        // world = rest × turn (the turn after the rest placement); local = world × rootWorld⁻¹.
        const cquat world = rest * QuatFromAngleAxis(20.0f, c.axis);
        Bone(kSlotPelvis)->anim.SetKey(ckey{5, KeyAt(kSlotPelvis, 0).pos, world * Inverse(rootWorld)});
        bipani.SwapSingleBones(5, kSlotPelvis);
        // turn' = rest⁻¹ × world'
        const cquat turned = Inverse(rest) * Bone(kSlotPelvis)->GetRotation(5);
        EXPECT_TRUE(SameRotation(turned, QuatFromAngleAxis(c.mirroredDeg, c.axis), kTurnTol))
            << c.axis.x << " " << c.axis.y << " " << c.axis.z;
    }
}

// A side whose bone is gone: the call does nothing.
TEST_F(Symmetry, AMissingBoneMakesEveryCallDoNothing) {
    Node("Bip01 L Hand")->DeleteThis();
    bipani.bones[kSlotLHand] = nullptr;  // as binding again finds it
    const auto before = AllKeys();
    bipani.SymBones(0, kSlotRHand, kSlotLHand, 1, 1, 1);
    bipani.OppBones(0, kSlotRHand, kSlotLHand, 1, 1, 1);
    bipani.SwapBones(0, kSlotLHand, kSlotRHand, 1, 1, 1);
    bipani.SwapBoneKeys(kSlotLHand, kSlotRHand);
    bipani.SwapSingleBones(0, kSlotLHand);
    EXPECT_TRUE(SameKeys(AllKeys(), before));
}

}  // namespace
}  // namespace pt
