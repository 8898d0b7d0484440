// The built module loaded the way the host loads it: through dlopen, its exports and its
// start routine, and the class objects its class export hands out.
#include <dlfcn.h>

#include <cstddef>
#include <string>

#include <gtest/gtest.h>

#include "qvcore/host.h"
#include "qvplatform/resources.h"
#include "quorvane/classes.h"
#include "quorvane/node.h"
#include "quorvane/skin.h"

namespace {

using DllMainProc = BOOL (*)(HINSTANCE, DWORD, LPVOID);

// The module, loaded once for all tests, with its resources registered under its handle.
class Module : public testing::Test {
protected:
    static void SetUpTestSuite() {
        handle = dlopen(BIPED_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        const auto* blob = static_cast<const unsigned char*>(dlsym(handle, qv::res::kBlobSymbol));
        const auto* size = static_cast<const size_t*>(dlsym(handle, qv::res::kBlobSizeSymbol));
        ASSERT_NE(blob, nullptr);
        ASSERT_NE(size, nullptr);
        std::string error;
        ASSERT_TRUE(qv::res::RegisterModule(Instance(), blob, *size, error)) << error;
        ASSERT_EQ(Get<DllMainProc>("DllMain")(Instance(), DLL_PROCESS_ATTACH, nullptr), TRUE);
    }
    static void TearDownTestSuite() {
        if (handle == nullptr) return;
        qv::res::UnregisterModule(Instance());
        // The module stays loaded: its class objects may still be referred to by the host core.
    }

    static HINSTANCE Instance() { return static_cast<HINSTANCE>(handle); }

    template <typename Proc>
    static Proc Get(const char* name) {
        void* symbol = dlsym(handle, name);
        EXPECT_NE(symbol, nullptr) << "missing export " << name;
        return reinterpret_cast<Proc>(symbol);
    }

    static cclassinterface* Class(int index) { return Get<LibClassDescProc>("LibClassDesc")(index); }
    static ccreateinterface* CreateTool() { return dynamic_cast<ccreateinterface*>(Class(0)); }
    static cmodifyinterface* ModifyTool(int index) {
        return dynamic_cast<cmodifyinterface*>(Class(index));
    }

    static void* handle;
};
void* Module::handle = nullptr;

TEST_F(Module, VersionAndLibraryAnswers) {
    EXPECT_EQ(Get<LibVersionProc>("LibVersion")(), 1500);
    EXPECT_EQ(Get<StdLibProc>("StdLib")(), -18696);
    EXPECT_EQ(static_cast<unsigned>(Get<StdLibProc>("StdLib")()), 0xFFFFB6F8u);
    EXPECT_EQ(Get<LibNumberClassesProc>("LibNumberClasses")(), 3);
}

TEST_F(Module, CreationToolFirstThenModifyTools) {
    const auto libType = Get<LibTypeProc>("LibType");
    EXPECT_EQ(libType(0), 1000);
    EXPECT_EQ(libType(1), 1001);
    EXPECT_EQ(libType(5), 1001);
    EXPECT_EQ(libType(-1), 1001);
}

TEST_F(Module, ClassObjectsByIndex) {
    void* bip = dlsym(handle, "bip");
    void* bipani = dlsym(handle, "bipani");
    void* bipskin = dlsym(handle, "bipskin");
    ASSERT_NE(bip, nullptr);
    ASSERT_NE(bipani, nullptr);
    ASSERT_NE(bipskin, nullptr);
    EXPECT_EQ(static_cast<void*>(Class(0)), bip);
    EXPECT_EQ(static_cast<void*>(Class(1)), bipani);
    for (int index : {2, 3, -1}) EXPECT_EQ(static_cast<void*>(Class(index)), bipskin) << index;
}

TEST_F(Module, CreationToolIdentity) {
    ccreateinterface* tool = CreateTool();
    ASSERT_NE(tool, nullptr);
    EXPECT_STREQ(tool->GetCategory(), "Bones");
    EXPECT_STREQ(tool->GetName(), "Biped");
    EXPECT_EQ(tool->GetType(), 4u);
    EXPECT_EQ(tool->GetSubType(), 0u);
    EXPECT_EQ(tool->dialogId, 1157);
}

TEST_F(Module, ModifyToolsIdentity) {
    cmodifyinterface* anim = ModifyTool(1);
    cmodifyinterface* skin = ModifyTool(2);
    ASSERT_NE(anim, nullptr);
    ASSERT_NE(skin, nullptr);
    EXPECT_STREQ(anim->GetName(), "Biped");
    EXPECT_STREQ(skin->GetName(), "Biped - Mirror Weights");
    EXPECT_EQ(anim->UseApply(), 0);
    EXPECT_EQ(skin->UseApply(), 1);
    EXPECT_EQ(anim->Execute(), 1);
    EXPECT_EQ(anim->dialogId, 1158);
    EXPECT_EQ(skin->dialogId, 1159);
}

TEST_F(Module, SkinToolAcceptsSkinNodesOnly) {
    cmodifyinterface* skinTool = ModifyTool(2);
    ASSERT_NE(skinTool, nullptr);
    cskin skin;
    cbone bone;
    EXPECT_EQ(skinTool->IsOkToModify(&skin), 1);
    EXPECT_EQ(skinTool->IsOkToModify(&bone), 0);
    EXPECT_EQ(skinTool->IsOkToModify(nullptr), 0);
}

TEST_F(Module, StartRoutineStoresTheSameHandleAgain) {
    const auto dllMain = Get<DllMainProc>("DllMain");
    EXPECT_EQ(dllMain(Instance(), DLL_THREAD_ATTACH, nullptr), TRUE);
    EXPECT_EQ(dllMain(Instance(), DLL_PROCESS_ATTACH, nullptr), TRUE);
    for (int index : {0, 1, 2}) EXPECT_EQ(Class(index)->hInstance, Instance()) << index;
    auto* moduleHandle = static_cast<HINSTANCE*>(dlsym(handle, "hInst"));
    ASSERT_NE(moduleHandle, nullptr);
    EXPECT_EQ(*moduleHandle, Instance());
}

TEST_F(Module, ButtonBitmapComesFromTheModule) {
    ccreateinterface* tool = CreateTool();
    ASSERT_NE(tool, nullptr);
    void* bitmap = tool->GetHBitmap();
    ASSERT_NE(bitmap, nullptr);
    qv::res::BitmapInfo info;
    ASSERT_TRUE(qv::res::GetBitmapInfo(static_cast<HBITMAP>(bitmap), info));
    EXPECT_EQ(info.width, 24);
    EXPECT_EQ(info.height, 24);
    EXPECT_EQ(info.bitsPerPixel, 8);
    EXPECT_GT(info.paletteSize, 0);
    tool->DeleteHBitmap(bitmap);
    EXPECT_FALSE(qv::res::GetBitmapInfo(static_cast<HBITMAP>(bitmap), info)) << "still alive";
    tool->DeleteHBitmap(nullptr);  // harmless
    EXPECT_EQ(LoadBitmapA(Instance(), MAKEINTRESOURCE(107)), nullptr) << "107 is a dialog";
}

TEST_F(Module, CreationToolMakesBones) {
    qv::ResetScene();
    auto* made = static_cast<cnode*>(CreateTool()->Create());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetTypeID(), 4);
    EXPECT_FALSE(qv::InScene(made));
    made->DeleteThis();
}

TEST_F(Module, PreviewNodeSurvivesDisposalAndDrawsNothingEmpty) {
    auto* preview = static_cast<cnode*>(dlsym(handle, "bippreview"));
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->NumMembers(), 0);
    preview->Draw(0, nullptr, 0x4u);
    preview->DeleteThis();
    // Still a working node: its answers are those of an empty preview.
    EXPECT_EQ(preview->GetTypeID(), 4);
    EXPECT_EQ(preview->NumMembers(), 0);
    EXPECT_EQ(preview->GetMember(0), nullptr);
    EXPECT_EQ(preview->DrawsMembers(0, 0), 1);
    EXPECT_EQ(preview->PicksForMembers(0), 1);
}

}  // namespace
