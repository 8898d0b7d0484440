// The module's class objects as the linked code sees them: their start-up values, the start
// routine, copying of the modify tool, and what the tools make and accept.
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "Skeleton/BipAnim.h"
#include "Skeleton/BipCreate.h"
#include "Skeleton/BipGlobals.h"
#include "plugin/BipPreview.h"
#include "plugin_test_env.h"
#include "qvcore/host.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"
#include "skin/BipSkin.h"

namespace {

TEST(ModuleObjects, StartValues) {
    EXPECT_EQ(bip.dialogId, 1157);
    EXPECT_EQ(bipani.dialogId, 1158);
    EXPECT_EQ(bipskin.dialogId, 1159);
    EXPECT_EQ(leftColour.r, 0.0f);
    EXPECT_EQ(leftColour.g, 0.0f);
    EXPECT_EQ(leftColour.b, 1.0f);
    EXPECT_EQ(leftColour.a, 1.0f);
    EXPECT_EQ(rightColour.r, 0.0f);
    EXPECT_EQ(rightColour.g, 1.0f);
    EXPECT_EQ(rightColour.b, 0.0f);
    EXPECT_EQ(rightColour.a, 1.0f);
}

TEST(StartRoutine, StoresTheHandleForEveryReason) {
    HINSTANCE other = reinterpret_cast<HINSTANCE>(std::uintptr_t{0x5150});
    for (DWORD reason : {DLL_PROCESS_ATTACH, DLL_THREAD_ATTACH, DLL_THREAD_DETACH,
                         DLL_PROCESS_DETACH}) {
        EXPECT_EQ(DllMain(other, reason, nullptr), TRUE);
        EXPECT_EQ(hInst, other);
        EXPECT_EQ(bip.hInstance, other);
        EXPECT_EQ(bipani.hInstance, other);
        EXPECT_EQ(bipskin.hInstance, other);
    }
    ASSERT_EQ(DllMain(plugintest::TestModule(), DLL_PROCESS_ATTACH, nullptr), TRUE);
    EXPECT_EQ(hInst, plugintest::TestModule());
}

TEST(AnimTool, FreshToolIsUnbound) {
    const cbipanim tool;
    for (cnode* b : tool.bones) ASSERT_EQ(b, nullptr);
    EXPECT_EQ(tool.selSlot, -1);
    EXPECT_EQ(tool.mirrorSlot, -1);
    EXPECT_EQ(tool.oppRotation + tool.symRotation + tool.animTransform, 0);
    EXPECT_EQ(tool.prefix[0], '\0');
    EXPECT_EQ(tool.keepBinding, 0);
    for (int i = 0; i < cbipanim::kNumAnchors; ++i) {
        EXPECT_EQ(tool.anchorOn[i], 0);
        EXPECT_EQ(tool.anchorPos[i], cpoint3(0, 0, 0));
    }
    EXPECT_EQ(tool.numLoops, 1);
    EXPECT_EQ(tool.startFoot, 1);
    EXPECT_EQ(tool.inPlace, 0);
    EXPECT_EQ(tool.loop, 1);
    EXPECT_EQ(tool.gait, 0);
    EXPECT_EQ(tool.hInstance, nullptr);
    EXPECT_EQ(tool.dialogId, 1158);
}

// A tool with every field away from its start value.
cbipanim Changed(cnode* someNode) {
    cbipanim t;
    t.hInstance = reinterpret_cast<HINSTANCE>(std::uintptr_t{0x99});
    t.dialogId = 4242;
    t.bones[0] = someNode;
    t.bones[82] = someNode;
    t.selSlot = 67;
    t.mirrorSlot = 48;
    t.oppRotation = 1;
    t.symRotation = 1;
    t.animTransform = 1;
    std::strcpy(t.prefix, "Bip07 ");
    t.keepBinding = 1;
    t.anchorOn[2] = 1;
    t.anchorPos[3] = cpoint3(1.5f, -2.0f, 3.25f);
    t.numLoops = 12;
    t.startFoot = 0;
    t.inPlace = 1;
    t.loop = 0;
    t.gait = 1;
    return t;
}

void ExpectSame(const cbipanim& a, const cbipanim& b) {
    EXPECT_EQ(a.hInstance, b.hInstance);
    EXPECT_EQ(a.dialogId, b.dialogId);
    for (int s = 0; s < kNumSlots; ++s) EXPECT_EQ(a.bones[s], b.bones[s]) << s;
    EXPECT_EQ(a.selSlot, b.selSlot);
    EXPECT_EQ(a.mirrorSlot, b.mirrorSlot);
    EXPECT_EQ(a.oppRotation, b.oppRotation);
    EXPECT_EQ(a.symRotation, b.symRotation);
    EXPECT_EQ(a.animTransform, b.animTransform);
    EXPECT_EQ(std::memcmp(a.prefix, b.prefix, sizeof a.prefix), 0);
    EXPECT_EQ(a.keepBinding, b.keepBinding);
    for (int i = 0; i < cbipanim::kNumAnchors; ++i) {
        EXPECT_EQ(a.anchorOn[i], b.anchorOn[i]);
        EXPECT_EQ(a.anchorPos[i], b.anchorPos[i]);
    }
    EXPECT_EQ(a.numLoops, b.numLoops);
    EXPECT_EQ(a.startFoot, b.startFoot);
    EXPECT_EQ(a.inPlace, b.inPlace);
    EXPECT_EQ(a.loop, b.loop);
    EXPECT_EQ(a.gait, b.gait);
}

TEST(AnimTool, CopyAndAssignCopyEveryField) {
    cbone bone;
    const cbipanim source = Changed(&bone);
    const cbipanim copied(source);
    ExpectSame(copied, source);
    cbipanim assigned;
    assigned = source;
    ExpectSame(assigned, source);
}

TEST(AnimTool, IdentityAnswers) {
    EXPECT_STREQ(bipani.GetName(), "Biped");
    EXPECT_EQ(bipani.UseApply(), 0);
    EXPECT_EQ(bipani.Execute(), 1);
}

TEST(CreateTool, MakesABoneOutsideTheScene) {
    qv::ResetScene();
    auto* made = static_cast<cnode*>(bip.Create());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetTypeID(), 4);
    EXPECT_FALSE(qv::InScene(made));
    EXPECT_EQ(made->anim.NumKeys(), 1);
    auto* another = static_cast<cnode*>(bip.Create());
    EXPECT_NE(another, made) << "each call makes a new bone";
    made->DeleteThis();
    another->DeleteThis();
}

TEST(SkinTool, AcceptsSkinnedMeshesOnly) {
    cskin skin;
    cbone bone;
    EXPECT_EQ(bipskin.IsOkToModify(&skin), 1);
    EXPECT_EQ(bipskin.IsOkToModify(&bone), 0);
    EXPECT_EQ(bipskin.IsOkToModify(nullptr), 0);
}

}  // namespace
