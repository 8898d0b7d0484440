// The Biped module's resource script as the platform reads it, registered once for the
// resource tests under a handle of their own.
#include <gtest/gtest.h>

#include <string>

#include "qvplatform/resources.h"

HINSTANCE BipedResources() {
    static HINSTANCE module = [] {
        HINSTANCE handle = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0xB1BED));
        std::string error;
        if (!qv::res::RegisterModuleFile(handle, BIPED_RESOURCES_DIR "/biped.rc", error)) {
            ADD_FAILURE() << "biped.rc: " << error;
            return HINSTANCE{};
        }
        return handle;
    }();
    return module;
}
