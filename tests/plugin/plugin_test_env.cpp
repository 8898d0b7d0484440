// Registers the test program's embedded resources under a stand-in module handle and runs the
// module's start routine with it before any test, as the host does at load.
#include <cstdint>
#include <string>

#include "plugin_support.h"
#include "qvplatform/resources.h"

extern "C" const unsigned char qv_resource_blob[];
extern "C" const size_t qv_resource_blob_size;

namespace pt {

HINSTANCE TestModule() { return reinterpret_cast<HINSTANCE>(std::uintptr_t{0x7e570001}); }

namespace {
class PluginEnvironment : public testing::Environment {
public:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(
            qv::res::RegisterModule(TestModule(), qv_resource_blob, qv_resource_blob_size, error))
            << error;
        ASSERT_EQ(DllMain(TestModule(), DLL_PROCESS_ATTACH, nullptr), TRUE);
    }
    void TearDown() override { qv::res::UnregisterModule(TestModule()); }
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new PluginEnvironment);
}  // namespace

}  // namespace pt
