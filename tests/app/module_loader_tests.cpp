// Loading modules: the Biped module's class objects, and the refusals of libraries that are not
// modules or answer the wrong version.
#include <gtest/gtest.h>

#include "module_loader.h"

namespace qvapp {
namespace {

// The exports' answers are pinned in the module tests; here the loader's own view of them.
TEST(ModuleLoading, BipedOffersOneCreationAndTwoModifyToolsOnceLoaded) {
    std::string error;
    auto module = LoadModule(BIPED_MODULE_PATH, error);
    ASSERT_TRUE(module) << error;
    EXPECT_EQ(LoadModule(BIPED_MODULE_PATH, error), module);  // loading twice: the same module
    ASSERT_EQ(module->classes.size(), 3u);
    EXPECT_EQ(module->classes[0].libType, QV_LIBTYPE_CREATE);
    EXPECT_EQ(module->classes[2].libType, QV_LIBTYPE_MODIFY);
    for (const ModuleClass& c : module->classes)  // the start routine ran with the handle
        EXPECT_EQ(static_cast<void*>(c.object->hInstance), module->handle);
}

TEST(ModuleLoading, MissingFilesLibrariesWithoutExportsAndOldVersionsAreRefused) {
    const std::pair<const char*, std::vector<std::string>> refused[] = {
        {"/nonexistent/dir/none.so", {"/nonexistent/dir/none.so"}},
        {NOT_A_MODULE_PATH, {"missing export", "LibVersion"}},
        {OLD_MODULE_PATH, {"LibVersion is 1400"}},  // before its start routine runs
    };
    for (const auto& [path, parts] : refused) {
        std::string error;
        EXPECT_FALSE(LoadModule(path, error)) << path;
        for (const std::string& part : parts)
            EXPECT_NE(error.find(part), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace qvapp
