// Loading modules: the Biped module's class objects, and the refusals of libraries that are
// not modules or answer the wrong version.
#include <gtest/gtest.h>

#include <cstring>

#include "module_loader.h"

namespace qvapp {
namespace {

TEST(ModuleLoading, BipedOffersOneCreationAndTwoModifyTools) {
    std::string error;
    auto module = LoadModule(BIPED_MODULE_PATH, error);
    ASSERT_TRUE(module) << error;
    ASSERT_EQ(module->classes.size(), 3u);
    EXPECT_EQ(module->classes[0].libType, QV_LIBTYPE_CREATE);
    EXPECT_EQ(module->classes[1].libType, QV_LIBTYPE_MODIFY);
    EXPECT_EQ(module->classes[2].libType, QV_LIBTYPE_MODIFY);
    EXPECT_STREQ(module->classes[0].object->GetCategory(), "Bones");
    EXPECT_STREQ(module->classes[2].object->GetName(), "Biped - Mirror Weights");
    EXPECT_EQ(module->stdLib, -18696);
}

TEST(ModuleLoading, StartRoutineHandsEveryToolTheModuleHandle) {
    std::string error;
    auto module = LoadModule(BIPED_MODULE_PATH, error);
    ASSERT_TRUE(module) << error;
    for (const ModuleClass& c : module->classes)
        EXPECT_EQ(static_cast<void*>(c.object->hInstance), module->handle);
}

TEST(ModuleLoading, LoadingTwiceGivesTheSameModule) {
    std::string error;
    auto a = LoadModule(BIPED_MODULE_PATH, error);
    auto b = LoadModule(BIPED_MODULE_PATH, error);
    EXPECT_EQ(a, b);
}

TEST(ModuleLoading, MissingFileIsRefusedNamingThePath) {
    std::string error;
    EXPECT_FALSE(LoadModule("/nonexistent/dir/none.so", error));
    EXPECT_NE(error.find("/nonexistent/dir/none.so"), std::string::npos) << error;
}

TEST(ModuleLoading, LibraryWithoutTheExportsIsRefused) {
    std::string error;
    EXPECT_FALSE(LoadModule(NOT_A_MODULE_PATH, error));
    EXPECT_NE(error.find("missing export"), std::string::npos) << error;
    EXPECT_NE(error.find("LibVersion"), std::string::npos) << error;
}

TEST(ModuleLoading, WrongVersionIsRefusedBeforeTheStartRoutine) {
    std::string error;
    EXPECT_FALSE(LoadModule(OLD_MODULE_PATH, error));
    EXPECT_NE(error.find("LibVersion is 1400"), std::string::npos) << error;
}

}  // namespace
}  // namespace qvapp
