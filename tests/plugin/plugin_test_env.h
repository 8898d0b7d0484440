// Shared set-up of the plug-in tests: the module's resources registered under a stand-in
// module handle, which the start routine has stored, as the host would do at load.
#pragma once

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

namespace plugintest {
// The handle the tests' copy of the module code runs under.
HINSTANCE TestModule();
}  // namespace plugintest
