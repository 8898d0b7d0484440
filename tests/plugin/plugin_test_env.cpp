// Registers the test program's embedded resources under a stand-in module handle and runs
// the module's start routine with it before any test.
#include "plugin_test_env.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "qvplatform/resources.h"

extern "C" const unsigned char qv_resource_blob[];
extern "C" const size_t qv_resource_blob_size;

namespace plugintest {

HINSTANCE TestModule() {
    static const std::uintptr_t kStandIn = 0x7e570001;  // any value the platform can key on
    return reinterpret_cast<HINSTANCE>(kStandIn);
}

namespace {
class PluginEnvironment : public testing::Environment {
public:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(qv::res::RegisterModule(TestModule(), qv_resource_blob, qv_resource_blob_size,
                                            error))
            << error;
        ASSERT_EQ(DllMain(TestModule(), DLL_PROCESS_ATTACH, nullptr), TRUE);
    }
    void TearDown() override { qv::res::UnregisterModule(TestModule()); }
};

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new PluginEnvironment);
}  // namespace

}  // namespace plugintest
