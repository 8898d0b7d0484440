// The built module loaded the way the host loads it: through dlopen, its exports and its
// start routine, and the class objects its class export hands out.
#include <dlfcn.h>

#include <cstddef>
#include <cstdint>
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

    static cclassinterface* Class(int index) {
        return Get<LibClassDescProc>("LibClassDesc")(index);
    }
    static ccreateinterface* CreateTool() { return dynamic_cast<ccreateinterface*>(Class(0)); }
    static cmodifyinterface* ModifyTool(int index) {
        return dynamic_cast<cmodifyinterface*>(Class(index));
    }

    static void* handle;
};
void* Module::handle = nullptr;

TEST_F(Module, LibraryExportsAnswerVersionStdLibAndClasses) {
    EXPECT_EQ(Get<LibVersionProc>("LibVersion")(), 1500);
    EXPECT_EQ(static_cast<unsigned>(Get<StdLibProc>("StdLib")()), 0xFFFFB6F8u);  // -18696
    EXPECT_EQ(Get<LibNumberClassesProc>("LibNumberClasses")(), 3);
    const auto libType = Get<LibTypeProc>("LibType");  // the creation tool first, then modify tools
    for (auto [index, type] : {std::pair{0, 1000}, {1, 1001}, {5, 1001}, {-1, 1001}})
        EXPECT_EQ(libType(index), type) << index;
    const char* objects[] = {"bip", "bipani", "bipskin", "bipskin", "bipskin"};
    const int indexes[] = {0, 1, 2, 3, -1};
    for (int i = 0; i < 5; ++i) {
        void* object = dlsym(handle, objects[i]);
        ASSERT_NE(object, nullptr) << objects[i];
        EXPECT_EQ(static_cast<void*>(Class(indexes[i])), object) << indexes[i];
    }
}

TEST_F(Module, ClassObjectsIdentifyThemselves) {
    ccreateinterface* create = CreateTool();
    cmodifyinterface* anim = ModifyTool(1);
    cmodifyinterface* skin = ModifyTool(2);
    ASSERT_TRUE(create && anim && skin);
    EXPECT_STREQ(create->GetCategory(), "Bones");
    EXPECT_STREQ(create->GetName(), "Biped");
    EXPECT_EQ(create->GetType(), 4u);
    EXPECT_EQ(create->GetSubType(), 0u);
    EXPECT_STREQ(anim->GetName(), "Biped");
    EXPECT_STREQ(skin->GetName(), "Biped - Mirror Weights");
    EXPECT_EQ(anim->UseApply(), 0);
    EXPECT_EQ(skin->UseApply(), 1);
    EXPECT_EQ(anim->Execute(), 1);
    EXPECT_EQ(create->dialogId, 1157);
    EXPECT_EQ(anim->dialogId, 1158);
    EXPECT_EQ(skin->dialogId, 1159);
    cskin mesh;
    cbone bone;
    EXPECT_EQ(skin->IsOkToModify(&mesh), 1);  // the skin tool takes skinned meshes only
    EXPECT_EQ(skin->IsOkToModify(&bone), 0);
    EXPECT_EQ(skin->IsOkToModify(nullptr), 0);
    qv::ResetScene();
    auto* made = static_cast<cnode*>(create->Create());  // a new bone outside the scene each time
    auto* another = static_cast<cnode*>(create->Create());
    ASSERT_NE(made, nullptr);
    EXPECT_NE(another, made);
    EXPECT_EQ(made->GetTypeID(), 4);
    EXPECT_EQ(made->anim.NumKeys(), 1);
    EXPECT_FALSE(qv::InScene(made));
    made->DeleteThis();
    another->DeleteThis();
}

TEST_F(Module, StartRoutineStoresTheHandleForEveryReason) {
    const auto dllMain = Get<DllMainProc>("DllMain");
    auto* moduleHandle = static_cast<HINSTANCE*>(dlsym(handle, "hInst"));
    ASSERT_NE(moduleHandle, nullptr);
    HINSTANCE other = reinterpret_cast<HINSTANCE>(std::uintptr_t{0x5150});
    for (DWORD reason :
         {DLL_PROCESS_ATTACH, DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH}) {
        EXPECT_EQ(dllMain(other, reason, nullptr), TRUE);
        EXPECT_EQ(*moduleHandle, other) << reason;
        for (int index : {0, 1, 2}) EXPECT_EQ(Class(index)->hInstance, other) << index;
    }
    EXPECT_EQ(dllMain(Instance(), DLL_PROCESS_ATTACH, nullptr), TRUE);
    EXPECT_EQ(*moduleHandle, Instance());
    for (int index : {0, 1, 2}) EXPECT_EQ(Class(index)->hInstance, Instance()) << index;
}

}  // namespace
